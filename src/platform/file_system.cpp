#include "platform/file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/win32_errors.h"

namespace vfs {
namespace {

uint32_t LastError(bool missingPath = false) { return win32::FromErrno(errno, missingPath); }

bool ModeIsReadOnly(const struct stat& st, const std::string& path) {
  // A file without any write bit is read-only even for root, as an administrator respects the
  // read-only attribute on the other platform.
  if ((st.st_mode & 0222) == 0) return true;
  return access(path.c_str(), W_OK) != 0 && errno != ENOENT;
}

bool LockRange(int fd, short type, uint32_t& error) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 4;
  lock.l_pid = 0;
  while (fcntl(fd, F_OFD_SETLKW, &lock) != 0) {
    if (errno == EINTR) continue;
    error = LastError();
    return false;
  }
  return true;
}

std::string TemporaryName(const std::string& path) {
  unsigned char random[6] = {};
  if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    for (auto& b : random) b = static_cast<unsigned char>(::rand());
  }
  static const char kDigits[] = "0123456789abcdef";
  std::string suffix;
  for (unsigned char b : random) {
    suffix.push_back(kDigits[b >> 4]);
    suffix.push_back(kDigits[b & 15]);
  }
  // A leading dot and a suffix other than ".ini" keep the file out of key listings.
  return JoinPath(ParentFolder(path), "." + BaseName(path) + ".tmp-" + suffix);
}

// Moves `temp` to `path` only when `path` does not exist; false with kAlreadyExists when it does.
bool RenameNoReplace(const std::string& temp, const std::string& path, uint32_t& error) {
  if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
    error = LastError();
    return false;
  }
  // File systems without the no-replace rename still refuse a hard link over an existing name.
  if (link(temp.c_str(), path.c_str()) != 0) {
    error = LastError();
    return false;
  }
  unlink(temp.c_str());
  return true;
}

// Writes `bytes` to a new temporary file beside `path` and renames it over `path`. With
// `noReplace` the rename fails (kAlreadyExists) when `path` came into being meanwhile, so that a
// file created by another writer is never overwritten unread.
bool WriteAndRename(const std::string& path, std::string_view bytes, mode_t mode,
                    const struct stat* existing, uint32_t& error, bool noReplace = false) {
  std::string temp = TemporaryName(path);
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existing ? 0600 : mode);
  if (fd < 0) {
    error = LastError(true);
    return false;
  }
  File file(fd);
  bool ok = true;
  if (existing) {
    // Keep the permission bits and, where allowed, the owner of the file being replaced.
    if (fchmod(fd, existing->st_mode & 07777) != 0) ok = false;
    if (ok && (existing->st_uid != geteuid() || existing->st_gid != getegid())) {
      if (fchown(fd, existing->st_uid, existing->st_gid) != 0) { /* not ours to change */ }
    }
    if (!ok) error = LastError();
  }
  if (ok) ok = file.WriteAll(bytes, error);
  if (ok && fsync(fd) != 0) {
    error = LastError();
    ok = false;
  }
  file.Close();
  if (ok) {
    if (noReplace) {
      ok = RenameNoReplace(temp, path, error);
    } else if (rename(temp.c_str(), path.c_str()) != 0) {
      error = LastError();
      ok = false;
    }
  }
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  SyncFolder(ParentFolder(path));
  return true;
}

}  // namespace

bool SyncFolder(const std::string& folder) {
  int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}

bool MayWriteFolder(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  // As for files, a folder without any write bit is read-only even for root.
  if ((st.st_mode & 0222) == 0) return false;
  return access(path.c_str(), W_OK | X_OK) == 0;
}

bool MayRead(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return false;
  return access(path.c_str(), S_ISDIR(st.st_mode) ? R_OK | X_OK : R_OK) == 0;
}

FileInfo Stat(const std::string& path) {
  FileInfo info;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return info;
  info.exists = true;
  info.isDirectory = S_ISDIR(st.st_mode);
  info.mode = st.st_mode;
  info.isRegular = S_ISREG(st.st_mode);
  info.size = static_cast<uint64_t>(st.st_size);
  info.readOnly = !info.isDirectory && ModeIsReadOnly(st, path);
  return info;
}

