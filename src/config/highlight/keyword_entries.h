// The stored form of one highlighted keyword: the keyword in double quotes, then its highlight
// value and its flag byte, each as eight hexadecimal digits ("\"error\",000000ff,00000000"),
// and the conversion of the older single-string list into that form.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/unicode_string.h"

struct KeywordEntry {
  VUnicodeString text;
  // What the terminal draws the keyword with; stored and handed on unchanged.
  uint32_t value = 0;
  uint8_t flags = 0;

  bool operator==(const KeywordEntry& other) const = default;
};

namespace vkeywords {

// The value a word of the older space-separated list is given.
constexpr uint32_t kDefaultHighlightValue = 0x000000FF;

// The entry read from its stored form, or nothing when it cannot be read: it does not begin with
// a double quote, the keyword has no closing quote, or the two fields after it are not one to
// eight hexadecimal digits each (the flag no more than a byte). Nothing of the text is guessed.
std::optional<KeywordEntry> ParseEntry(std::u16string_view stored);
// The stored form of an entry.
VUnicodeString FormatEntry(const KeywordEntry& entry);

// Whether a keyword can be stored so that it reads back the same: not empty, no double quote
// (which would end it early), no line break nor NUL (which would split the stored list).
bool IsStorableKeyword(std::u16string_view keyword);

// The entries of the older "Keyword List" value. When the text, split at commas, gives keyword
// and value pairs (each value one to eight hexadecimal digits), every pair becomes an entry with
// the value as written and flag 00000000; otherwise every word of the text, split at spaces,
// becomes an entry with the value 000000ff and flag 00000000.
VStringArray ConvertOlderList(std::u16string_view older);

}  // namespace vkeywords
