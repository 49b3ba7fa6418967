// The text forms of values in the XML settings file: numbers in decimal, byte blocks as pairs of
// lower-case hexadecimal digits, and the characters an XML file can hold at all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// "4294967295": decimal digits only, optionally surrounded by white space (a file edited by hand
// or reformatted may carry some). Signs, hexadecimal and values above 32 bits are refused rather
// than guessed at.
bool VXmlParseDword(std::string_view text, uint32_t& value);
std::string VXmlFormatDword(uint32_t value);

// Two hexadecimal digits per byte, either case; white space between pairs is skipped (a long block
// may have been wrapped by an editor). An odd digit or any other character refuses the whole text.
bool VXmlParseBinary(std::string_view text, std::vector<uint8_t>& bytes);
std::string VXmlFormatBinary(const void* data, size_t size);

// The first character of `text` that an XML 1.0 document cannot contain in any form (controls other
// than tab, line feed and carriage return; U+FFFE, U+FFFF; unpaired surrogates), or -1 when there
// is none. Such a text would make the file unreadable for every XML reader, so it is not stored.
long VXmlFirstUnstorableChar(std::u16string_view text);
