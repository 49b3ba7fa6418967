#include "environment/config_path_checks.h"

#include <atomic>
#include <vector>

#include "config/global/global_config.h"
#include "environment/app_paths.h"
#include "environment/folder_entries.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "storage/values/profile_values.h"

namespace {

std::atomic<VWallClock> gClock{nullptr};

std::time_t Now() {
  VWallClock clock = gClock.load();
  return clock ? clock() : std::time(nullptr);
}

bool HoldsIndexFile(const std::string& folder) {
  std::vector<vfs::FolderEntry> entries;
  if (!vfs::ListFolder(folder, entries).ok()) return false;
  for (const auto& entry : entries) {
    if (!entry.isDirectory && vtext::EndsWithNoCase(vtext::FromUtf8(entry.name), u".idx") &&
        entry.name.size() > 4)
      return true;
  }
  return false;
}

VUnicodeString ReadString(const VProfileKey& parent, const char16_t* keyName,
                          const char16_t* valueName) {
  VProfileKey key(parent, keyName);
  VProfileString value(valueName, VUnicodeString());
  value.Load(&key);
  return value;
}

}  // namespace

bool CheckAppConfigPathCommandLine(const VUnicodeString& argument, VUnicodeString& out,
                                   VReportMessageParams& report) {
  // Only "/" separates on this system; a backslash is part of a name.
  std::string path = argument.ToUtf8();
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (auto full = path.empty() ? VExpected<std::string>(VStatus::Error(win32::kInvalidName))
                                : vfs::FullPath(path);
      full && vfs::IsDirectory(*full)) {
    out = U8(*full);
    return true;
  }
  out = U8(path);
  report.Reset(kMsgCommandLineFolderInvalid);
  report.AddInsert(argument);
  return false;
}

bool CheckAppConfigPathRedirect(bool save, const VRedirectReportFunction& report,
                                VUnicodeString& inOutPath, VReportMessageParams* error) {
  if (inOutPath.empty()) return true;
  std::string folder = inOutPath.ToUtf8();
  VIniFileStoreFactory factory(inOutPath);
  VProfileStore store(true, &factory);
  const VProfileKey& root = *store.GetRootKey();
  if (!HoldsIndexFile(folder) && !root.SubKeyExists(u"Global")) return true;

  // Either format tag means the global configuration's last save completed.
  VUnicodeString version = ReadString(root, u"Global", u"Version");
  if (version == kConfigurationFormatTag || version == kEarlierConfigurationFormatTag) return true;

  VUnicodeString target = ReadString(root, u"TLVRedirect", u"New Config Path");
  if (target.empty()) return RenameGlobalConfig(inOutPath, error);

  if (target[0] != u'/') {
    // An address written as a relative path can only mean one beside the folder that holds it.
    if (auto full = vfs::FullPath(vfs::JoinPath(folder, target.ToUtf8()))) target = U8(*full);
  }
  VReportMessageParams message(kMsgConfigurationMigrated);
  message.AddInsert(inOutPath);
  message.AddInsert(target);
  if (report) report(message);
  inOutPath = target;
  if (save) return SaveAppConfigPath(target, false, error);
  return true;
}

bool RenameGlobalConfig(const VUnicodeString& folder, VReportMessageParams* error) {
  if (folder.empty()) return true;
  std::string source = VFindFolderEntry(folder.ToUtf8(), "Global.ini", false);
  if (source.empty()) return true;

  std::time_t now = Now();
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32] = {};
  std::strftime(stamp, sizeof stamp, "%Y%d%m_%H%M%S", &local);
  std::string target =
      vfs::JoinPath(vfs::ParentFolder(source), std::string("Global-incomplete-") + stamp + ".ini");
  VStatus renamed = vfs::RenameFile(source, target);
  if (renamed.ok()) return true;
  const uint32_t code = renamed.Code();
  if (error) {
    VReportMessageParams reason;
    reason.SetError(code);
    error->Reset(kMsgGlobalConfigNotSetAside);
    error->AddInsert(U8(source));
    error->AddInsert(U8(target));
    error->AddInsert(reason.GetTextOneLineTrimmed());
  }
  return false;
}

bool RenameGlobalConfig() {
  VUnicodeString folder = GetTlvConfigPathSub();
  if (folder.empty()) folder = GetAppConfigPath(VGetAppName());
  return RenameGlobalConfig(folder);
}

void SetRenameGlobalConfigClock(VWallClock clock) { gClock = clock; }
