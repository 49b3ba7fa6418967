// Key codes of key maps: the key in the low bits, modifier flags in bits 25 to 28 and 30, and the
// two name tables through which keys are written and read (Windows virtual keys first, then the
// extended keys that have no virtual-key code).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/unicode_string.h"

constexpr uint32_t kKeyExtended = 0x02000000;
constexpr uint32_t kKeyCtrl = 0x04000000;
constexpr uint32_t kKeyShift = 0x08000000;
constexpr uint32_t kKeyAlt = 0x10000000;
constexpr uint32_t kKeyWindows = 0x40000000;
constexpr uint32_t kKeyModifierMask = 0x5E000000;

inline uint32_t GetModifiers(uint32_t keyCode) { return keyCode & kKeyModifierMask; }
inline uint32_t GetUnmodifiedKey(uint32_t keyCode) { return keyCode & ~kKeyModifierMask; }
// "Alt-", "Ctrl-", "Shift-", "Extended-", "Windows-" for the bits set, in that order.
VUnicodeString KeyModifiersToString(uint32_t keyCode);

struct KeyName {
  const char16_t* name;
  uint32_t code;
};

namespace vkeys {

// Both tables are sorted by name as a case-insensitive comparison that folds to lower case orders
// them (so "VK_MULTI_KEY" comes before "VK_MULTIPLEC_ANDIDATE"); lookups search them that way.
std::span<const KeyName> VirtualKeys();   // 108 names with Windows virtual-key codes
std::span<const KeyName> ExtendedKeys();  // 223 names with their extended codes
int CompareKeyNames(std::u16string_view a, std::u16string_view b);

// The name of a key value: virtual-key table, then extended table, else "0x" and upper-case
// hexadecimal digits (which reads back as the same number).
VUnicodeString KeyNameOfCode(uint32_t code);
// A text starting with a digit is a number (decimal, or hexadecimal after "0x"); otherwise the
// name is looked up in the virtual-key table, then in the extended table. Empty when unknown.
std::optional<uint32_t> KeyCodeOfName(std::u16string_view name);
// True when `name` is a table name (not a number).
bool IsKeyName(std::u16string_view name);

}  // namespace vkeys
