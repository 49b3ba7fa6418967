#include "environment/settings_file_paths.h"

#include "platform/file_system.h"

VSettingsFilePaths VSettingsFilePaths::For(const std::string& settingsFile) {
  VSettingsFilePaths paths;
  paths.settings = settingsFile;
  std::string folder = vfs::ParentFolder(settingsFile);
  std::string name = vfs::BaseName(settingsFile);
  if (settingsFile.find('/') == std::string::npos) folder = ".";
  size_t dot = name.rfind('.');
  // A leading dot belongs to the name (".cfg" has no extension).
  std::string base = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  paths.backup = vfs::JoinPath(folder, base + ".bak");
  paths.log = vfs::JoinPath(folder, base + ".log");
  // A settings file named "x.bak" or "x.log" would be its own backup or log.
  if (paths.backup == vfs::JoinPath(folder, name)) paths.backup += ".bak";
  if (paths.log == vfs::JoinPath(folder, name)) paths.log += ".log";
  return paths;
}

namespace {

// Folds "." and ".." and repeated slashes of a full path by name. False when ".." climbs
// above the root or the path is not a full path.
bool Fold(const std::string& path, std::string& folded) {
  if (path.empty() || path[0] != '/') return false;
  std::vector<std::string> levels;
  size_t start = 1;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string level = path.substr(start, end - start);
    if (level == "..") {
      if (levels.empty()) return false;
      levels.pop_back();
    } else if (!level.empty() && level != ".") {
      levels.push_back(level);
    }
    start = end + 1;
  }
  folded.clear();
  for (const auto& level : levels) folded += "/" + level;
  if (folded.empty()) folded = "/";
  return true;
}

}  // namespace

VFileTargetRefusal CheckImportedFileTarget(const std::string& path,
                                           const std::vector<std::string>& allowedFolders,
                                           std::string& resolved) {
  resolved = path;
  if (!Fold(path, resolved)) return VFileTargetRefusal::NotFullPath;
  std::string base;
  for (const std::string& allowed : allowedFolders) {
    std::string folder;
    if (allowed.empty() || !Fold(allowed, folder)) continue;
    std::string prefix = folder == "/" ? folder : folder + "/";
    if (resolved.size() > prefix.size() && resolved.compare(0, prefix.size(), prefix) == 0 &&
        folder.size() > base.size()) {
      base = folder;
    }
  }
  if (base.empty()) return VFileTargetRefusal::OutsideFolders;
  vfs::Env* env = vfs::Env::Default();
  // Every level below the allowed folder, the file included.
  size_t at = base == "/" ? 1 : base.size() + 1;
  while (true) {
    size_t end = resolved.find('/', at);
    std::string level = resolved.substr(0, end);
    auto st = env->LinkStat(level);
    if (!st) {
      // Missing from here on: made anew, as folders. A level that cannot be examined is not
      // written through.
      uint32_t code = st.Code();
      return code == win32::kFileNotFound || code == win32::kPathNotFound
                 ? VFileTargetRefusal::None
                 : VFileTargetRefusal::NotRegularFile;
    }
    bool last = end == std::string::npos;
    if (st->kind == vfs::EntryKind::kLink) return VFileTargetRefusal::ThroughLink;
    if (last) {
      return st->kind == vfs::EntryKind::kFile ? VFileTargetRefusal::None
                                               : VFileTargetRefusal::NotRegularFile;
    }
    if (st->kind != vfs::EntryKind::kFolder) return VFileTargetRefusal::NotRegularFile;
    at = end + 1;
  }
}
