// The application-wide settings of every product of the family, kept as the values of the key
// "Global" (Global.ini in a configuration folder). One row of the member table per setting
// gives its stored name, kind and default; the object adds what the rows cannot say: defaults
// that depend on whether the configuration is new or on older forms of a setting, the
// per-object lock, and the steps that surround a save.
#pragma once

#include <cstdint>
#include <mutex>
#include <string_view>

#include "config/colors/color_lists.h"
#include "config/parts/dock_window_state.h"
#include "config/parts/printer_config.h"
#include "config/global/remembered_session_list.h"
#include "config/global/global_config_members.h"
#include "config/parts/subkey_copy.h"
#include "config/sync/synchronize_profile.h"
#include "crypto/profile_secrets.h"
#include "platform/unknown.h"
#include "storage/values/profile_path.h"
#include "config/parts/explorer_frame_state.h"
#include "config/parts/list_view_state.h"
#include "config/parts/tab_state.h"
#include "storage/values/profile_values.h"

// The configuration format written as "Version"; the folder checks also accept the earlier one.
inline constexpr const char16_t* kConfigurationFormatTag =
    u"7B2F2717-85C8-4729-8394-3B7697039CEB";
inline constexpr const char16_t* kEarlierConfigurationFormatTag =
    u"0311ABC6-1CDD-46fc-A08A-0D7C00242FCA";
// The name of the first built-in ANSI palette, selected until the user picks another.
inline constexpr const char16_t* kBuiltInPaletteName = u"Standard";
// A log topic colour that means "the log's standard colour for this topic".
inline constexpr uint32_t kStandardTopicColor = 0xFFFFFFFF;

class GlobalConfig : public VUnknown<IUnknown>, public VProfileComposite {
 public:
  // An object of defaults for `productId` (3 terminal, 6 and 9 file transfer, ...), not yet
  // loaded.
  explicit GlobalConfig(int productId);

  int GetProductIdOfObject() const { return product_; }
  // Loads every setting from `key` (null, or a key that does not exist: every default). Never
  // fails: what is missing or unreadable takes its default and is flagged for writing.
  void LoadFromKey(const VProfileKey* key);
  // Takes every setting from `key`, or its default where the key lacks it, and flags each for
  // writing; the passphrase check value and the change request stay as they were.
  void Merge(const VProfileKey& key);
  // Makes the next save write every value, as a forced one would: after a merge, and after a
  // save whose file could not be written (its values count as saved in memory only).
  void FlagEverySettingForWriting();
  // Whether the loaded key had no "Version", that is, the configuration is being made now.
  bool IsNewConfiguration() const { return isNew_; }
  // Read from "Disable All Scripting" and never written: an administrator's switch.
  bool IsScriptingDisabled() const { return disableAllScripting.current; }
  // The setting stored under `keyName` (without regard to case), or null.
  VProfileData* FindSetting(std::u16string_view keyName) { return FindMember(keyName); }

  // Under the object's lock: re-forms the view states, writes the quick-synchronize profile with
  // force when it changed, then saves every member (all of them with `force`).
  bool Save(VProfileKey& key, bool force) override;
  void Commit() override;
  void Revert() override;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();
  // The number of rows that are settings of this object's own (neither nested objects nor
  // sub-keys).
  static size_t OwnSettingCount();
  // The sixteen ANSI colours a configuration starts with (sessions start with them too).
  static CustomColors StandardAnsiColors();

  // ---- the settings, in load order (global_config_members.h) ----
  QL_MEMBERS(GLOBAL_CONFIG_MEMBERS)

 protected:
  void OnBeforeLoad(const VProfileKey* key) override;

 private:
  // Defaults worked out at load time: from older forms of the setting, from whether the
  // configuration is new, or from the desktop.
  void DefaultConnectDialogSortOrder(VProfile<int>& value, const VProfileKey* key);
  void DefaultTabWidth(VProfile<int>& value, const VProfileKey* key);
  void DefaultShowChatWindow(VProfile<bool>& value, const VProfileKey* key);
  void DefaultInitialSendCommandsTo(VProfile<int>& value, const VProfileKey* key);
  void DefaultKarvellTabState(VProfileTabState& value, const VProfileKey* key);
  void DefaultLumbrelTabState(VProfileTabState& value, const VProfileKey* key);
  void DefaultFontSmoothing(VProfile<bool>& value, const VProfileKey* key);
  void DefaultZoomOnKeyboardShortcut(VProfile<bool>& value, const VProfileKey* key);
  void DefaultCustomColors(VProfileCustomColors& value, const VProfileKey* key);
  void DefaultAnsiColors(VProfileCustomColors& value, const VProfileKey* key);
  // The built-in schemes and palettes; the list's own load converts older forms it finds.
  template <class List>
  void DefaultColorList(List& value, const VProfileKey*) {
    value = value.Defaults(nullptr);
  }
  void DefaultUpdatePromptDate(VProfile<unsigned long>& value, const VProfileKey* key);
  void DefaultSynchronizeAppLogDirectory(ProfilePath& value, const VProfileKey* key);
  void DefaultListViewSortStyle(VProfile<int>& value, const VProfileKey* key);
  void DefaultLumbrelActionForFiles(VProfile<int>& value, const VProfileKey* key);
  void DefaultHexViewFont(VProfileLogFont& value, const VProfileKey* key);

  // The view states a save writes after re-forming their text.
  void ReformViewStates();

  std::mutex mutex_;  // held for the whole of save, commit and revert
  int product_;
  bool isNew_ = true;
};
