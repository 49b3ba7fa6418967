// The values each application of the family remembers about its folders, kept per user under
// HKEY_CURRENT_USER "SOFTWARE\Tolvane\<App>". They are read afresh at every use: the other
// application of an integrated pair may change them at any time.
#pragma once

#include <string_view>

#include "storage/values/profile_values.h"

constexpr char16_t kRememberedRoot[] = u"SOFTWARE\\Tolvane";
constexpr char16_t kValueConfigPath[] = u"Config Path";
constexpr char16_t kValuePersonalDataPath[] = u"Personal Data Path";
constexpr char16_t kValueStorePersonalDataSeparately[] = u"Store Personal Data Separately";
constexpr char16_t kValueDoPersonalDataMigration[] = u"Do Personal Data Migration";
constexpr char16_t kValueDoPersonalDataMerge[] = u"Do Personal Data Merge";

constexpr uint32_t kMsgFolderNotFullPath = 0xE1380480;
constexpr uint32_t kMsgRememberedValueNotSaved = 0xE1380481;

// The settings of AppFolderSettings, in load order (see QL_MEMBERS).
#define APP_FOLDER_SETTINGS_MEMBERS(SETTING, OBJECT)                                               \
  SETTING(VProfileString, configPath, kValueConfigPath, u"")                                       \
  /* Empty: beside the configuration folder. */                                                     \
  SETTING(VProfileString, personalDataPath, kValuePersonalDataPath, u"")                           \
  SETTING(VProfile<bool>, storePersonalDataSeparately, kValueStorePersonalDataSeparately, 0)       \
  SETTING(VProfile<bool>, doPersonalDataMigration, kValueDoPersonalDataMigration, 0)               \
  SETTING(VProfile<bool>, doPersonalDataMerge, kValueDoPersonalDataMerge, 0)

class AppFolderSettings : public VProfileComposite {
 public:
  QL_MEMBERS(APP_FOLDER_SETTINGS_MEMBERS)

  static const VMemberTable& MemberTable();
  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
};

// The values of application `app`; a value that is absent or cannot be read takes its default.
void LoadAppFolderSettings(const VUnicodeString& app, AppFolderSettings& settings);

// Writes one value of `app`, given in its text form ("0"/"1" for flags), when the stored value
// differs or is absent. False, with a message naming the value, when the registry refused it.
bool SaveAppFolderValue(const VUnicodeString& app, std::u16string_view valueName,
                        const VUnicodeString& text, VReportMessageParams* error);
