// The texts of the dialogs of moving settings in the user interface's catalogue (their own
// block, 0x1800 to 0x18FF); the texts the model raises stay in the library's catalogue.
#pragma once

#include <cstdint>

namespace moving_texts {

constexpr uint32_t kGlobalOptions = 0x61391800;
constexpr uint32_t kSessions = 0x61391801;
constexpr uint32_t kScheduledTasks = 0x61391802;
constexpr uint32_t kSettingsFileLabel = 0x61391803;
constexpr uint32_t kSkipSecretsOption = 0x61391804;
constexpr uint32_t kImportSecretsChoice = 0x61391805;
constexpr uint32_t kSkipSecretsChoice = 0x61391806;
constexpr uint32_t kPassphraseLabel = 0x61391807;
constexpr uint32_t kContinueButton = 0x61391808;
constexpr uint32_t kPostponeButton = 0x61391809;
constexpr uint32_t kPersonalDataLocationTitle = 0x6139180A;
constexpr uint32_t kCloseButton = 0x6139180B;
constexpr uint32_t kSettingsFilesFilter = 0x6139180C;  // %1 patterns
constexpr uint32_t kPersonalDataFolderTitle = 0x6139180D;
constexpr uint32_t kPersonalFolderNeeded = 0x6139180E;  // %1 application
constexpr uint32_t kPersonalFolderSpecify = 0x6139180F;
constexpr uint32_t kPersonalFolderCancelTurnsOff = 0x61391810;
constexpr uint32_t kIncludeLabel = 0x61391811;
constexpr uint32_t kRunSummary = 0x61391812;  // %1 warnings, %2 errors, %3 log file
constexpr uint32_t kPassedOver = 0x61391813;

constexpr uint32_t kSettingsFileMissing = 0xE1391820;   // %1 file
constexpr uint32_t kSettingsFolderMissing = 0xE1391821;  // %1 folder
constexpr uint32_t kSettingsFileIsFolder = 0xE1391822;   // %1 path
constexpr uint32_t kNoSettingsFile = 0xE1391823;

// In the library's catalogue: "The passphrase that was entered is not correct."
constexpr uint32_t kWrongPassphrase = 0xE1380030;
// In the library's catalogue: "Browse folder".
constexpr uint32_t kBrowseFolderTip = 0x61380118;

}  // namespace moving_texts
