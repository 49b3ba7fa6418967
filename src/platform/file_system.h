// Files and folders: every file-system call of the library goes through here (and through the
// Env beneath it), so that the rest of the code reads as logic and failures arrive as Win32 codes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"

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

FileInfo Stat(const std::string& path, Env* env = Env::Default());
// The same, with the reason when the path cannot be examined (2 or 3 when it is missing).
VExpected<FileInfo> StatChecked(const std::string& path, Env* env = Env::Default());
bool IsDirectory(const std::string& path, Env* env = Env::Default());
// Exists and is not a folder.
bool IsRegularFileOrOther(const std::string& path, Env* env = Env::Default());

// The largest value file read whole into memory; a larger one is refused (kMsgFileTooLarge)
// rather than exhausting memory on, say, a link to an endless device.
constexpr uint64_t kMaxSettingsFileSize = 256ull << 20;
// What `path` itself is, a symbolic link told from what it leads to: one call for anything but
// a link.
enum class PathKind { Missing, Folder, LinkToFolder, Other };
PathKind KindOfPath(const std::string& path, Env* env = Env::Default());

// Joins two path parts with exactly one "/" between them.
std::string JoinPath(std::string_view folder, std::string_view name);
std::string ParentFolder(std::string_view path);
std::string BaseName(std::string_view path);

// A sub-key name must be exactly one path component: not empty, not "." or "..", and free of
// "/" and NUL, so that nothing outside the configuration folder can be reached through it.
bool IsSafeComponent(std::u16string_view name);

// An open file descriptor of an Env, closed on destruction.
class File {
 public:
  File() = default;
  File(Env* env, int fd) : env_(env), fd_(fd) {}
  File(File&& other) noexcept : env_(other.env_), fd_(other.fd_) { other.fd_ = -1; }
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Close(); }

  // A regular file only: a pipe, device or folder is refused without waiting on it.
  static VExpected<File> OpenForReading(const std::string& path, Env* env = Env::Default());
  // Creates a new file open for appending; fails with kAlreadyExists when the file exists.
  static VExpected<File> CreateNew(const std::string& path, mode_t mode = 0666,
                                   Env* env = Env::Default());
  // Opens a file for appending, creating it (with `mode` before the umask) when missing.
  static VExpected<File> OpenAppend(const std::string& path, mode_t mode = 0666,
                                    Env* env = Env::Default());

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  Env* Environment() const { return env_; }
  void Close();

  // Byte-range locks on bytes 0 to 3 shared between processes; both wait up to `wait`.
  VStatus LockShared(std::chrono::milliseconds wait = std::chrono::seconds(60));
  VStatus LockExclusive(std::chrono::milliseconds wait = std::chrono::seconds(60));
  VStatus Unlock();

  // Reads the whole file; more than `limit` bytes is refused with kFileTooLarge.
  VStatus ReadAll(std::string& out, uint64_t limit = kMaxSettingsFileSize);
  VStatus WriteAll(std::string_view bytes);

 private:
  Env* env_ = nullptr;
  int fd_ = -1;
};

// Which file a reader read: a file replaced or changed since has another inode, size or time.
struct FileVersion {
  bool known = false;
  dev_t device = 0;
  ino_t inode = 0;
  uint64_t size = 0;
  int64_t modifiedNanos = 0;
  int64_t changedNanos = 0;
  static FileVersion Of(const EntryStat& st) {
    return {true, st.device, st.inode, st.size, st.modifiedNanos, st.changedNanos};
  }
  bool Matches(const EntryStat& st) const {
    return known && device == st.device && inode == st.inode && size == st.size &&
           modifiedNanos == st.modifiedNanos && changedNanos == st.changedNanos;
  }
};

struct ReplaceOptions {
  // Create the folder of the file (with its missing parents) when it does not exist.
  bool createFolders = true;
  // Mode for a file that did not exist yet (before the umask); an existing file keeps its own.
  // Settings files may hold secrets, so new ones are the owner's alone.
  mode_t newFileMode = 0600;
  mode_t newFolderMode = 0700;
  // How long a writer waits for another process's lock on the file before giving up
  // (kMsgLockWaitTimedOut naming the file).
  std::chrono::milliseconds lockWait = std::chrono::seconds(60);
  // For an update: the bytes the writer already read, and which file they came from. When the
  // file under the lock is still that one, they are used instead of reading it again.
  const FileVersion* knownVersion = nullptr;
  std::string_view knownBytes;
};

// A new name beside `path` for a temporary file: hidden, and never taken for a key's file.
std::string TemporaryPathBeside(const std::string& path);

