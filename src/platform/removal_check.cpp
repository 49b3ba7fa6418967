#include "platform/removal_check.h"

#include <sys/stat.h>

#include <vector>

#include "platform/file_system.h"

namespace vfs {

std::string FirstUnremovableEntry(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return std::string();
  if (!S_ISDIR(st.st_mode)) return Stat(path).readOnly ? path : std::string();
  if (!MayWriteFolder(path)) return path;
  std::vector<FolderEntry> entries;
  uint32_t error = 0;
  // A folder that cannot be listed cannot be emptied either.
  if (!ListFolder(path, entries, error)) return path;
  for (const auto& entry : entries) {
    std::string blocker = FirstUnremovableEntry(JoinPath(path, entry.name));
    if (!blocker.empty()) return blocker;
  }
  return std::string();
}

}  // namespace vfs
