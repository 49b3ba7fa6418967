#include "storage/ini/ini_file_data.h"

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




// Reads the body lines of a byte block of `count` bytes.

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

bool VIsStorableIniName(std::u16string_view name) {
  return !name.empty() && name.find_first_of(u"\"\r\n") == std::u16string_view::npos;
}

bool VIsStorableIniText(std::u16string_view text) {
  return text.find_first_of(u"\r\n") == std::u16string_view::npos;
}
