#include "support/fault_env.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_system.h"

namespace qtest {
namespace {

std::optional<std::string> BytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace

void FaultEnv::FailNth(Op op, int nth, int error) {
  std::lock_guard<std::mutex> guard(mutex_);
  rules_[op].countdown = nth;
  rules_[op].error = error;
}

void FaultEnv::FailAlways(Op op, int error) {
  std::lock_guard<std::mutex> guard(mutex_);
  rules_[op].always = error;
}

int FaultEnv::Calls(Op op) const {
  std::lock_guard<std::mutex> guard(mutex_);
  auto found = rules_.find(op);
  return found == rules_.end() ? 0 : found->second.calls;
}

int FaultEnv::Fault(Op op) {
  std::lock_guard<std::mutex> guard(mutex_);
  Rule& rule = rules_[op];
  ++rule.calls;
  if (rule.always) return rule.always;
  if (rule.countdown > 0 && --rule.countdown == 0) return rule.error;
  return 0;
}

VExpected<int> FaultEnv::CreateNew(const std::string& path, mode_t mode) {
  auto fd = base_->CreateNew(path, mode);
  if (fd) {
    std::lock_guard<std::mutex> guard(mutex_);
    written_.push_back({path, std::nullopt});
    openWritten_[*fd] = written_.size() - 1;
  }
  return fd;
}

void FaultEnv::Close(int fd) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    openWritten_.erase(fd);
  }
  base_->Close(fd);
}

VStatus FaultEnv::Write(int fd, std::string_view bytes) {
  if (int error = Fault(Op::kWrite)) return VStatus::FromErrno(error);
  return base_->Write(fd, bytes);
}

VStatus FaultEnv::Sync(int fd) {
  if (int error = Fault(Op::kSync)) return VStatus::FromErrno(error);
  VStatus status = base_->Sync(fd);
  if (status.ok()) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (auto found = openWritten_.find(fd); found != openWritten_.end()) {
      Written& file = written_[found->second];
      file.synced = BytesOf(file.path).value_or(std::string());
    }
  }
  return status;
}

VStatus FaultEnv::Lock(int fd, vfs::LockKind kind, std::chrono::milliseconds wait) {
  if (int error = Fault(Op::kLock)) return VStatus::FromErrno(error);
  return base_->Lock(fd, kind, wait);
}

VExpected<int> FaultEnv::LockFolder(const std::string& path, std::chrono::milliseconds wait) {
  if (int error = Fault(Op::kLock)) return VStatus::FromErrno(error);
  return base_->LockFolder(path, wait);
}

VStatus FaultEnv::RenameWith(const std::string& from, const std::string& to, bool noReplace) {
  if (int error = Fault(Op::kRename)) return VStatus::FromErrno(error);
  std::optional<std::string> replaced = BytesOf(to);
  VStatus status = noReplace ? base_->RenameNoReplace(from, to) : base_->Rename(from, to);
  if (status.ok()) {
    std::lock_guard<std::mutex> guard(mutex_);
    pending_.push_back({to, std::move(replaced)});
    for (Written& file : written_)
      if (file.path == from) file.path = to;
  }
  return status;
}

VStatus FaultEnv::Rename(const std::string& from, const std::string& to) {
  return RenameWith(from, to, false);
}

VStatus FaultEnv::RenameNoReplace(const std::string& from, const std::string& to) {
  return RenameWith(from, to, true);
}

VStatus FaultEnv::SyncFolder(const std::string& path) {
  if (int error = Fault(Op::kSyncFolder)) return VStatus::FromErrno(error);
  VStatus status = base_->SyncFolder(path);
  if (status.ok()) {
    std::lock_guard<std::mutex> guard(mutex_);
    std::erase_if(pending_, [&](const PendingRename& rename) {
      return vfs::ParentFolder(rename.to) == path;
    });
  }
  return status;
}

void FaultEnv::DropUnsynced() {
  std::lock_guard<std::mutex> guard(mutex_);
  // Newest first, so that a name renamed over twice gets its oldest durable bytes back.
  for (auto rename = pending_.rbegin(); rename != pending_.rend(); ++rename) {
    if (rename->replaced) {
      PutBytes(rename->to, *rename->replaced);
    } else {
      std::error_code ignored;
      std::filesystem::remove(rename->to, ignored);
    }
    for (Written& file : written_)
      if (file.path == rename->to) file.path.clear();  // undone with its rename
  }
  pending_.clear();
  for (const Written& file : written_) {
    if (file.path.empty() || !BytesOf(file.path)) continue;
    if (file.synced) {
      PutBytes(file.path, *file.synced);
    } else {
      std::error_code ignored;
      std::filesystem::remove(file.path, ignored);
    }
  }
  written_.clear();
  openWritten_.clear();
}

}  // namespace qtest