FileInfo Stat(const std::string& path, uint32_t& error) {
  FileInfo info = Stat(path);
  error = 0;
  if (!info.exists) error = LastError();
  return info;
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFileOrOther(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

EntryKind KindOf(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return EntryKind::Missing;
  if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
  if (S_ISLNK(st.st_mode) && IsDirectory(path)) return EntryKind::LinkToFolder;
  return EntryKind::Other;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  size_t start = 0;
  while (start < name.size() && name[start] == '/') ++start;
  if (!out.empty() && out.back() != '/') out.push_back('/');
  out.append(name.substr(start));
  return out;
}

std::string ParentFolder(std::string_view path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string BaseName(std::string_view path) {
  size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsSafeComponent(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  return name.find_first_of(std::u16string_view(u"/\0", 2)) == std::u16string_view::npos;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

void File::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

File File::OpenForReading(const std::string& path, uint32_t& error) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) error = LastError();
  return File(fd);
}

File File::OpenForWriting(const std::string& path, uint32_t& error) {
  int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) error = LastError();
  return File(fd);
}

File File::OpenForAppending(const std::string& path, bool& created, uint32_t& error) {
  created = false;
  int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    created = true;
    return File(fd);
  }
  if (errno != EEXIST) {
    error = LastError(true);
    return File();
  }
  fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) error = LastError();
  return File(fd);
}

File File::CreateNew(const std::string& path, uint32_t& error) {
  int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) error = LastError(true);
  return File(fd);
}

File File::OpenAppend(const std::string& path, uint32_t& error) {
  int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) error = LastError(true);
  return File(fd);
}

bool File::LockShared(uint32_t& error) { return LockRange(fd_, F_RDLCK, error); }
bool File::LockExclusive(uint32_t& error) { return LockRange(fd_, F_WRLCK, error); }
bool File::Unlock(uint32_t& error) { return LockRange(fd_, F_UNLCK, error); }

bool File::ReadAll(std::string& out, uint32_t& error) {
  // Settings files are small: one read into a buffer of a typical size usually takes the whole
  // file, and the second read sees its end; no size is asked for first. The buffer is not
  // zeroed (a string of that size would be, for every file read) and the bytes are then copied
  // into a string of their exact size.
  size_t capacity = 16384;
  std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(capacity);
  size_t done = 0;
  for (;;) {
    if (done == capacity) {
      std::unique_ptr<char[]> larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
      memcpy(larger.get(), buffer.get(), done);
      buffer = std::move(larger);
      capacity *= 2;
    }
    ssize_t n = read(fd_, buffer.get() + done, capacity - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = LastError();
      out.clear();
      return false;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  out.assign(buffer.get(), done);
  return true;
}

bool File::WriteAll(std::string_view bytes, uint32_t& error) {
  while (!bytes.empty()) {
    ssize_t n = write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      error = LastError();
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const ReplaceOptions& options, uint32_t& error) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
      if (errno != ENOENT && errno != ENOTDIR) {
        error = LastError();
        return false;
      }
      // A new file: nobody can hold a lock on it yet.
      if (WriteAndRename(path, bytes, options.newFileMode, nullptr, error)) return true;
      if (!options.createFolders || (error != win32::kPathNotFound && error != win32::kFileNotFound))
        return false;
      if (!CreateFolderTree(ParentFolder(path), options.newFolderMode, error)) return false;
      return WriteAndRename(path, bytes, options.newFileMode, nullptr, error);
    }
    if (S_ISDIR(st.st_mode)) {
      error = win32::kAccessDenied;
      return false;
    }
    if (ModeIsReadOnly(st, path)) {
      error = win32::kAccessDenied;
      return false;
    }
    File old = File::OpenForWriting(path, error);
    if (!old.IsOpen()) {
      if (error == win32::kFileNotFound) continue;  // replaced or removed meanwhile
      return false;
    }
    if (!old.LockExclusive(error)) return false;
    // Another writer may have renamed its file over the one we locked while we waited.
    struct stat locked {};
    struct stat current {};
    if (fstat(old.Descriptor(), &locked) != 0 || stat(path.c_str(), &current) != 0 ||
        locked.st_ino != current.st_ino || locked.st_dev != current.st_dev) {
      continue;
    }
    bool ok = WriteAndRename(path, bytes, options.newFileMode, &locked, error);
    uint32_t unlockError = 0;
    old.Unlock(unlockError);
    return ok;
  }
  error = win32::kSharingViolation;
  return false;
}

