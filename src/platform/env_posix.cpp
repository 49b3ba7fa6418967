// The environment of a POSIX machine.
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <spawn.h>
#include <sys/wait.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>

#include "platform/env.h"

namespace vfs {
namespace {

VStatus LastError(bool missingPath = false) { return VStatus::FromErrno(errno, missingPath); }

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISLNK(mode)) return EntryKind::kLink;
  return EntryKind::kOther;
}

EntryStat FromStat(const struct stat& st) {
  EntryStat out;
  out.kind = KindOfMode(st.st_mode);
  out.mode = st.st_mode;
  out.uid = st.st_uid;
  out.gid = st.st_gid;
  out.device = st.st_dev;
  out.inode = st.st_ino;
  out.size = static_cast<uint64_t>(st.st_size);
  out.modifiedSeconds = st.st_mtim.tv_sec;
  out.modifiedNanos = st.st_mtim.tv_sec * int64_t{1000000000} + st.st_mtim.tv_nsec;
  out.changedNanos = st.st_ctim.tv_sec * int64_t{1000000000} + st.st_ctim.tv_nsec;
  return out;
}

bool TryLock(int fd, short type, bool wait) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 4;
  for (;;) {
    if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0) return true;
    if (errno != EINTR) return false;
  }
}

class PosixEnv final : public Env {
 public:
  VExpected<int> OpenForReading(const std::string& path, bool followLinks) override {
    // O_NONBLOCK keeps the open itself from waiting for a writer on a pipe; the descriptor is
    // then checked to be a regular file and made blocking again for the read.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW));
    if (fd < 0) return LastError();
    struct stat st {};
    if (fstat(fd, &st) != 0) {
      VStatus error = LastError();
      close(fd);
      return error;
    }
    if (!S_ISREG(st.st_mode)) {
      close(fd);
      return VStatus::Error(S_ISDIR(st.st_mode) ? win32::kAccessDenied : win32::kBadFileType);
    }
    // Opened with no other status flag, so clearing them all clears O_NONBLOCK in one call.
    if (fcntl(fd, F_SETFL, 0) != 0) {
      VStatus error = LastError();
      close(fd);
      return error;
    }
    return fd;
  }

  VExpected<int> OpenExisting(const std::string& path) override {
    int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return LastError();
    return fd;
  }

