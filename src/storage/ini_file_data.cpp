#include "storage/ini_file_data.h"

#include <cstring>

namespace {

void WriteHeader(VTextFile& file, char kind, const VUnicodeString& name, uint32_t number,
                 bool asNumber) {
  std::u16string line;
  line.reserve(name.size() + 16);
  line.push_back(static_cast<char16_t>(kind));
  line += u":\"";
  line += name;
  line += u"\"=";
  if (asNumber) line += vtext::FormatHex(number, 8);
  file.WriteLine(line);
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool ParseHex8(std::u16string_view text, uint32_t& value) {
  if (text.size() != 8) return false;
  value = 0;
  for (char16_t c : text) {
    int digit = HexValue(c);
    if (digit < 0) return false;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return true;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

// Reads the body lines of a byte block of `count` bytes.
bool ReadBinaryBody(VTextFile::LineReader& lines, uint32_t count, std::vector<uint8_t>& bytes) {
  bytes.clear();
  bytes.reserve(count < 65536 ? count : 65536);  // a hostile count must not reserve gigabytes
  while (bytes.size() < count) {
    std::u16string_view line;
    if (!lines.Next(line) || line.empty()) return false;
    size_t i = 0;
    bool any = false;
    while (i < line.size()) {
      if (IsSpace(line[i])) {
        ++i;
        continue;
      }
      if (i + 1 >= line.size()) return false;
      int hi = HexValue(line[i]);
      int lo = HexValue(line[i + 1]);
      if (hi < 0 || lo < 0) return false;
      if (bytes.size() >= count) return false;  // the line would overrun the count
      bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
      any = true;
      i += 2;
    }
    if (!any) return false;
  }
  return true;
}

}  // namespace

bool VIniFileDataDword::Write(VTextFile& file, const VUnicodeString& name) const {
  WriteHeader(file, 'D', name, value_, true);
  return true;
}

namespace {

void WriteTextLine(VTextFile& file, char16_t kind, const VUnicodeString& name,
                   const VUnicodeString& value) {
  std::u16string line;
  line.reserve(name.size() + value.size() + 5);
  line.push_back(kind);
  line += u":\"";
  line += name;
  line += u"\"=";
  line += value;
  file.WriteLine(line);
}

}  // namespace

bool VIniFileDataString::Write(VTextFile& file, const VUnicodeString& name) const {
  WriteTextLine(file, u'S', name, value_);
  return true;
}

bool VIniFileDataExpandString::Write(VTextFile& file, const VUnicodeString& name) const {
  VUnicodeString value;
  GetString(value);
  WriteTextLine(file, u'E', name, value);
  return true;
}

VIniFileDataBinary::VIniFileDataBinary(const void* data, uint32_t size) { SetBinary(data, size); }

bool VIniFileDataBinary::GetBinary(void* buffer, uint32_t& size) const {
  uint32_t length = static_cast<uint32_t>(bytes_.size());
  if (!buffer) {
    size = length;
    return true;
  }
  if (size < length) return false;
  if (length) std::memcpy(buffer, bytes_.data(), length);
  size = length;
  return true;
}

void VIniFileDataBinary::SetBinary(const void* data, uint32_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  bytes_.assign(p, p + (p ? size : 0));
}

bool VIniFileDataBinary::Write(VTextFile& file, const VUnicodeString& name) const {
  WriteHeader(file, 'B', name, static_cast<uint32_t>(bytes_.size()), true);
  static const char kDigits[] = "0123456789abcdef";
  std::string line;
  for (size_t i = 0; i < bytes_.size(); ++i) {
    line.push_back(' ');
    line.push_back(kDigits[bytes_[i] >> 4]);
    line.push_back(kDigits[bytes_[i] & 15]);
    if ((i + 1) % 32 == 0 || i + 1 == bytes_.size()) {
      line.append("\r\n");
      file.WriteAscii(line);
      line.clear();
    }
  }
  return true;
}

bool VIniFileDataStringSz::Write(VTextFile& file, const VUnicodeString& name) const {
  WriteHeader(file, 'Z', name, static_cast<uint32_t>(value_.GetSize()), true);
  std::u16string line;
  for (const auto& item : value_) {
    line.assign(u" ");
    line += item;
    file.WriteLine(line);
  }
  return true;
}

size_t VReadIniEntries(std::u16string_view text,
                       const std::function<void(VUnicodeString&&, std::unique_ptr<VIniFileData>&&)>&
                           take,
                       VIniLineKinds kinds) {
  VTextFile::LineReader lines(text);
  std::u16string_view line;
  size_t entryStart = lines.Position();
  for (;; entryStart = lines.Position()) {
    if (!lines.Next(line)) return text.size();
    if (line.size() < 5 || line[1] != u':' || line[2] != u'"') return entryStart;
    size_t quote = line.find(u'"', 3);
    if (quote == std::u16string_view::npos || quote + 1 >= line.size() || line[quote + 1] != u'=')
      return entryStart;
    VUnicodeString name(line.substr(3, quote - 3));
    std::u16string_view rest = line.substr(quote + 2);
    std::unique_ptr<VIniFileData> data;
    switch (line[0]) {
      case u'D': {
        uint32_t value = 0;
        if (!ParseHex8(rest, value)) return entryStart;
        data = std::make_unique<VIniFileDataDword>(value);
        break;
      }
      case u'S':
        data = std::make_unique<VIniFileDataString>(VUnicodeString(rest));
        break;
      case u'E':
        if (kinds != VIniLineKinds::Registry) return entryStart;
        data = std::make_unique<VIniFileDataExpandString>(VUnicodeString(rest));
        break;
      case u'B': {
        uint32_t count = 0;
        if (!ParseHex8(rest, count)) return entryStart;
        std::vector<uint8_t> bytes;
        if (!ReadBinaryBody(lines, count, bytes)) return entryStart;
        data = std::make_unique<VIniFileDataBinary>(bytes.data(), count);
        break;
      }
      case u'Z': {
        uint32_t count = 0;
        if (!ParseHex8(rest, count)) return entryStart;
        VStringArray items;
        for (uint32_t i = 0; i < count; ++i) {
          std::u16string_view item;
          if (!lines.Next(item) || item.empty() || item[0] != u' ') return entryStart;
          items.Add(VUnicodeString(item.substr(1)));
        }
        data = std::make_unique<VIniFileDataStringSz>(std::move(items));
        break;
      }
      default:
        return entryStart;
    }
    if (!name.empty()) take(std::move(name), std::move(data));
  }
}

bool VIsStorableIniName(std::u16string_view name) {
  return !name.empty() && name.find_first_of(u"\"\r\n") == std::u16string_view::npos;
}

bool VIsStorableIniText(std::u16string_view text) {
  return text.find_first_of(u"\r\n") == std::u16string_view::npos;
}