namespace {

// Holds an exclusive lock on a folder for writers that change files in it one after the other.
// The lock is on the folder, not on the file, because each change replaces the file: a writer
// waiting on the old file would find it gone and have to start again, and could do so forever
// while others keep writing.
class FolderWriteLock {
 public:
  bool Acquire(const std::string& folder, uint32_t& error) {
    fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
      error = LastError(true);
      return false;
    }
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      error = LastError();
      return false;
    }
    return true;
  }
  ~FolderWriteLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
  }

 private:
  int fd_ = -1;
};

}  // namespace

bool UpdateFileContents(const std::string& path, const UpdateFunction& update,
                        const ReplaceOptions& options, uint32_t& error) {
  const std::string folder = ParentFolder(path);
  FolderWriteLock folderLock;
  if (!folderLock.Acquire(folder, error)) {
    bool missing = error == win32::kPathNotFound || error == win32::kFileNotFound;
    if (!missing) return false;
    std::string replacement;
    // No folder, so no file: a change that needs an existing file fails here.
    if (!update(std::string_view(), false, replacement, error)) return false;
    if (!options.createFolders) {
      error = win32::kPathNotFound;
      return false;
    }
    if (!CreateFolderTree(folder, options.newFolderMode, error)) return false;
    if (!folderLock.Acquire(folder, error)) return false;
  }
  // Writers that do not take the folder lock can still replace the file under us; they are
  // waited for on the file's own lock and their result is read again.
  for (int attempt = 0; attempt < 64; ++attempt) {
    struct stat st {};
    std::string replacement;
    if (stat(path.c_str(), &st) != 0) {
      if (errno != ENOENT) {
        error = LastError();
        return false;
      }
      if (!update(std::string_view(), false, replacement, error)) return false;
      if (WriteAndRename(path, replacement, options.newFileMode, nullptr, error, true)) return true;
      if (error == win32::kAlreadyExists) continue;  // created by another writer: read it first
      return false;
    }
    if (S_ISDIR(st.st_mode) || ModeIsReadOnly(st, path)) {
      error = win32::kAccessDenied;
      return false;
    }
    File old = File::OpenForWriting(path, error);
    if (!old.IsOpen()) {
      if (error == win32::kFileNotFound) continue;
      return false;
    }
    if (!old.LockExclusive(error)) return false;
    struct stat locked {};
    struct stat current {};
    if (fstat(old.Descriptor(), &locked) != 0 || stat(path.c_str(), &current) != 0 ||
        locked.st_ino != current.st_ino || locked.st_dev != current.st_dev) {
      continue;  // replaced while we waited for the lock: read the new file
    }
    std::string bytes;
    bool ok = old.ReadAll(bytes, error) && update(bytes, true, replacement, error) &&
              WriteAndRename(path, replacement, options.newFileMode, &locked, error);
    uint32_t unlockError = 0;
    old.Unlock(unlockError);
    return ok;
  }
  error = win32::kSharingViolation;
  return false;
}

bool RenameFile(const std::string& from, const std::string& to, uint32_t& error) {
  if (rename(from.c_str(), to.c_str()) != 0) {
    error = LastError();
    return false;
  }
  SyncFolder(ParentFolder(to));
  return true;
}

bool FullPath(std::string_view path, std::string& out, uint32_t& error) {
  std::string whole;
  if (path.empty() || path[0] != '/') {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) {
      error = LastError(true);
      return false;
    }
    whole = buffer;
    whole.push_back('/');
  }
  whole.append(path);
  std::vector<std::string_view> parts;
  std::string_view rest = whole;
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result;
  for (auto part : parts) {
    result.push_back('/');
    result.append(part);
  }
  if (result.empty()) result = "/";
  if (result.size() >= PATH_MAX) {
    error = win32::kFilenameExcedRange;
    return false;
  }
  out = std::move(result);
  return true;
}

bool CreateFolderTree(const std::string& path, mode_t mode, uint32_t& error) {
  if (path.empty() || path == "/" || path == ".") return true;
  if (mkdir(path.c_str(), mode) == 0) return true;
  if (errno == EEXIST) {
    if (IsDirectory(path)) return true;
    error = win32::kAlreadyExists;
    return false;
  }
  if (errno != ENOENT) {
    error = LastError();
    return false;
  }
  if (!CreateFolderTree(ParentFolder(path), mode, error)) return false;
  if (mkdir(path.c_str(), mode) == 0 || (errno == EEXIST && IsDirectory(path))) return true;
  error = LastError();
  return false;
}

