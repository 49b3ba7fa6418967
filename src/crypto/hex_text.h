// Hexadecimal text of byte strings, as the stored forms of secrets write it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class VClearBuffer;

namespace vhex {

// Appends two digits per byte, lower- or upper-case.
void Append(std::u16string& out, const uint8_t* data, size_t length, bool upper = false);

// The value of one hexadecimal digit (either case), or -1.
int DigitValue(char16_t c);

// Decodes pairs of digits (either case). False when the count is odd or a character is not a
// hexadecimal digit; `out` is then empty.
bool Decode(std::u16string_view text, VClearBuffer& out);

}  // namespace vhex
