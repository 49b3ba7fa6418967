#include "platform/unicode_string.h"
#include "platform/utf8_append.h"

#include <string.h>

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

VUnicodeString::~VUnicodeString() {
  if (sensitive_) Wipe();
}

void VUnicodeString::Wipe() {
  // Zero the whole buffer, including the unused capacity that may hold an older, longer secret.
  resize(capacity(), u'\0');
  explicit_bzero(data(), size() * sizeof(char16_t));
  clear();
}

VUnicodeString& VUnicodeString::operator=(const VUnicodeString& other) {
  if (this != &other) {
    if (sensitive_ && other.size() < size()) Wipe();
    std::u16string::operator=(other);
    sensitive_ = sensitive_ || other.sensitive_;
  }
  return *this;
}

VUnicodeString& VUnicodeString::operator=(VUnicodeString&& other) noexcept {
  if (this != &other) {
    if (sensitive_) Wipe();
    std::u16string::operator=(std::move(other));
    sensitive_ = sensitive_ || other.sensitive_;
  }
  return *this;
}

VUnicodeString& VUnicodeString::operator=(const char16_t* text) {
  return *this = std::u16string_view(text ? text : u"");
}

VUnicodeString& VUnicodeString::operator=(std::u16string_view text) {
  if (sensitive_ && text.size() < size()) Wipe();
  assign(text);
  return *this;
}

VUnicodeString& VUnicodeString::operator=(std::u16string&& text) {
  if (sensitive_) Wipe();
  std::u16string::operator=(std::move(text));
  return *this;
}

VUnicodeString VUnicodeString::FromUtf8(std::string_view utf8) {
  return VUnicodeString(vtext::FromUtf8(utf8));
}

std::string VUnicodeString::ToUtf8() const { return vtext::ToUtf8(*this); }

void VStringArray::RemoveAt(size_t index) {
  if (index >= items_.size()) throw VOutOfRange("VStringArray index out of range");
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void VStringArray::InsertAt(size_t index, const VUnicodeString& item) {
  if (index > items_.size()) throw VOutOfRange("VStringArray index out of range");
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), item);
}

VUnicodeString& VStringArray::operator[](size_t index) {
  if (index >= items_.size()) throw VOutOfRange("VStringArray index out of range");
  return items_[index];
}

const VUnicodeString& VStringArray::operator[](size_t index) const {
  if (index >= items_.size()) throw VOutOfRange("VStringArray index out of range");
  return items_[index];
}

namespace vtext {
namespace {

// Decodes one UTF-8 sequence at `pos`; returns the code point or -1 when malformed, and advances
// `pos` past the sequence (or by one byte when malformed).
int32_t DecodeUtf8(std::string_view s, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  uint8_t b0 = byte(pos);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  int extra;
  int32_t cp;
  int32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, cp = b0 & 0x07, min = 0x10000;
  } else {
    ++pos;
    return -1;
  }
  if (pos + static_cast<size_t>(extra) >= s.size()) {
    ++pos;
    return -1;
  }
  for (int i = 1; i <= extra; ++i) {
    uint8_t b = byte(pos + static_cast<size_t>(i));
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return -1;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return -1;
  }
  pos += static_cast<size_t>(extra) + 1;
  return cp;
}


void AppendUtf16(std::u16string& out, uint32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Characters 0x80..0x9F of Windows-1252; the five undefined positions map to themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsValidUtf8(std::string_view bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    // Settings files are mostly ASCII: sixteen, then eight bytes at a time while no high bit is
    // set.
#if defined(__SSE2__)
    while (pos + 16 <= bytes.size()) {
      __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + pos));
      if (_mm_movemask_epi8(chunk)) break;
      pos += 16;
    }
#endif
    while (pos + 8 <= bytes.size()) {
      uint64_t word = 0;
      memcpy(&word, bytes.data() + pos, sizeof word);
      if (word & 0x8080808080808080ull) break;
      pos += 8;
    }
    if (pos >= bytes.size()) break;
    if (static_cast<uint8_t>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    if (DecodeUtf8(bytes, pos) < 0) return false;
  }
  return true;
}

std::u16string FromUtf8(std::string_view utf8) {
  // Names and values are mostly ASCII: the leading ASCII run is widened in one go.
  size_t ascii = 0;
  while (ascii < utf8.size() && static_cast<uint8_t>(utf8[ascii]) < 0x80) ++ascii;
  std::u16string out(ascii, u'\0');
  for (size_t i = 0; i < ascii; ++i) out[i] = static_cast<char16_t>(utf8[i]);
  if (ascii == utf8.size()) return out;
  out.reserve(utf8.size());
  size_t pos = ascii;
  while (pos < utf8.size()) {
    uint8_t b = static_cast<uint8_t>(utf8[pos]);
    if (b < 0x80) {
      out.push_back(b);
      ++pos;
      continue;
    }
    int32_t cp = DecodeUtf8(utf8, pos);
    AppendUtf16(out, cp < 0 ? 0xFFFD : static_cast<uint32_t>(cp));
  }
  return out;
}

bool Utf16ToUtf8Strict(std::u16string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
    AppendUtf8(out, c);
  }
  return true;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  AppendAsUtf8(out, text);
  return out;
}

void AppendAsUtf8(std::string& out, std::u16string_view text) {
  size_t ascii = 0;
  while (ascii < text.size() && text[ascii] < 0x80) ++ascii;
  const size_t start = out.size();
  out.resize(start + ascii);
  for (size_t i = 0; i < ascii; ++i) out[start + i] = static_cast<char>(text[i]);
  if (ascii == text.size()) return;
  out.reserve(out.size() + (text.size() - ascii) + 8);
  for (size_t i = ascii; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
}

std::u16string FromWindows1252(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    uint8_t b = static_cast<uint8_t>(ch);
    out.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b));
  }
  return out;
}

std::u16string FromNarrow(std::string_view bytes) {
  return IsValidUtf8(bytes) ? FromUtf8(bytes) : FromWindows1252(bytes);
}

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A alternates upper/lower case, with a shift of parity after U+0138.
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
      return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;
    }
    if (c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
      return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
    }
    return c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  return c;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
  size_t n = std::min(a.size(), b.size());
  // Characters that are the same fold the same: the common start (long in sorted listings of
  // numbered names) is passed over without folding.
  size_t i = 0;
  while (i < n && a[i] == b[i]) ++i;
  for (; i < n; ++i) {
    char16_t x = a[i];
    char16_t y = b[i];
    // ASCII letters are folded here; other characters go through the full table.
    if ((x | y) < 0x80) {
      if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
      if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    } else {
      x = FoldCase(x);
      y = FoldCase(y);
    }
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::u16string FormatHex(uint32_t value, int digits, bool upper) {
  const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::u16string out(static_cast<size_t>(digits), u'0');
  for (int i = digits - 1; i >= 0 && value != 0; --i) {
    out[static_cast<size_t>(i)] = static_cast<char16_t>(alphabet[value & 0xF]);
    value >>= 4;
  }
  return out;
}

}  // namespace vtext
