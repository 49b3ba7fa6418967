// The binary form of the session key map that releases before the line format stored ("Keymap v2"
// and "Keymap"): a 32-bit big-endian count, then per mapping a 32-bit big-endian key code and two
// NUL-terminated strings (function name, argument), each UTF-8 after a byte-order mark or else in
// the Windows-1252 code page. Modifiers sat in bits 8 to 11 of the key code then.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/keymap/keymap.h"

namespace vkeymap {

// Moves the older modifier bits (0x100 extended, 0x200 Ctrl, 0x400 Shift, 0x800 Alt) to the
// current ones.
uint32_t ConvertOlderModifiers(uint32_t keyCode);
// Appends the mappings of a binary key map whose function is known. A count that claims more
// entries than the bytes hold stops quietly at the last whole entry. Returns the number of
// entries read (kept or not).
size_t ReadBinaryKeymap(std::string_view bytes, Keymap& map);
// The binary form of (function name, argument, key code) entries, for tests and converters.
std::string WriteBinaryEntry(uint32_t keyCode, std::string_view function, std::string_view argument);

}  // namespace vkeymap
