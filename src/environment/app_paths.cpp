#include "environment/app_paths.h"

#include "environment/app_folder_settings.h"
#include "environment/folder_entries.h"
#include "environment/installed_products.h"
#include "platform/app_info.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_key.h"

namespace {

constexpr uint32_t kMsgPersonalDataFolderPrompt = 0x613800FF;

bool IsFullPath(const VUnicodeString& path) { return !path.empty() && path[0] == u'/'; }

VUnicodeString Usable(const VUnicodeString& stored) {
  return IsFullPath(stored) ? stored : VUnicodeString();
}

AppFolderSettings Load(const VUnicodeString& app) {
  AppFolderSettings settings;
  LoadAppFolderSettings(app, settings);
  return settings;
}

// Which writes the other application of an integrated pair receives.
enum class OtherRule { OnlyWithForce, WithForceOrWhenItHasNoFolder };

bool SaveRemembered(std::u16string_view valueName, const VUnicodeString& text, bool force,
                    OtherRule rule, VReportMessageParams* error) {
  bool ok = SaveAppFolderValue(VGetAppName(), valueName, text, error);
  VUnicodeString other;
  if (!IsIntegrated(other)) return ok;
  bool writeOther =
      force || (rule == OtherRule::WithForceOrWhenItHasNoFolder && GetAppConfigPath(other).empty());
  if (!writeOther) return ok;
  // Both applications are tried; the first failure is the one reported.
  VReportMessageParams otherError;
  if (SaveAppFolderValue(other, valueName, text, &otherError)) return ok;
  if (ok && error) *error = otherError;
  return false;
}

bool SaveFolder(std::u16string_view valueName, const VUnicodeString& path, bool force,
                OtherRule rule, VReportMessageParams* error) {
  if (!path.empty() && !IsFullPath(path)) {
    if (error) {
      error->Reset(kMsgFolderNotFullPath);
      error->AddInsert(path);
    }
    return false;
  }
  return SaveRemembered(valueName, path, force, rule, error);
}

bool SaveFlag(std::u16string_view valueName, bool value, bool force, VReportMessageParams* error) {
  return SaveRemembered(valueName, value ? u"1" : u"0", force, OtherRule::OnlyWithForce, error);
}

}  // namespace

VUnicodeString GetAppConfigPath(const VUnicodeString& appName) {
  return Usable(Load(appName).configPath);
}

VUnicodeString GetAppConfigPathAlpha() {
  VUnicodeString path = GetAppConfigPath(u"Global");
  if (!path.empty()) SaveAppConfigPath(path, false);
  return path;
}

VUnicodeString GetAppConfigPathUnderExe(const std::string& executableFolder) {
  std::string config = VFindFolderEntry(executableFolder, "Config", true);
  if (config.empty() || VFindFolderEntry(config, "global.ini", false).empty())
    return VUnicodeString();
  return U8(config);
}

bool SaveAppConfigPath(const VUnicodeString& path, bool force, VReportMessageParams* error) {
  return SaveFolder(kValueConfigPath, path, force, OtherRule::WithForceOrWhenItHasNoFolder, error);
}

VUnicodeString GetAppPersonalDataPath(const VUnicodeString& appName,
                                      const VUnicodeString& configFolder) {
  VUnicodeString stored = GetAppPersonalDataPathStored(appName);
  return stored.empty() ? GetAppPersonalDataPathDefault(configFolder) : stored;
}

VUnicodeString GetAppPersonalDataPathDefault(const VUnicodeString& configFolder) {
  if (configFolder.empty()) return VUnicodeString();
  VUnicodeString folder = configFolder;
  // "/srv/cfg/" must give the sibling "/srv/cfg.personal", not a hidden folder inside it.
  while (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  folder += u".personal";
  return folder;
}

VUnicodeString GetAppPersonalDataPathStored(const VUnicodeString& appName) {
  return Usable(Load(appName).personalDataPath);
}

bool SaveAppPersonalDataPath(const VUnicodeString& path, bool force, VReportMessageParams* error) {
  return SaveFolder(kValuePersonalDataPath, path, force, OtherRule::OnlyWithForce, error);
}

bool UsePersonalDataPath(const VUnicodeString& appName) {
  return Load(appName).storePersonalDataSeparately;
}

bool DoPersonalDataMigration(const VUnicodeString& appName) {
  return Load(appName).doPersonalDataMigration;
}

bool DoPersonalDataMerge(const VUnicodeString& appName) {
  return Load(appName).doPersonalDataMerge;
}

bool SaveUsePersonalDataPath(bool value, bool force, VReportMessageParams* error) {
  return SaveFlag(kValueStorePersonalDataSeparately, value, force, error);
}

bool SaveDoPersonalDataMigration(bool value, bool force, VReportMessageParams* error) {
  return SaveFlag(kValueDoPersonalDataMigration, value, force, error);
}

bool SaveDoPersonalDataMerge(bool value, bool force, VReportMessageParams* error) {
  return SaveFlag(kValueDoPersonalDataMerge, value, force, error);
}

bool GetPersonalDataFolderAsk(IUserQuestions& owner, const VUnicodeString& configFolder,
                              VUnicodeString& inOutPath) {
  VUnicodeString folder =
      inOutPath.empty() ? GetAppPersonalDataPathDefault(configFolder) : inOutPath;
  VReportMessageParams prompt(kMsgPersonalDataFolderPrompt);
  while (owner.AskFolder(prompt, folder)) {
    // The configuration folder under another spelling would have each save overwrite the main
    // files with the personal ones; the person is told and asked again.
    if (!folder.empty() && vfs::SameFileOrFolder(folder.ToUtf8(), configFolder.ToUtf8())) {
      VReportMessageParams refused(kMsgPersonalFolderIsConfigFolder);
      owner.Notify(refused, VNoticeKind::Error);
      continue;
    }
    inOutPath = folder;
    return true;
  }
  inOutPath.clear();
  return false;
}
