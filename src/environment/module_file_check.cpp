#include "environment/module_file_check.h"

#include <sys/stat.h>

#include "report/report_message_params.h"

namespace {

constexpr mode_t kWritableByOthers = S_IWGRP | S_IWOTH;

ModuleFileProblem Problem(uint32_t id, const std::string& path) { return {id, path}; }

std::string ParentOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

ModuleFileProblem CheckModuleFile(vfs::Env* env, const std::string& path, std::string& realPath) {
  realPath.clear();
  // A bare name would be searched for along the library path: only a full path names one file.
  if (path.empty() || path[0] != '/') return Problem(kMsgModuleNotAbsolute, path);
  VExpected<std::string> real = env->RealPath(path);
  if (!real) return Problem(kMsgModuleNotRegularFile, path);
  const uid_t self = env->UserId();
  VExpected<vfs::EntryStat> file = env->LinkStat(*real);
  if (!file || file->kind != vfs::EntryKind::kFile) return Problem(kMsgModuleNotRegularFile, *real);
  if (file->uid != self && file->uid != 0) return Problem(kMsgModuleForeignOwner, *real);
  if (file->mode & kWritableByOthers) return Problem(kMsgModuleWritableByOthers, *real);
  bool ownFolder = true;
  std::string folder = *real;
  do {
    folder = ParentOf(folder);
    VExpected<vfs::EntryStat> stat = env->LinkStat(folder);
    if (!stat || stat->kind != vfs::EntryKind::kFolder) return Problem(kMsgModuleNotRegularFile, folder);
    if (stat->uid != self && stat->uid != 0) return Problem(kMsgModuleForeignOwner, folder);
    bool stickyRootFolder = !ownFolder && stat->uid == 0 && (stat->mode & S_ISVTX);
    if ((stat->mode & kWritableByOthers) && !stickyRootFolder)
      return Problem(kMsgModuleWritableByOthers, folder);
    ownFolder = false;
  } while (folder != "/");
  realPath = *real;
  return {};
}

VUnicodeString DescribeModuleFileProblem(const ModuleFileProblem& problem) {
  VStringArray inserts;
  inserts.Add(VUnicodeString::FromUtf8(problem.path));
  VUnicodeString text = VFormatCatalogueMessage(problem.messageId, inserts, true);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'.')) text.pop_back();
  return text;
}