// Replaces the contents of `path` so that a crash, a full disk or a kill at any instant leaves
// either the old file or the new one complete: the bytes go to a temporary file in the same folder,
// which is flushed and renamed over the old file while the old file is held under the exclusive
// lock, and the folder is flushed so that the new name survives a crash; a failure of any of
// these steps is returned. A read-only file is never replaced (access denied). The replaced
// file keeps its permission bits and group (see SetOwnershipNoticeHandler when it cannot).
// Temporary files that killed writers left in the folder are removed on the folder's first
// write of the process.
VStatus ReplaceFileContents(const std::string& path, std::string_view bytes,
                            const ReplaceOptions& options = ReplaceOptions(),
                            Env* env = Env::Default());

// Changes a file: `update` gets the current bytes (`existed` false and no bytes when there is no
// file yet) and fills the replacement, which is written as ReplaceFileContents does. Writers
// using this function are serialised by a lock on the file's folder, and the file's own exclusive
// lock is held from the read to the rename, so another writer's change can never be lost between
// the read and the write. When `update` returns false nothing is written and its error is
// returned. The folder is created when missing and `options.createFolders` allows it.
using UpdateFunction =
    std::function<VStatus(std::string_view current, bool existed, std::string& replacement)>;
VStatus UpdateFileContents(const std::string& path, const UpdateFunction& update,
                           const ReplaceOptions& options = ReplaceOptions(),
                           Env* env = Env::Default());

// Called when a replaced file could not keep its group or permission bits (a writer of another
// group that it is not a member of): the save went through, but others who shared the file may
// have lost access to it. `code` is the reason. One handler per process (the host's, which
// warns); none by default.
using OwnershipNoticeHandler = std::function<void(const std::string& path, uint32_t code)>;
void SetOwnershipNoticeHandler(OwnershipNoticeHandler handler);

// Renames a file within one file system, replacing a file of the new name in a single step, and
// flushes the folder so that the new name survives a crash.
VStatus RenameFile(const std::string& from, const std::string& to, Env* env = Env::Default());

// `path` as a full path: a relative one is taken from the current folder; "." and ".." and
// repeated slashes are folded by name, as a shell's "cd" does. kFilenameExcedRange or the
// reason the current folder is unknown when that is not possible.
VExpected<std::string> FullPath(std::string_view path, Env* env = Env::Default());

// Flushes a folder's entries to disk, so that a rename or removal in it survives a crash.
VStatus SyncFolder(const std::string& folder, Env* env = Env::Default());
// True when `path` is a folder in which this user may create and remove entries; a folder
// without any write bit counts as read-only even for root.
bool MayWriteFolder(const std::string& path, Env* env = Env::Default());

// True when this user may read the file, or list and enter the folder, at `path`.
bool MayRead(const std::string& path, Env* env = Env::Default());

// Creates a folder and its missing parents; succeeds when it exists as a folder already. The
// library's folders hold settings and secrets: callers pass 0700 unless a folder is meant to be
// shared. A folder that exists keeps its mode.
VStatus CreateFolderTree(const std::string& path, mode_t mode, Env* env = Env::Default());
// Success when RemoveTree would remove `path` whole: every folder in it may be written and no
// file in it is read-only. Checking first lets a caller refuse before anything is gone. Symbolic
// links are not followed. A path that does not exist is removable.
VStatus TreeIsRemovable(const std::string& path, Env* env = Env::Default());
// Sets the permission bits of a file or folder.
VStatus SetMode(const std::string& path, mode_t mode, Env* env = Env::Default());
// Removes a file; a file that does not exist counts as removed.
VStatus RemoveFile(const std::string& path, Env* env = Env::Default());
// Removes a folder with everything in it; a folder that does not exist counts as removed.
VStatus RemoveTree(const std::string& path, Env* env = Env::Default());

struct FolderEntry {
  std::string name;
  // A symbolic link is a link (`kind`), whatever it points to: walking into linked folders could
  // reach outside the configuration or loop. `isDirectory` tells a folder, or a link that leads
  // to one, so that callers which must pass over linked folders can tell them.
  bool isDirectory = false;
  bool isLink = false;
  EntryKind kind = EntryKind::kOther;
};
// Lists a folder without "." and "..", sorted by name, with the kinds the listing told.
VStatus ListFolder(const std::string& path, std::vector<FolderEntry>& entries,
                   Env* env = Env::Default());

// The longest file-name component the file system holding `path` accepts (its nearest existing
// ancestor is asked); -1 when it cannot be told.
long MaxNameLength(const std::string& path);

}  // namespace vfs
