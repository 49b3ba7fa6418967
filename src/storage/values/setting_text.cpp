#include "storage/values/setting_text.h"

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

bool VParseSettingNumber(std::u16string_view text, int64_t min, int64_t max, int bits,
                         int64_t& value) {
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    if (bits < 1 || bits > 32) return false;
    uint64_t number = 0;
    for (char16_t c : text.substr(2)) {
      int digit = HexDigit(c);
      if (digit < 0) return false;
      number = number << 4 | static_cast<uint64_t>(digit);
      if (number >> bits) return false;  // wider than the setting: refused before it can wrap
    }
    // The bits of a signed setting are read back with their sign.
    if (min < 0 && (number >> (bits - 1)) & 1) {
      value = static_cast<int64_t>(number) - (int64_t{1} << bits);
    } else {
      value = static_cast<int64_t>(number);
    }
    return value >= min && value <= max;
  }
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return false;
  int64_t number = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    if (number > (INT64_MAX - 9) / 10) return false;
    number = number * 10 + (text[i] - u'0');
  }
  value = negative ? -number : number;
  return value >= min && value <= max;
}

bool VParseSettingBool(std::u16string_view text, bool& value) {
  if (text == u"1" || vtext::EqualsNoCase(text, u"true")) {
    value = true;
    return true;
  }
  if (text == u"0" || vtext::EqualsNoCase(text, u"false")) {
    value = false;
    return true;
  }
  return false;
}

bool VParseSettingBytes(std::u16string_view text, std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> out;
  int high = -1;
  for (char16_t c : text) {
    if (c == u' ') {
      if (high >= 0) return false;  // a space may not split a byte
      continue;
    }
    int digit = HexDigit(c);
    if (digit < 0) return false;
    if (high < 0) {
      high = digit;
    } else {
      out.push_back(static_cast<uint8_t>(high << 4 | digit));
      high = -1;
    }
  }
  if (high >= 0) return false;
  bytes = std::move(out);
  return true;
}

VUnicodeString VFormatSettingBytes(const uint8_t* bytes, size_t size) {
  static const char16_t kDigits[] = u"0123456789abcdef";
  VUnicodeString out;
  out.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    out.push_back(kDigits[bytes[i] >> 4]);
    out.push_back(kDigits[bytes[i] & 15]);
  }
  return out;
}

void VSettingError(VReportMessageParams& error, uint32_t id, const VUnicodeString& setting,
                   const VUnicodeString* text, std::initializer_list<VUnicodeString> more) {
  error.Reset(id);
  error.AddInsert(setting);
  if (text) error.AddInsert(*text);
  for (const auto& insert : more) error.AddInsert(insert);
}
