// UTF-16 strings used throughout the library, and the conversions between them and the byte
// encodings found in configuration files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Raised for an index outside an array: a programming error, never an expected failure.
class VOutOfRange : public std::out_of_range {
 public:
  explicit VOutOfRange(const char* what) : std::out_of_range(what) {}
};

// A UTF-16 string. Strings that held secrets are marked sensitive and their buffer is wiped when
// the string is released or overwritten, so that passwords do not linger in freed memory.
class VUnicodeString : public std::u16string {
 public:
  VUnicodeString() = default;
  VUnicodeString(const char16_t* text) : std::u16string(text ? text : u"") {}  // NOLINT
  VUnicodeString(const char16_t* text, size_t length) : std::u16string(text, length) {}
  VUnicodeString(std::u16string_view text) : std::u16string(text) {}  // NOLINT
  VUnicodeString(const std::u16string& text) : std::u16string(text) {}  // NOLINT
  VUnicodeString(std::u16string&& text) : std::u16string(std::move(text)) {}  // NOLINT
  VUnicodeString(const VUnicodeString& other) : std::u16string(other), sensitive_(other.sensitive_) {}
  VUnicodeString(VUnicodeString&& other) noexcept
      : std::u16string(std::move(other)), sensitive_(other.sensitive_) {}
  ~VUnicodeString();

  VUnicodeString& operator=(const VUnicodeString& other);
  VUnicodeString& operator=(VUnicodeString&& other) noexcept;
  VUnicodeString& operator=(const char16_t* text);
  VUnicodeString& operator=(std::u16string_view text);
  VUnicodeString& operator=(const std::u16string& text) { return *this = std::u16string_view(text); }
  VUnicodeString& operator=(std::u16string&& text);

  // Decodes UTF-8; invalid sequences become U+FFFD.
  static VUnicodeString FromUtf8(std::string_view utf8);
  std::string ToUtf8() const;

  void SetSensitive(bool sensitive) { sensitive_ = sensitive; }
  bool IsSensitive() const { return sensitive_; }
  // Overwrites the contents with zeros and empties the string.
  void Wipe();

  const char16_t* GetString() const { return c_str(); }
  size_t GetLength() const { return size(); }
  bool IsEmpty() const { return empty(); }

 private:
  bool sensitive_ = false;
};

// An array of strings; an index outside it raises VOutOfRange.
class VStringArray {
 public:
  VStringArray() = default;
  VStringArray(std::initializer_list<VUnicodeString> items) : items_(items) {}

  size_t GetSize() const { return items_.size(); }
  bool IsEmpty() const { return items_.empty(); }
  void Add(const VUnicodeString& item) { items_.push_back(item); }
  void Add(VUnicodeString&& item) { items_.push_back(std::move(item)); }
  void RemoveAll() { items_.clear(); }
  void RemoveAt(size_t index);
  void InsertAt(size_t index, const VUnicodeString& item);
  VUnicodeString& operator[](size_t index);
  const VUnicodeString& operator[](size_t index) const;

  bool operator==(const VStringArray& other) const { return items_ == other.items_; }
  bool operator!=(const VStringArray& other) const { return !(*this == other); }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<VUnicodeString> items_;
};

namespace vtext {

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
// Strict conversion used where a malformed surrogate must fail the operation (key derivation).
bool Utf16ToUtf8Strict(std::u16string_view text, std::string& out);
std::string ToUtf8(std::u16string_view text);
// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint);
std::u16string FromUtf8(std::string_view utf8);
// Windows-1252, the code page of text files written on Western Windows systems.
std::u16string FromWindows1252(std::string_view bytes);
// Converts text for an 8-bit interface: UTF-8 when valid, else Windows-1252.
std::u16string FromNarrow(std::string_view bytes);

// Simple case folding of one UTF-16 unit (Latin, Greek and Cyrillic letters).
char16_t FoldCase(char16_t c);
// Compares without regard to case; a shorter string sorts first on an equal prefix.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix);

// Orders strings without regard to case, for maps keyed that way.
struct LessNoCase {
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    return CompareNoCase(a, b) < 0;
  }
};

std::u16string FormatHex(uint32_t value, int digits, bool upper = false);

}  // namespace vtext

// Literal helper for code that mostly deals in UTF-8: VUnicodeString u = U8("text").
inline VUnicodeString U8(std::string_view utf8) { return VUnicodeString::FromUtf8(utf8); }
