// What the library asks of the operating system, as one object. Everything above the platform
// layer reaches files, folders, locks, shared memory, modules and terminals through an Env, so
// that a test can put another one in its place (one that fails the n-th sync, say) and see what
// the code does with the failure. Env::Default() is the one for the machine.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace vfs {

// What a folder entry or path is. A symbolic link is told as a link, never as what it points to.
enum class EntryKind : uint8_t { kFile, kFolder, kLink, kOther };

struct EntryStat {
  EntryKind kind = EntryKind::kOther;
  mode_t mode = 0;  // permission and type bits
  uid_t uid = 0;
  gid_t gid = 0;
  dev_t device = 0;
  ino_t inode = 0;
  uint64_t size = 0;
  int64_t modifiedSeconds = 0;  // since the epoch
  // Both to the nanosecond, as the file system keeps them: with the device, inode and size they
  // tell whether a file is still the one that was read.
  int64_t modifiedNanos = 0;
  int64_t changedNanos = 0;
};

// What a program run to its end left: how it ended and what it wrote.
struct ProcessResult {
  bool exited = false;  // ended by exit; false: killed by a signal (or by the time limit)
  int exitStatus = -1;  // its exit status when `exited`
  bool timedOut = false;
  std::string output;  // standard output and standard error together, as far as kept
};

struct DirEntry {
  std::string name;
  EntryKind kind = EntryKind::kOther;
};

enum class LockKind : uint8_t { kShared, kExclusive };

class Env {
 public:
  virtual ~Env() = default;
  // The environment of the machine; lives as long as the process.
  static Env* Default();

  // ---- open files (descriptors are closed with Close) ----
  // Opens a regular file for reading. Anything else (a pipe, a device, a folder) is refused
  // without blocking: a pipe in a settings folder must not hang a reader for ever, nor a link to
  // a device feed it without end.
  // With `followLinks` false a symbolic link is refused (kCantResolveFilename), for files that
  // must be the user's own and not whatever a link points at.
  virtual VExpected<int> OpenForReading(const std::string& path, bool followLinks) = 0;
  VExpected<int> OpenForReading(const std::string& path) { return OpenForReading(path, true); }
  // Opens an existing file for reading and writing (for its lock; nothing is written through it).
  virtual VExpected<int> OpenExisting(const std::string& path) = 0;
  // Creates a file that must not exist yet, open for writing, with `mode` before the umask.
  virtual VExpected<int> CreateNew(const std::string& path, mode_t mode) = 0;
  // Opens a file for appending; with `create` it is made (with `mode`) when missing.
  virtual VExpected<int> OpenForAppending(const std::string& path, bool create, mode_t mode) = 0;
  virtual void Close(int fd) = 0;
  // Reads to the end; more than `limit` bytes is refused with kFileTooLarge (the file stays
  // unread) so that a huge file cannot exhaust memory.
  virtual VStatus ReadAll(int fd, std::string& out, uint64_t limit) = 0;
  virtual VStatus Write(int fd, std::string_view bytes) = 0;
  virtual VStatus Sync(int fd) = 0;
  virtual VExpected<EntryStat> StatOpen(int fd) = 0;
  virtual VStatus ChangeMode(int fd, mode_t mode) = 0;
  // Changes owner and/or group; (uid_t)-1 or (gid_t)-1 leaves that one as it is.
  virtual VStatus ChangeOwner(int fd, uid_t uid, gid_t gid) = 0;
  // Byte-range lock on bytes 0 to 3, held by the open file (not the process). Waits up to `wait`
  // for a lock held elsewhere; kLockViolation when it was not had in that time.
  virtual VStatus Lock(int fd, LockKind kind, std::chrono::milliseconds wait) = 0;
  virtual VStatus Unlock(int fd) = 0;
  // Takes the exclusive lock of a folder, for writers that change files in it one after the
  // other; the descriptor returned holds it until closed. Waits up to `wait` (kLockViolation).
  virtual VExpected<int> LockFolder(const std::string& path, std::chrono::milliseconds wait) = 0;

