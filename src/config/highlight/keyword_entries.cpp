#include "config/highlight/keyword_entries.h"

#include <vector>

namespace vkeywords {
namespace {

constexpr size_t kHexDigits = 8;

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// One to eight hexadecimal digits, nothing else.
std::optional<uint32_t> ParseHex(std::u16string_view text) {
  if (text.empty() || text.size() > kHexDigits) return std::nullopt;
  uint32_t value = 0;
  for (char16_t c : text) {
    int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return value;
}

std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> fields;
  while (true) {
    size_t at = text.find(separator);
    fields.push_back(text.substr(0, at));
    if (at == std::u16string_view::npos) return fields;
    text.remove_prefix(at + 1);
  }
}

std::u16string_view TrimSpaces(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

VUnicodeString Quoted(std::u16string_view keyword) {
  VUnicodeString text(u"\"");
  text += keyword;
  text += u"\"";
  return text;
}

}  // namespace

std::optional<KeywordEntry> ParseEntry(std::u16string_view stored) {
  if (stored.empty() || stored.front() != u'"') return std::nullopt;
  size_t close = stored.find(u'"', 1);
  if (close == std::u16string_view::npos) return std::nullopt;
  std::u16string_view rest = stored.substr(close + 1);
  if (rest.empty() || rest.front() != u',') return std::nullopt;
  std::vector<std::u16string_view> fields = Split(rest.substr(1), u',');
  if (fields.size() != 2) return std::nullopt;
  std::optional<uint32_t> value = ParseHex(fields[0]);
  std::optional<uint32_t> flags = ParseHex(fields[1]);
  // A flag above a byte would be cut short by the next save.
  if (!value || !flags || *flags > 0xFF) return std::nullopt;
  KeywordEntry entry;
  entry.text = VUnicodeString(stored.substr(1, close - 1));
  entry.value = *value;
  entry.flags = static_cast<uint8_t>(*flags);
  return entry;
}

VUnicodeString FormatEntry(const KeywordEntry& entry) {
  VUnicodeString text = Quoted(entry.text);
  text += u",";
  text += vtext::FormatHex(entry.value, kHexDigits);
  text += u",";
  text += vtext::FormatHex(entry.flags, kHexDigits);
  return text;
}

bool IsStorableKeyword(std::u16string_view keyword) {
  if (keyword.empty()) return false;
  for (char16_t c : keyword)
    if (c == u'"' || c == u'\r' || c == u'\n' || c == 0) return false;
  return true;
}

VStringArray ConvertOlderList(std::u16string_view older) {
  VStringArray entries;
  std::vector<std::u16string_view> fields = Split(older, u',');
  bool pairs = fields.size() >= 2 && fields.size() % 2 == 0;
  for (size_t i = 0; pairs && i < fields.size(); i += 2)
    pairs = !TrimSpaces(fields[i]).empty() && ParseHex(TrimSpaces(fields[i + 1])).has_value();
  if (pairs) {
    for (size_t i = 0; i < fields.size(); i += 2) {
      VUnicodeString entry = Quoted(TrimSpaces(fields[i]));
      entry += u",";
      entry += TrimSpaces(fields[i + 1]);
      entry += u",00000000";
      entries.Add(std::move(entry));
    }
    return entries;
  }
  for (std::u16string_view word : Split(older, u' ')) {
    if (word.empty()) continue;
    KeywordEntry entry;
    entry.text = VUnicodeString(word);
    entry.value = kDefaultHighlightValue;
    entries.Add(FormatEntry(entry));
  }
  return entries;
}

}  // namespace vkeywords