bool TreeIsRemovable(const std::string& path, uint32_t& error) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return true;
    error = LastError();
    return false;
  }
  if (S_ISLNK(st.st_mode)) return true;  // the link goes, not what it points to
  if (!S_ISDIR(st.st_mode)) {
    if (ModeIsReadOnly(st, path)) {
      error = win32::kAccessDenied;
      return false;
    }
    return true;
  }
  if (!MayWriteFolder(path)) {
    error = win32::kAccessDenied;
    return false;
  }
  std::vector<FolderEntry> entries;
  if (!ListFolder(path, entries, error)) return false;
  for (const auto& entry : entries) {
    if (!TreeIsRemovable(JoinPath(path, entry.name), error)) return false;
  }
  return true;
}

bool SetMode(const std::string& path, mode_t mode, uint32_t& error) {
  if (chmod(path.c_str(), mode) == 0) return true;
  error = LastError();
  return false;
}

bool RemoveFile(const std::string& path, uint32_t& error) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR) return true;
  error = LastError();
  return false;
}

bool RemoveTree(const std::string& path, uint32_t& error) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return true;
    error = LastError();
    return false;
  }
  if (!S_ISDIR(st.st_mode)) return RemoveFile(path, error);
  std::vector<FolderEntry> entries;
  if (!ListFolder(path, entries, error)) return false;
  bool ok = true;
  for (const auto& entry : entries) {
    // Symbolic links are removed, never followed: deleting a key must not reach outside it.
    ok = RemoveTree(JoinPath(path, entry.name), error) && ok;
  }
  if (!ok) return false;
  if (rmdir(path.c_str()) == 0 || errno == ENOENT) return true;
  error = LastError();
  return false;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries, uint32_t& error) {
  DIR* dir = opendir(path.c_str());
  if (!dir) {
    error = LastError(true);
    return false;
  }
  // Room for a typical folder at once, rather than growing through several copies.
  entries.reserve(entries.size() + 32);
  while (struct dirent* entry = readdir(dir)) {
    std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    FolderEntry item;
    item.name = std::string(name);
    if (entry->d_type == DT_DIR) {
      item.isDirectory = true;
    } else if (entry->d_type == DT_LNK) {
      item.isLink = true;
      item.isDirectory = IsDirectory(JoinPath(path, name));
    } else if (entry->d_type == DT_UNKNOWN) {
      // Some file systems leave the kind out of the listing; it is asked for without following
      // a link, so that a link is still told from what it leads to.
      std::string full = JoinPath(path, name);
      struct stat st {};
      if (lstat(full.c_str(), &st) == 0) {
        item.isLink = S_ISLNK(st.st_mode);
        item.isDirectory = item.isLink ? IsDirectory(full) : S_ISDIR(st.st_mode);
      }
    }
    entries.push_back(std::move(item));
  }
  closedir(dir);
  // Listing order of the file system is arbitrary; a stable order keeps results repeatable.
  // Positions are sorted by the names' first eight bytes read as one number, which orders them
  // as their bytes do, the whole names being compared only where those are equal; each entry is
  // then moved once. Sorting the entries by their names moved and compared them many times
  // over, for every folder listed.
  struct Position {
    uint64_t prefix;
    uint32_t index;
  };
  std::vector<Position> order(entries.size());
  for (uint32_t i = 0; i < order.size(); ++i) {
    const std::string& name = entries[i].name;
    uint64_t prefix = 0;
    for (size_t k = 0; k < 8; ++k)
      prefix = prefix << 8 | (k < name.size() ? static_cast<unsigned char>(name[k]) : 0u);
    order[i] = {prefix, i};
  }
  std::sort(order.begin(), order.end(), [&entries](const Position& a, const Position& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return entries[a.index].name < entries[b.index].name;
  });
  std::vector<FolderEntry> sorted;
  sorted.reserve(entries.size());
  for (const Position& position : order) sorted.push_back(std::move(entries[position.index]));
  entries.swap(sorted);
  return true;
}

long MaxNameLength(const std::string& path) {
  std::string probe = path.empty() ? "." : path;
  for (int depth = 0; depth < 256; ++depth) {
    errno = 0;
    long length = pathconf(probe.c_str(), _PC_NAME_MAX);
    if (length > 0) return length;
    if (errno != ENOENT && errno != ENOTDIR) return -1;
    std::string parent = ParentFolder(probe);
    if (parent == probe) return -1;
    probe = parent;
  }
  return -1;
}

}  // namespace vfs