  // ---- paths ----
  virtual VExpected<EntryStat> Stat(const std::string& path) = 0;   // follows links
  virtual VExpected<EntryStat> LinkStat(const std::string& path) = 0;  // does not
  // True when this user may access `path` as asked (R_OK, W_OK, X_OK).
  virtual bool Access(const std::string& path, int how) = 0;
  // The entries of a folder, without "." and "..", in the order the file system gives, each
  // with the kind the listing told (a stat only where the file system does not tell).
  virtual VStatus ListFolder(const std::string& path, std::vector<DirEntry>& entries) = 0;
  virtual VStatus Rename(const std::string& from, const std::string& to) = 0;
  // Renames only when `to` does not exist (kAlreadyExists when it does).
  virtual VStatus RenameNoReplace(const std::string& from, const std::string& to) = 0;
  virtual VStatus RemoveFile(const std::string& path) = 0;
  virtual VStatus CreateFolder(const std::string& path, mode_t mode) = 0;
  virtual VStatus RemoveFolder(const std::string& path) = 0;
  // Flushes a folder's entries, so that a rename or removal in it survives a crash.
  virtual VStatus SyncFolder(const std::string& path) = 0;
  virtual VStatus ChangeMode(const std::string& path, mode_t mode) = 0;
  virtual VExpected<std::string> CurrentFolder() = 0;
  // The path with every symbolic link, "." and ".." resolved; the path must exist.
  virtual VExpected<std::string> RealPath(const std::string& path) = 0;
  virtual int64_t NowSeconds() = 0;
  // The user id this process acts as.
  virtual uid_t UserId() = 0;

  // ---- shared memory (names without the leading slash) ----
  virtual VExpected<int> OpenSharedMemory(const std::string& name, bool create) = 0;
  virtual VStatus RemoveSharedMemory(const std::string& name) = 0;

  // ---- modules (an empty path is the program itself) ----
  virtual void* OpenModule(const std::string& path) = 0;
  virtual void* FindSymbol(void* module, const char* name) = 0;

  // ---- processes ----
  // Starts the program at `path` (a full path, never searched for) with `args` as its argument
  // vector, args[0] included, without a shell between: no argument is ever read as a command.
  // Returns once the program runs, without waiting for it; a child that ends is collected, so
  // none is left behind. Fails, with the reason, when the program could not be started.
  virtual VStatus StartProcess(const std::string& path, const std::vector<std::string>& args) = 0;

  // ---- terminals ----
  virtual bool IsTerminal(int fd) = 0;

  // ---- processes ----
  // Runs `argv[0]` (found on PATH when it holds no slash) with the arguments `argv`, never
  // through a shell, with standard input empty, and waits for it up to `timeout`, after which
  // it is killed. Its output is kept up to `outputLimit` bytes. kFileNotFound when there is no
  // such program.
  virtual VExpected<ProcessResult> RunProcess(const std::vector<std::string>& argv,
                                              std::chrono::milliseconds timeout,
                                              size_t outputLimit = 64 * 1024);
};

// Descriptor owned through an Env, closed on destruction.
class EnvFile {
 public:
  EnvFile(Env* env, int fd) : env_(env), fd_(fd) {}
  EnvFile(EnvFile&& other) noexcept : env_(other.env_), fd_(other.fd_) { other.fd_ = -1; }
  EnvFile(const EnvFile&) = delete;
  EnvFile& operator=(const EnvFile&) = delete;
  EnvFile& operator=(EnvFile&&) = delete;
  ~EnvFile() { Close(); }
  int Descriptor() const { return fd_; }
  // Hands the descriptor over to the caller, who closes it.
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Close() {
    if (fd_ >= 0) env_->Close(fd_);
    fd_ = -1;
  }

 private:
  Env* env_;
  int fd_;
};

}  // namespace vfs
