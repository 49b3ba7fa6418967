// Files and folders: every file-system call of the library goes through here, so that the rest
// of the code reads as logic and failures arrive as Win32 codes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vfs {

struct FileInfo {
  bool exists = false;
  bool isDirectory = false;
  // The file may not be written: no write bit for anyone, or this user may not write it.
  bool readOnly = false;
  // A plain file (not a folder, device, pipe or socket), and its length in bytes.
  bool isRegular = false;
  uint64_t size = 0;
  mode_t mode = 0;
};

FileInfo Stat(const std::string& path);
// The same, with the reason when the path cannot be examined (2 or 3 when it is missing).
FileInfo Stat(const std::string& path, uint32_t& error);
bool IsDirectory(const std::string& path);
bool IsRegularFileOrOther(const std::string& path);  // exists and is not a folder
// What `path` itself is, a symbolic link told from what it leads to: one call for anything but
// a link.
enum class EntryKind { Missing, Folder, LinkToFolder, Other };
EntryKind KindOf(const std::string& path);

// Joins two path parts with exactly one "/" between them.
std::string JoinPath(std::string_view folder, std::string_view name);
std::string ParentFolder(std::string_view path);
std::string BaseName(std::string_view path);

// A sub-key name must be exactly one path component: not empty, not "." or "..", and free of
// "/" and NUL, so that nothing outside the configuration folder can be reached through it.
bool IsSafeComponent(std::u16string_view name);

// An open file descriptor, closed on destruction.
class File {
 public:
  File() = default;
  explicit File(int fd) : fd_(fd) {}
  File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Close(); }

  static File OpenForReading(const std::string& path, uint32_t& error);
  static File OpenForWriting(const std::string& path, uint32_t& error);  // existing files only
  // Opens for appending, creating the file when missing; `created` tells which happened.
  static File OpenForAppending(const std::string& path, bool& created, uint32_t& error);
  // Creates a new file open for appending; fails with kAlreadyExists when the file exists.
  static File CreateNew(const std::string& path, uint32_t& error);
  // Opens a file for appending, creating it when missing.
  static File OpenAppend(const std::string& path, uint32_t& error);

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  void Close();

  // Byte-range locks on bytes 0 to 3 shared between processes; both wait for the lock.
  bool LockShared(uint32_t& error);
  bool LockExclusive(uint32_t& error);
  bool Unlock(uint32_t& error);

  bool ReadAll(std::string& out, uint32_t& error);
  bool WriteAll(std::string_view bytes, uint32_t& error);

 private:
  int fd_ = -1;
};

struct ReplaceOptions {
  // Create the folder of the file (with its missing parents) when it does not exist.
  bool createFolders = true;
  // Mode for a file that did not exist yet (before the umask); an existing file keeps its own.
  mode_t newFileMode = 0666;
  mode_t newFolderMode = 0777;
};

// Replaces the contents of `path` so that a crash, a full disk or a kill at any instant leaves
// either the old file or the new one complete: the bytes go to a temporary file in the same folder,
// which is flushed and renamed over the old file while the old file is held under the exclusive
// lock. A read-only file is never replaced (access denied).
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const ReplaceOptions& options, uint32_t& error);

// Changes a file: `update` gets the current bytes (`existed` false and no bytes when there is no
// file yet) and fills the replacement, which is written as ReplaceFileContents does. Writers
// using this function are serialised by a lock on the file's folder, and the file's own exclusive
// lock is held from the read to the rename, so another writer's change can never be lost between
// the read and the write. When `update` returns false nothing is written and its error is
// returned. The folder is created when missing and `options.createFolders` allows it.
using UpdateFunction = std::function<bool(std::string_view current, bool existed,
                                          std::string& replacement, uint32_t& error)>;
bool UpdateFileContents(const std::string& path, const UpdateFunction& update,
                        const ReplaceOptions& options, uint32_t& error);

// Renames a file within one file system, replacing a file of the new name in a single step, and
// flushes the folder so that the new name survives a crash.
bool RenameFile(const std::string& from, const std::string& to, uint32_t& error);

// `path` as a full path: a relative one is taken from the current folder; "." and ".." and
// repeated slashes are folded by name, as a shell's "cd" does. False (kFilenameExcedRange or the
// reason the current folder is unknown) when that is not possible.
bool FullPath(std::string_view path, std::string& out, uint32_t& error);

// Flushes a folder's entries to disk, so that a rename or removal in it survives a crash.
bool SyncFolder(const std::string& folder);
// True when `path` is a folder in which this user may create and remove entries; a folder
// without any write bit counts as read-only even for root.
bool MayWriteFolder(const std::string& path);

// True when this user may read the file, or list and enter the folder, at `path`.
bool MayRead(const std::string& path);

// Creates a folder and its missing parents; succeeds when it exists as a folder already.
bool CreateFolderTree(const std::string& path, mode_t mode, uint32_t& error);
// True when RemoveTree would remove `path` whole: every folder in it may be written and no file
// in it is read-only. Checking first lets a caller refuse before anything is gone. Symbolic links
// are not followed. A path that does not exist is removable.
bool TreeIsRemovable(const std::string& path, uint32_t& error);
// Sets the permission bits of a file or folder.
bool SetMode(const std::string& path, mode_t mode, uint32_t& error);
// Removes a file; a file that does not exist counts as removed.
bool RemoveFile(const std::string& path, uint32_t& error);
// Removes a folder with everything in it; a folder that does not exist counts as removed.
bool RemoveTree(const std::string& path, uint32_t& error);

struct FolderEntry {
  std::string name;
  bool isDirectory = false;  // a folder, or a link that leads to one
  bool isLink = false;       // a symbolic link, whatever it leads to
};
// Lists a folder without "." and ".."; false when it cannot be listed.
bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, uint32_t& error);

// The longest file-name component the file system holding `path` accepts (its nearest existing
// ancestor is asked); -1 when it cannot be told.
long MaxNameLength(const std::string& path);

}  // namespace vfs
