#include "environment/url_handler.h"

#include <cctype>

#include "environment/installed_products.h"
#include "environment/mime_apps_list.h"
#include "environment/text_lists.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "report/report_message_params.h"

namespace {

constexpr uint64_t kMaxListSize = 1u << 20;

std::string SchemeType(const VUnicodeString& scheme) { return "x-scheme-handler/" + scheme.ToUtf8(); }

// The absolute folders of a list; a relative one would depend on the current folder.
std::vector<std::string> Folders(const std::string& text) {
  std::vector<std::string> out;
  for (std::string& dir : SplitNonEmpty(text, ':')) {
    if (dir[0] == '/') out.push_back(std::move(dir));
  }
  return out;
}

std::string ListOr(const char* name, const char* fallback) {
  std::string value = vapp::GetEnv(name);
  return value.empty() ? std::string(fallback) : value;
}

// Reads a small text file; false when it is missing or cannot be read.
bool ReadText(const std::string& path, std::string& text, vfs::Env* env) {
  auto file = vfs::File::OpenForReading(path, env);
  if (!file.ok()) return false;
  return file->ReadAll(text, kMaxListSize).ok();
}

// The user's data folder, then the system's.
std::vector<std::string> DataDirs() {
  std::vector<std::string> dirs{vapp::XdgDataHome()};
  for (const std::string& dir : Folders(ListOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share")))
    dirs.push_back(dir);
  return dirs;
}

// The mimeapps.list files in the order a desktop consults them.
std::vector<std::string> MimeAppsFiles() {
  std::vector<std::string> desktops;
  for (const std::string& desktop : SplitNonEmpty(vapp::GetEnv("XDG_CURRENT_DESKTOP"), ':'))
    desktops.push_back(AsciiLower(desktop));
  std::vector<std::string> configDirs{vapp::XdgConfigHome()};
  for (const std::string& dir : Folders(ListOr("XDG_CONFIG_DIRS", "/etc/xdg"))) configDirs.push_back(dir);
  std::vector<std::string> dataDirs = DataDirs();
  std::vector<std::string> files;
  for (const std::string& dir : configDirs) {
    for (const std::string& desktop : desktops) files.push_back(vfs::JoinPath(dir, desktop + "-mimeapps.list"));
    files.push_back(vfs::JoinPath(dir, "mimeapps.list"));
  }
  for (const std::string& dir : dataDirs) {
    for (const std::string& desktop : desktops)
      files.push_back(vfs::JoinPath(dir, "applications/" + desktop + "-mimeapps.list"));
    files.push_back(vfs::JoinPath(dir, "applications/mimeapps.list"));
  }
  return files;
}

// The desktop entry file of `id`, looked for in the applications folders; empty when none.
std::string FindDesktopEntry(const std::string& id, vfs::Env* env) {
  if (id.find('/') != std::string::npos || id.empty() || id[0] == '.') return std::string();
  std::vector<std::string> dataDirs = DataDirs();
  for (const std::string& dir : dataDirs) {
    std::string path = vfs::JoinPath(dir, "applications/" + id);
    auto st = env->Stat(path);
    if (st.ok() && st->kind == vfs::EntryKind::kFile) return path;
  }
  return std::string();
}

}  // namespace

bool GetKarvellDefaultApplicationSettings(VDefaultApplication& out) {
  if (!CanLaunchTerminalApp()) return false;
  out.applicationName = u"Karvell";
  out.path = GetKarvellPath();
  VReportMessageParams description(kMsgDefaultApplicationDescription);
  out.description = description.GetTextOneLineTrimmed();
  out.schemes = KarvellUrlSchemes();
  return true;
}

std::vector<VUrlScheme> KarvellUrlSchemes() {
  return {{u"ssh", u"SSH"}, {u"ssh1", u"SSH1"}, {u"ssh2", u"SSH2"}, {u"telnet", u"Telnet"}};
}

std::string DesktopIdOf(const VDefaultApplication& app) {
  return "tolvane-" + AsciiLower(app.applicationName.ToUtf8()) + ".desktop";
}

std::string UserDesktopEntryPath(const VDefaultApplication& app) {
  return vfs::JoinPath(vapp::XdgDataHome(), "applications/" + DesktopIdOf(app));
}

std::string UserMimeAppsPath() { return vfs::JoinPath(vapp::XdgConfigHome(), "mimeapps.list"); }

VStatus RegisterDefaultApplication(const VDefaultApplication& app, vfs::Env* env) {
  mimeapps::DesktopEntry entry;
  entry.name = app.applicationName.ToUtf8();
  entry.comment = app.description.ToUtf8();
  entry.program = app.path.ToUtf8();
  for (const VUrlScheme& scheme : app.schemes) entry.mimeTypes.push_back(SchemeType(scheme.scheme));
  std::string text;
  if (entry.program.empty() || entry.program[0] != '/' || !mimeapps::DesktopEntryText(entry, text))
    return VStatus::Error(win32::kInvalidName);

  vfs::ReplaceOptions publicFile;
  publicFile.newFileMode = 0644;  // read by the desktop's other programs; holds no secret
  VStatus written = vfs::ReplaceFileContents(UserDesktopEntryPath(app), text, publicFile, env);
  if (!written.ok()) return written;

  std::string listPath = UserMimeAppsPath();
  std::string list;
  auto file = vfs::File::OpenForReading(listPath, env);
  if (file.ok()) {
    VStatus read = file->ReadAll(list, kMaxListSize);
    // A list that cannot be read is not replaced by one holding only our lines.
    if (!read.ok()) return read;
  } else if (file.Code() != win32::kFileNotFound && file.Code() != win32::kPathNotFound) {
    return file.Status();
  }
  std::string changed = list;
  for (const VUrlScheme& scheme : app.schemes)
    changed = mimeapps::SetDefault(changed, SchemeType(scheme.scheme), DesktopIdOf(app));
  if (changed == list) return VStatus();
  return vfs::ReplaceFileContents(listPath, changed, publicFile, env);
}

bool IsDefaultApplicationForScheme(const VDefaultApplication& app, const VUnicodeString& scheme,
                                   vfs::Env* env) {
  std::string type = SchemeType(scheme);
  for (const std::string& path : MimeAppsFiles()) {
    std::string text;
    if (!ReadText(path, text, env)) continue;
    for (const std::string& id : mimeapps::Lookup(text, mimeapps::kDefaultGroup, type)) {
      std::string entryPath = FindDesktopEntry(id, env);
      if (entryPath.empty()) continue;  // not installed: the next one is the choice
      if (id != DesktopIdOf(app)) return false;
      // Ours by name: it must also start this program, not an older or moved one.
      std::string entry, exec, expected;
      return ReadText(entryPath, entry, env) && mimeapps::ReadDesktopValue(entry, "Exec", exec) &&
             mimeapps::ExecLine(app.path.ToUtf8(), expected) && exec == expected;
    }
  }
  return false;
}
