// An environment for tests that fails chosen operating-system calls and can simulate a crash, so
// that what the library does with a failing sync or rename can be seen without tricks.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/win32_errors.h"

namespace qtest {

class FaultEnv : public vfs::Env {
 public:
  enum class Op { kWrite, kSync, kRename, kSyncFolder, kLock, kRead, kStartProcess };

  explicit FaultEnv(vfs::Env* base = vfs::Env::Default()) : base_(base) {}

  // The `nth` call of `op` from now on (1: the next one) fails with `error` (an errno value).
  void FailNth(Op op, int nth, int error);
  // Every call of `op` fails with `error` until cleared with 0.
  void FailAlways(Op op, int error);
  // How many calls of `op` were made.
  int Calls(Op op) const;

  // Simulates a crash: bytes written to files made through this env but not synced are lost
  // (such a file is gone, or back to what was last synced), and renames not followed by a sync
  // of their folder are undone (the replaced file comes back).
  void DropUnsynced();

  VExpected<int> OpenForReading(const std::string& path, bool followLinks) override {
    return base_->OpenForReading(path, followLinks);
  }
  VExpected<int> OpenExisting(const std::string& path) override { return base_->OpenExisting(path); }
  VExpected<int> CreateNew(const std::string& path, mode_t mode) override;
  VExpected<int> OpenForAppending(const std::string& path, bool create, mode_t mode) override {
    return base_->OpenForAppending(path, create, mode);
  }
  void Close(int fd) override;
  VStatus ReadAll(int fd, std::string& out, uint64_t limit) override {
    if (int error = Fault(Op::kRead)) return VStatus::Error(win32::FromErrno(error));
    return base_->ReadAll(fd, out, limit);
  }
  VStatus Write(int fd, std::string_view bytes) override;
  VStatus Sync(int fd) override;
  VExpected<vfs::EntryStat> StatOpen(int fd) override { return base_->StatOpen(fd); }
  VStatus ChangeMode(int fd, mode_t mode) override { return base_->ChangeMode(fd, mode); }
  VStatus ChangeOwner(int fd, uid_t uid, gid_t gid) override {
    return base_->ChangeOwner(fd, uid, gid);
  }
  VStatus Lock(int fd, vfs::LockKind kind, std::chrono::milliseconds wait) override;
  VStatus Unlock(int fd) override { return base_->Unlock(fd); }
  VExpected<int> LockFolder(const std::string& path, std::chrono::milliseconds wait) override;
  VExpected<vfs::EntryStat> Stat(const std::string& path) override { return base_->Stat(path); }
  VExpected<vfs::EntryStat> LinkStat(const std::string& path) override {
    return base_->LinkStat(path);
  }
  bool Access(const std::string& path, int how) override { return base_->Access(path, how); }
  VStatus ListFolder(const std::string& path, std::vector<vfs::DirEntry>& entries) override {
    return base_->ListFolder(path, entries);
  }
  VStatus Rename(const std::string& from, const std::string& to) override;
  VStatus RenameNoReplace(const std::string& from, const std::string& to) override;
  VStatus RemoveFile(const std::string& path) override { return base_->RemoveFile(path); }
  VStatus CreateFolder(const std::string& path, mode_t mode) override {
    return base_->CreateFolder(path, mode);
  }
  VStatus RemoveFolder(const std::string& path) override { return base_->RemoveFolder(path); }
  VStatus SyncFolder(const std::string& path) override;
  VStatus ChangeMode(const std::string& path, mode_t mode) override {
    return base_->ChangeMode(path, mode);
  }
  VExpected<std::string> CurrentFolder() override { return base_->CurrentFolder(); }
  VExpected<std::string> RealPath(const std::string& path) override { return base_->RealPath(path); }
  int64_t NowSeconds() override { return base_->NowSeconds(); }
  uid_t UserId() override { return base_->UserId(); }
  VExpected<int> OpenSharedMemory(const std::string& name, bool create) override {
    return base_->OpenSharedMemory(name, create);
  }
  VStatus RemoveSharedMemory(const std::string& name) override {
    return base_->RemoveSharedMemory(name);
  }
  void* OpenModule(const std::string& path) override { return base_->OpenModule(path); }
  void* FindSymbol(void* module, const char* name) override {
    return base_->FindSymbol(module, name);
  }
  VStatus StartProcess(const std::string& path, const std::vector<std::string>& args) override {
    if (int error = Fault(Op::kStartProcess)) return VStatus::Error(win32::FromErrno(error));
    return base_->StartProcess(path, args);
  }
  bool IsTerminal(int fd) override { return base_->IsTerminal(fd); }

 private:
  struct Rule {
    int countdown = 0;  // fails when it reaches 0 from 1; 0: no single failure armed
    int error = 0;
    int always = 0;
    int calls = 0;
  };
  // A file made through this env, as a crash would leave it.
  struct Written {
    std::string path;
    std::optional<std::string> synced;  // nothing: never synced
  };
  struct PendingRename {
    std::string to;
    std::optional<std::string> replaced;  // the bytes the rename replaced, if any
  };

  // Counts the call; an errno value when it is to fail.
  int Fault(Op op);
  VStatus RenameWith(const std::string& from, const std::string& to, bool noReplace);

  vfs::Env* base_;
  mutable std::mutex mutex_;
  std::map<Op, Rule> rules_;
  std::map<int, size_t> openWritten_;  // descriptor -> index in written_
  std::vector<Written> written_;
  std::vector<PendingRename> pending_;
};

}  // namespace qtest
