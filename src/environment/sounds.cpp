#include "environment/sounds.h"

#include <unistd.h>

#include "environment/text_lists.h"
#include "platform/app_info.h"
#include "platform/file_system.h"

namespace {

bool IsFile(const std::string& path, vfs::Env* env) {
  auto st = env->Stat(path);
  return st.ok() && st->kind == vfs::EntryKind::kFile;
}

// The bell of the desktop's sound theme, as the data folders hold it.
std::string BellSound(vfs::Env* env) {
  std::string dirs = vapp::GetEnv("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  for (const std::string& dir : SplitNonEmpty(dirs, ':')) {
    std::string path = vfs::JoinPath(dir, "sounds/freedesktop/stereo/bell.oga");
    if (dir[0] == '/' && IsFile(path, env)) return path;
  }
  return std::string();
}

}  // namespace

std::string FindSoundPlayer(const std::string& path, vfs::Env* env) {
  std::string dirs = path.empty() ? vapp::GetEnv("PATH") : path;
  for (const char* player : {"paplay", "aplay"}) {
    for (const std::string& dir : SplitNonEmpty(dirs, ':')) {
      // Only full folders: a relative entry of $PATH would run whatever the current folder holds.
      if (dir[0] != '/') continue;
      std::string candidate = vfs::JoinPath(dir, player);
      if (IsFile(candidate, env) && env->Access(candidate, X_OK)) return candidate;
    }
  }
  return std::string();
}

bool PlaySoundFile(const VUnicodeString& file, bool noDefault, vfs::Env* env) {
  if (file.empty()) return false;
  std::string path = file.ToUtf8();
  if (path.find('\0') != std::string::npos) return false;
  if (path[0] != '/') {
    auto folder = env->CurrentFolder();
    if (!folder.ok()) return false;
    path = vfs::JoinPath(*folder, path);
  }
  if (!IsFile(path, env)) {
    if (noDefault) return false;
    path = BellSound(env);
    if (path.empty()) return false;
  }
  std::string player = FindSoundPlayer(std::string(), env);
  if (player.empty()) return false;
  // The path is absolute, so it begins with "/" and is never taken for an option.
  std::vector<std::string> argv{player};
  if (vfs::BaseName(player) == "aplay") argv.push_back("-q");
  argv.push_back(path);
  return env->StartProcess(player, argv).ok();
}
