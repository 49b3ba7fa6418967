// The texts of the main window of quillane-settings (the interface's catalogue, facility 0x139).
#pragma once

#include <cstdint>

namespace main_window_messages {

// Menus and their entries.
constexpr uint32_t kMenuFile = 0x61391410;
constexpr uint32_t kExit = 0x61391411;
constexpr uint32_t kMenuSession = 0x61391412;
constexpr uint32_t kNewSession = 0x61391413;
constexpr uint32_t kNewFolder = 0x61391414;
constexpr uint32_t kRename = 0x61391415;
constexpr uint32_t kDelete = 0x61391416;
constexpr uint32_t kDuplicate = 0x61391417;
constexpr uint32_t kSessionOptions = 0x61391418;
constexpr uint32_t kDefaultSession = 0x61391419;
constexpr uint32_t kMenuOptions = 0x6139141A;
constexpr uint32_t kGlobalOptions = 0x6139141B;
constexpr uint32_t kColorSchemes = 0x6139141C;
constexpr uint32_t kKeyMapEditor = 0x6139141D;
constexpr uint32_t kChangePassphrase = 0x6139141E;
constexpr uint32_t kMenuTools = 0x6139141F;
constexpr uint32_t kExportSettings = 0x61391420;
constexpr uint32_t kImportSettings = 0x61391421;
constexpr uint32_t kMigratePersonalData = 0x61391422;
constexpr uint32_t kMergePersonalData = 0x61391423;
constexpr uint32_t kMenuHelp = 0x61391424;
constexpr uint32_t kAbout = 0x61391425;
constexpr uint32_t kAboutText = 0x61391426;  // %1 application, %2 where the configuration is

// The window.
constexpr uint32_t kConnectBarLabel = 0x61391427;
constexpr uint32_t kConnectBarHint = 0x61391428;
constexpr uint32_t kSessionsRoot = 0x61391429;
constexpr uint32_t kNewSessionName = 0x6139142A;
constexpr uint32_t kNewFolderName = 0x6139142B;
constexpr uint32_t kWindowTitle = 0x6139142C;  // %1 application
constexpr uint32_t kNumberedName = 0x6139142D;  // %1 name, %2 number

// Questions and failures.
constexpr uint32_t kConfirmDeleteSession = 0xA139142E;  // %1 path
constexpr uint32_t kConfirmDeleteFolder = 0xA139142F;   // %1 path, %2 sessions in it
constexpr uint32_t kNotDeleted = 0xE1391430;            // %1 path, %2 why
constexpr uint32_t kFolderNotCreated = 0xE1391431;      // %1 path, %2 why
constexpr uint32_t kNotRenamed = 0xE1391432;            // %1 path, %2 new name, %3 why
constexpr uint32_t kNotDuplicated = 0xE1391433;         // %1 path, %2 why
constexpr uint32_t kNotMoved = 0xE1391434;              // %1 path, %2 folder, %3 why
constexpr uint32_t kFolderIntoItself = 0xE1391435;
constexpr uint32_t kNoLongerExists = 0xE1391436;        // %1 path
constexpr uint32_t kTemplateStays = 0xE1391437;
constexpr uint32_t kSessionNotCreated = 0xE1391438;     // %1 path, %2 why

}  // namespace main_window_messages
