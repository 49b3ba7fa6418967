#include "storage/values/profile_text_state.h"

namespace vscan {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// Sign and digits at `pos`; the magnitude may not pass `limit`.
bool Digits(std::u16string_view text, size_t& pos, bool& negative, uint64_t limit,
            uint64_t& magnitude) {
  size_t i = pos;
  while (i < text.size() && IsBlank(text[i])) ++i;
  negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  size_t start = i;
  magnitude = 0;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
    magnitude = magnitude * 10 + static_cast<uint64_t>(text[i] - u'0');
    if (magnitude > limit) return false;
    ++i;
  }
  if (i == start) return false;
  pos = i;
  return true;
}

}  // namespace

bool Number(std::u16string_view text, size_t& pos, int64_t min, int64_t max, int64_t& value) {
  bool negative = false;
  uint64_t magnitude = 0;
  size_t at = pos;
  if (!Digits(text, at, negative, uint64_t{1} << 40, magnitude)) return false;
  int64_t number = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  if (number < min || number > max) return false;
  value = number;
  pos = at;
  return true;
}

bool Unsigned(std::u16string_view text, size_t& pos, uint32_t& value) {
  bool negative = false;
  uint64_t magnitude = 0;
  size_t at = pos;
  if (!Digits(text, at, negative, UINT32_MAX, magnitude)) return false;
  if (negative && magnitude > uint64_t{1} << 31) return false;
  value = negative ? static_cast<uint32_t>(0 - magnitude) : static_cast<uint32_t>(magnitude);
  pos = at;
  return true;
}

bool Int(std::u16string_view text, size_t& pos, int32_t& value) {
  int64_t number = 0;
  if (!Number(text, pos, INT32_MIN, INT32_MAX, number)) return false;
  value = static_cast<int32_t>(number);
  return true;
}

bool Char(std::u16string_view text, size_t& pos, char16_t c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace vscan
