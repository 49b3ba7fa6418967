// Catalogue ids of the colour scheme and palette texts: the display names of the built-in
// entries (informational texts) and the complaints.
#pragma once

#include <cstdint>

constexpr uint32_t kMsgFirstBuiltInPaletteName = 0x61380E00;  // 15 names, 0x...E00 to 0x...E0E
constexpr uint32_t kMsgFirstBuiltInSchemeName = 0x61380E10;   // 22 names, 0x...E10 to 0x...E25
constexpr uint32_t kMsgPlatformSchemeName = 0x61380E26;

constexpr uint32_t kMsgColorEntriesUnreadable = 0xA1380E30;  // %1 setting, %2 the entries
constexpr uint32_t kMsgColorSettingWrongKind = 0xA1380E31;   // %1 setting
constexpr uint32_t kMsgOlderSchemeUnreadable = 0xA1380E32;   // %1 value name, %2 its size
constexpr uint32_t kMsgColorNoSuchScheme = 0xE1380E33;       // %1 name
constexpr uint32_t kMsgColorNoSuchPalette = 0xE1380E34;      // %1 name
constexpr uint32_t kMsgColorBuiltInRefused = 0xE1380E35;     // %1 name
constexpr uint32_t kMsgColorBadName = 0xE1380E36;            // %1 name
constexpr uint32_t kMsgColorBadColors = 0xE1380E37;          // %1 the text, %2 how many expected
constexpr uint32_t kMsgColorBadOptions = 0xE1380E38;         // %1 the text
constexpr uint32_t kMsgColorEntryUnreadable = 0xE1380E39;    // %1 name: stored entry not readable
