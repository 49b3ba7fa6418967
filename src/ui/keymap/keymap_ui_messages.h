// Texts of the key map editor in the user interface's catalogue.
#pragma once

#include <cstdint>

namespace keymapui {
constexpr uint32_t kCaptureTitle = 0x61391600;
constexpr uint32_t kCapturePrompt = 0x61391601;
constexpr uint32_t kCaptureWaiting = 0x61391602;
constexpr uint32_t kSelectedKeyTitle = 0x61391603;  // %1: the key combination
constexpr uint32_t kFunctionTypeLabel = 0x61391604;
constexpr uint32_t kFunctionLabel = 0x61391605;
constexpr uint32_t kSendStringLabel = 0x61391606;
constexpr uint32_t kOctalNote = 0x61391607;
constexpr uint32_t kScriptFileLabel = 0x61391608;
constexpr uint32_t kScriptArgumentsLabel = 0x61391609;
constexpr uint32_t kSelectScriptTitle = 0x6139160A;
constexpr uint32_t kApplicationLabel = 0x6139160B;
constexpr uint32_t kApplicationArgumentsLabel = 0x6139160C;
constexpr uint32_t kSelectExecutableTitle = 0x6139160D;
constexpr uint32_t kExeFilesFilter = 0x6139160E;  // %1: the patterns
constexpr uint32_t kButtonBarLabel = 0x6139160F;
constexpr uint32_t kDisabledNote = 0x61391610;
constexpr uint32_t kKeyCombinationColumn = 0x6139161C;
constexpr uint32_t kFunctionColumn = 0x6139161D;
constexpr uint32_t kArgumentColumn = 0x6139161E;
constexpr uint32_t kMapKeyButton = 0x6139161F;
constexpr uint32_t kEditButton = 0x61391620;
constexpr uint32_t kDeleteButton = 0x61391621;
constexpr uint32_t kMapBackspaceLabel = 0x61391622;
constexpr uint32_t kMapDeleteLabel = 0x61391623;
constexpr uint32_t kCuaCopyPasteLabel = 0x61391624;
constexpr uint32_t kCuaWarning = 0xA1391625;
constexpr uint32_t kReplaceQuestion = 0x61391626;  // %1: the key combination
constexpr uint32_t kScriptingDisabled = 0xA1391627;
constexpr uint32_t kMappedKeysTitle = 0x61391628;
constexpr uint32_t kEditorTitle = 0x61391629;  // %1: the key map file
constexpr uint32_t kKeyboardHint = 0x6139162A;
constexpr uint32_t kCannotSave = 0xE139162B;  // %1: the file, %2: the reason
constexpr uint32_t kKeyMapLabel = 0x6139162C;
constexpr uint32_t kScriptFileMissing = 0xE139162D;
constexpr uint32_t kProgramMissing = 0xE139162E;
constexpr uint32_t kNumLockLabel = 0x6139162F;
constexpr uint32_t kKeymapFileNote = 0x61391630;            // %1: the key map file
constexpr uint32_t kKeymapFileUnreadableNote = 0xA1391631;  // %1: the file, %2: the reason
constexpr uint32_t kNoKeymapFileNote = 0xA1391632;
constexpr uint32_t kSeveralSessionsNote = 0x61391633;
constexpr uint32_t kKeymapFileChanged = 0xE1391634;  // %1: the key map file
constexpr uint32_t kEditKeymapFileTitle = 0x61391640;
constexpr uint32_t kKeymapFilesFilter = 0x61391641;  // %1: the patterns
}  // namespace keymapui
