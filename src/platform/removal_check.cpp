#include "platform/removal_check.h"

#include <vector>

#include "platform/file_system.h"

namespace vfs {

std::string FirstUnremovableEntry(const std::string& path, Env* env) {
  auto st = env->LinkStat(path);
  if (!st || st->kind == EntryKind::kLink) return std::string();
  if (st->kind != EntryKind::kFolder) return Stat(path, env).readOnly ? path : std::string();
  if (!MayWriteFolder(path, env)) return path;
  std::vector<FolderEntry> entries;
  // A folder that cannot be listed cannot be emptied either.
  if (!ListFolder(path, entries, env).ok()) return path;
  for (const auto& entry : entries) {
    std::string blocker = FirstUnremovableEntry(JoinPath(path, entry.name), env);
    if (!blocker.empty()) return blocker;
  }
  return std::string();
}

}  // namespace vfs