  VExpected<int> CreateNew(const std::string& path, mode_t mode) override {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) return LastError(true);
    return fd;
  }

  VExpected<int> OpenForAppending(const std::string& path, bool create, mode_t mode) override {
    int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | (create ? O_CREAT : 0), mode);
    if (fd < 0) return LastError(true);
    return fd;
  }

  void Close(int fd) override { close(fd); }

  VStatus ReadAll(int fd, std::string& out, uint64_t limit) override {
    // Settings files are small: one read into a buffer of a typical size usually takes the whole
    // file, and the second read sees its end; no size is asked for first. The buffer is not
    // zeroed (a string of that size would be, for every file read) and the bytes are then copied
    // into a string of their exact size. A file that fills the buffer is read on into a string
    // of the size the file gives, with a byte to spare (for a terminator, or to see the end).
    // Nothing grows past one byte more than the limit: that byte tells a file that is too large
    // without holding more of it.
    const size_t ceiling = limit >= SIZE_MAX - 1 ? SIZE_MAX : static_cast<size_t>(limit) + 1;
    size_t done = 0;
    bool ended = false;
    // Reads on from `done` until `size` bytes are there or the file ends.
    auto fill = [&](char* data, size_t size) {
      while (done < size) {
        ssize_t n = read(fd, data + done, size - done);
        if (n < 0) {
          if (errno == EINTR) continue;
          return LastError();
        }
        if (n == 0) {
          ended = true;
          break;
        }
        done += static_cast<size_t>(n);
      }
      return VStatus();
    };
    auto fail = [&](VStatus status) {
      out.clear();
      return status;
    };
    const size_t first = std::min<size_t>(16384, ceiling);
    std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(first);
    if (VStatus read = fill(buffer.get(), first); !read.ok()) return fail(read);
    if (done < first) {
      out.assign(buffer.get(), done);
      return VStatus();
    }
    size_t size = first * 2;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) >= size)
      size = static_cast<size_t>(info.st_size) + 1;
    out.clear();
    out.resize(std::min(size, ceiling));
    memcpy(out.data(), buffer.get(), done);
    buffer.reset();
    while (!ended && done <= limit) {
      if (done == out.size()) out.resize(out.size() > ceiling / 2 ? ceiling : out.size() * 2);
      if (VStatus read = fill(out.data(), out.size()); !read.ok()) return fail(read);
    }
    if (done > limit) return fail(VStatus::Error(win32::kFileTooLarge));
    out.resize(done);  // keeps its capacity: a caller may add a terminator without a copy
    return VStatus();
  }

  VStatus Write(int fd, std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t n = write(fd, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return LastError();
      }
      bytes.remove_prefix(static_cast<size_t>(n));
    }
    return VStatus();
  }

  VStatus Sync(int fd) override { return fsync(fd) == 0 ? VStatus() : LastError(); }

  VExpected<EntryStat> StatOpen(int fd) override {
    struct stat st {};
    if (fstat(fd, &st) != 0) return LastError();
    return FromStat(st);
  }

  VStatus ChangeMode(int fd, mode_t mode) override {
    return fchmod(fd, mode) == 0 ? VStatus() : LastError();
  }

  VStatus ChangeOwner(int fd, uid_t uid, gid_t gid) override {
    return fchown(fd, uid, gid) == 0 ? VStatus() : LastError();
  }

  VStatus Lock(int fd, LockKind kind, std::chrono::milliseconds wait) override {
    const short type = kind == LockKind::kShared ? F_RDLCK : F_WRLCK;
    if (TryLock(fd, type, false)) return VStatus();
    if (errno != EAGAIN && errno != EACCES) return LastError();
    // The lock is held elsewhere. Tried again at growing intervals up to the time limit: a
    // waiting lock cannot be given one, and settings writers hold theirs for milliseconds.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::microseconds(200);
    while (std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(pause);
      if (TryLock(fd, type, false)) return VStatus();
      if (errno != EAGAIN && errno != EACCES) return LastError();
      pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
    }
    return VStatus::Error(win32::kLockViolation);
  }

  VStatus Unlock(int fd) override {
    return TryLock(fd, F_UNLCK, false) ? VStatus() : LastError();
  }

  VExpected<int> LockFolder(const std::string& path, std::chrono::milliseconds wait) override {
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return LastError(true);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::microseconds(200);
    for (;;) {
      if (flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
        VStatus error = errno == EWOULDBLOCK ? VStatus::Error(win32::kLockViolation) : LastError();
        close(fd);
        return error;
      }
      std::this_thread::sleep_for(pause);
      pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
    }
  }

  VExpected<EntryStat> Stat(const std::string& path) override {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return LastError();
    return FromStat(st);
  }

  VExpected<EntryStat> LinkStat(const std::string& path) override {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return LastError();
    return FromStat(st);
  }

  bool Access(const std::string& path, int how) override { return access(path.c_str(), how) == 0; }

  VStatus ListFolder(const std::string& path, std::vector<DirEntry>& entries) override {
    DIR* dir = opendir(path.c_str());
    if (!dir) return LastError(true);
    // Room for a typical folder at once, rather than growing through several copies.
    entries.reserve(entries.size() + 32);
    while (struct dirent* entry = readdir(dir)) {
      std::string_view name(entry->d_name);
      if (name == "." || name == "..") continue;
      DirEntry item;
      item.name = std::string(name);
      switch (entry->d_type) {
        case DT_REG: item.kind = EntryKind::kFile; break;
        case DT_DIR: item.kind = EntryKind::kFolder; break;
        case DT_LNK: item.kind = EntryKind::kLink; break;
        case DT_UNKNOWN: {
          // Only file systems that do not tell the kind in the listing cost a call per entry.
          struct stat st {};
          if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            item.kind = KindOfMode(st.st_mode);
          break;
        }
        default: item.kind = EntryKind::kOther; break;
      }
      entries.push_back(std::move(item));
    }
    closedir(dir);
    return VStatus();
  }

  VStatus Rename(const std::string& from, const std::string& to) override {
    return rename(from.c_str(), to.c_str()) == 0 ? VStatus() : LastError();
  }

  VStatus RenameNoReplace(const std::string& from, const std::string& to) override {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
      return VStatus();
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return LastError();
    // File systems without the no-replace rename still refuse a hard link over an existing name.
    if (link(from.c_str(), to.c_str()) != 0) return LastError();
    unlink(from.c_str());
    return VStatus();
  }

  VStatus RemoveFile(const std::string& path) override {
    return unlink(path.c_str()) == 0 ? VStatus() : LastError();
  }

  VStatus CreateFolder(const std::string& path, mode_t mode) override {
    return mkdir(path.c_str(), mode) == 0 ? VStatus() : LastError(true);
  }

  VStatus RemoveFolder(const std::string& path) override {
    return rmdir(path.c_str()) == 0 ? VStatus() : LastError();
  }

  VStatus SyncFolder(const std::string& path) override {
    int fd = open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return LastError(true);
    VStatus status = fsync(fd) == 0 ? VStatus() : LastError();
    close(fd);
    return status;
  }

  VStatus ChangeMode(const std::string& path, mode_t mode) override {
    return chmod(path.c_str(), mode) == 0 ? VStatus() : LastError();
  }

  VExpected<std::string> CurrentFolder() override {
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return LastError(true);
    return std::string(buffer);
  }

  VExpected<std::string> RealPath(const std::string& path) override {
    std::unique_ptr<char, decltype(&free)> real(realpath(path.c_str(), nullptr), &free);
    if (!real) return LastError(true);
    return std::string(real.get());
  }

  int64_t NowSeconds() override { return static_cast<int64_t>(time(nullptr)); }

  uid_t UserId() override { return geteuid(); }

  VExpected<int> OpenSharedMemory(const std::string& name, bool create) override {
    std::string path = "/" + name;
    int fd = create ? shm_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600)
                    : shm_open(path.c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0) return LastError();
    return fd;
  }

  VStatus RemoveSharedMemory(const std::string& name) override {
    return shm_unlink(("/" + name).c_str()) == 0 ? VStatus() : LastError();
  }

  void* OpenModule(const std::string& path) override {
    return dlopen(path.empty() ? nullptr : path.c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  void* FindSymbol(void* module, const char* name) override { return dlsym(module, name); }

  VStatus StartProcess(const std::string& path, const std::vector<std::string>& args) override {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    // posix_spawn reports a program that cannot be executed (missing, not executable) as its
    // own failure, so that a launch that did not happen is never taken for one that did.
    int error = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) return VStatus::FromErrno(error, true);
    std::thread([pid] {
      int status = 0;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
    return VStatus();
  }

  bool IsTerminal(int fd) override { return isatty(fd) == 1; }
};

}  // namespace

Env* Env::Default() {
  static PosixEnv* env = new PosixEnv();  // never destroyed: used until the process ends
  return env;
}

}  // namespace vfs
