// Catalogue ids of key map messages.
#pragma once

#include <cstdint>

constexpr uint32_t kMsgKeymapUnreadable = 0xE1380D00;    // %1 file, %2 system reason
constexpr uint32_t kMsgKeymapFieldMissing = 0xE1380D01;  // %1 line
constexpr uint32_t kMsgKeymapUnknownKey = 0xE1380D02;    // %1 name, %2 line
constexpr uint32_t kMsgKeymapBadModifier = 0xE1380D03;   // %1 character, %2 line
constexpr uint32_t kMsgKeymapUnclosedString = 0xE1380D04;  // %1 line
constexpr uint32_t kMsgKeymapBadArgument = 0xE1380D05;   // %1 action, %2 line
constexpr uint32_t kMsgKeymapUnknownFunction = 0xE1380D06;  // %1 name, %2 line
constexpr uint32_t kMsgKeymapLoadedWithErrors = 0xA1380D07;  // %1 file, %2 the complaints
constexpr uint32_t kMsgKeymapStopped = 0xE1380D08;       // %1 file, %2 the complaints
constexpr uint32_t kMsgKeymapUnwritable = 0xE1380D09;    // %1 file, %2 system reason
constexpr uint32_t kMsgKeymapSettingErrors = 0xA1380D0A;  // %1 setting, %2 the complaints
constexpr uint32_t kMsgKeymapBadKey = 0xE1380D0B;        // %1 the text given
constexpr uint32_t kMsgKeymapBadAction = 0xE1380D0C;     // %1 the text given
constexpr uint32_t kMsgKeymapArgumentCount = 0xE1380D0D; // %1 action, %2 count
constexpr uint32_t kMsgKeymapNoBinding = 0xE1380D0E;     // %1 key
constexpr uint32_t kMsgKeymapNotSaved = 0xE1380D0F;      // %1 file: refused after a failed load
