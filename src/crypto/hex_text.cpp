#include "crypto/hex_text.h"

#include "crypto/clear_buffer.h"

namespace vhex {

void Append(std::u16string& out, const uint8_t* data, size_t length, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  out.reserve(out.size() + 2 * length);
  for (size_t i = 0; i < length; ++i) {
    out.push_back(static_cast<char16_t>(digits[data[i] >> 4]));
    out.push_back(static_cast<char16_t>(digits[data[i] & 0xF]));
  }
}

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool Decode(std::u16string_view text, VClearBuffer& out) {
  out.Resize(0);
  if (text.size() % 2 != 0) return false;
  out.Resize(text.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) {
    int high = DigitValue(text[2 * i]);
    int low = DigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) {
      out.Wipe();
      return false;
    }
    out.data()[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return true;
}

}  // namespace vhex
