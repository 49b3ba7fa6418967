#include "environment/app_folder_settings.h"

#include "storage/registry/registry_store.h"

namespace {

VRegistryStoreFactory RememberedValuesFactory() {
  // A factory of our own rather than the process-wide one: re-pointing a shared object before
  // each use would race with any other thread using it between the two steps.
  return VRegistryStoreFactory(VRegistryHive::CurrentUser, kRememberedRoot);
}

}  // namespace

QL_MEMBER_TABLE(AppFolderSettings, APP_FOLDER_SETTINGS_MEMBERS)

void LoadAppFolderSettings(const VUnicodeString& app, AppFolderSettings& settings) {
  VRegistryStoreFactory factory = RememberedValuesFactory();
  // Read-only: looking must never create the application's key.
  VProfileStore store(true, &factory);
  VProfileKey key(*store.GetRootKey(), app.c_str());
  settings.Load(&key);
}

bool SaveAppFolderValue(const VUnicodeString& app, std::u16string_view valueName,
                        const VUnicodeString& text, VReportMessageParams* error) {
  VRegistryStoreFactory factory = RememberedValuesFactory();
  VProfileStore store(false, &factory);
  // Opening with the create flag makes the key only when a value is missing, and a missing
  // value is always written.
  VProfileKey key(*store.GetRootKey(), app.c_str(), kProfileKeyCreate);
  AppFolderSettings settings;
  settings.Load(&key);
  VReportMessageParams problem;
  VProfileData* member = settings.FindMember(valueName);
  if (!member || !settings.SetSetting(valueName, text, problem)) {
    if (error) *error = problem;
    return false;
  }
  if (member->Save(key, false)) return true;
  if (error) {
    error->Reset(kMsgRememberedValueNotSaved);
    error->AddInsert(VUnicodeString(valueName));
    error->AddInsert(app);
    error->AddInsert(key.GetLastError().GetTextOneLineTrimmed());
  }
  return false;
}
