#include "environment/ssh_config_files.h"

#include <algorithm>

#include "environment/text_lists.h"
#include "platform/file_system.h"

namespace sshcfg {
namespace {

bool HasWildcard(const std::string& level) { return level.find_first_of("*?") != std::string::npos; }

}  // namespace

std::string DiskFileSource::WithHome(const std::string& path) const {
  if (path == "~") return home_;
  if (path.rfind("~/", 0) == 0) return vfs::JoinPath(home_, path.substr(2));
  return path;
}

std::vector<std::string> DiskFileSource::Expand(const std::string& argument) {
  std::string path = WithHome(argument);
  if (path.empty()) return {};
  if (path[0] != '/') path = vfs::JoinPath(base_, path);
  std::vector<std::string> found{"/"};
  for (const std::string& level : SplitNonEmpty(path, '/')) {
    std::vector<std::string> next;
    for (const std::string& folder : found) {
      if (!HasWildcard(level)) {
        next.push_back(vfs::JoinPath(folder, level));
        continue;
      }
      std::vector<vfs::DirEntry> entries;
      if (!env_->ListFolder(folder, entries).ok()) continue;
      std::vector<std::string> names;
      for (const vfs::DirEntry& entry : entries) {
        if (MatchFileName(level, entry.name)) names.push_back(entry.name);
      }
      std::sort(names.begin(), names.end());
      for (const std::string& name : names) next.push_back(vfs::JoinPath(folder, name));
    }
    found = std::move(next);
  }
  // A pattern that matched nothing includes nothing; a plain name that is missing is reported
  // by the read.
  if (HasWildcard(path)) {
    found.erase(std::remove_if(found.begin(), found.end(),
                               [this](const std::string& p) { return !env_->Stat(p).ok(); }),
                found.end());
  }
  return found;
}

bool DiskFileSource::Read(const std::string& path, std::string& text, std::string& identity,
                          std::string& problem) {
  // The checks are made on the file opened, so that it cannot be swapped between them.
  auto file = vfs::File::OpenForReading(path, env_);
  if (!file.ok()) {
    uint32_t code = file.Code();
    problem = code == win32::kFileNotFound || code == win32::kPathNotFound
                  ? "the file cannot be found"
                  : "the file cannot be opened (not a regular file, or not readable)";
    return false;
  }
  auto st = env_->StatOpen(file->Descriptor());
  if (!st.ok()) {
    problem = "the file cannot be examined";
    return false;
  }
  if ((st->mode & 022) != 0 || (st->uid != env_->UserId() && st->uid != 0)) {
    problem = "another user can change the file (bad owner or permissions)";
    return false;
  }
  VStatus read = file->ReadAll(text, kMaxConfigFileSize);
  if (!read.ok()) {
    problem = read.Code() == win32::kFileTooLarge ? "the file is too large" : "the file cannot be read";
    return false;
  }
  auto real = env_->RealPath(path);
  identity = real.ok() ? *real : path;
  return true;
}

}  // namespace sshcfg
