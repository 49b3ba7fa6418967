#include "storage/ini/ini_file_data.h"

#include <cstring>

#include "platform/utf8_append.h"
#include "storage/model/profile_store.h"

namespace {

// "K:"name"=" and, for a number or a size, its eight lower-case hexadecimal digits.
void AppendHeader(std::string& out, char kind, std::string_view name, uint32_t number,
                  bool asNumber) {
  out.push_back(kind);
  out.append(":\"");
  out.append(name);
  out.append("\"=");
  if (!asNumber) return;
  static const char kDigits[] = "0123456789abcdef";
  char digits[8];
  for (int i = 7; i >= 0; --i) {
    digits[i] = kDigits[number & 15];
    number >>= 4;
  }
  out.append(digits, 8);
}

}  // namespace

bool VIniFileData::Write(VTextFile& file, const VUnicodeString& name) const {
  std::string bytes;
  AppendTo(bytes, name.ToUtf8());
  file.WriteAscii(bytes);
  return true;
}

void VIniFileDataDword::AppendTo(std::string& out, std::string_view utf8Name) const {
  AppendHeader(out, 'D', utf8Name, value_, true);
  out.append("\r\n");
}

void VIniFileDataString::AppendTo(std::string& out, std::string_view utf8Name) const {
  AppendHeader(out, 'S', utf8Name, 0, false);
  vtext::AppendAsUtf8(out, value_);
  out.append("\r\n");
}

void VIniFileDataExpandString::AppendTo(std::string& out, std::string_view utf8Name) const {
  AppendHeader(out, 'E', utf8Name, 0, false);
  vtext::AppendAsUtf8(out, Text());
  out.append("\r\n");
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

void VIniFileDataBinary::AppendTo(std::string& out, std::string_view utf8Name) const {
  AppendHeader(out, 'B', utf8Name, static_cast<uint32_t>(bytes_.size()), true);
  out.append("\r\n");
  // Thirty-two bytes to a line, each as a space and two lower-case digits.
  static const char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < bytes_.size(); ++i) {
    out.push_back(' ');
    out.push_back(kDigits[bytes_[i] >> 4]);
    out.push_back(kDigits[bytes_[i] & 15]);
    if ((i + 1) % 32 == 0 || i + 1 == bytes_.size()) out.append("\r\n");
  }
}

void VIniFileDataStringSz::AppendTo(std::string& out, std::string_view utf8Name) const {
  AppendHeader(out, 'Z', utf8Name, static_cast<uint32_t>(value_.GetSize()), true);
  out.append("\r\n");
  for (const auto& item : value_) {
    out.push_back(' ');
    vtext::AppendAsUtf8(out, item);
    out.append("\r\n");
  }
}

// Plain loops: these run for every value a configuration object saves, and a search for any of
// a set of characters costs several times more on 16-bit text.
bool VIsStorableIniName(std::u16string_view name) {
  if (name.empty()) return false;
  for (char16_t c : name) {
    if (c == u'"' || c == u'\r' || c == u'\n') return false;
  }
  return true;
}

bool VIsStorableIniText(std::u16string_view text) {
  for (char16_t c : text) {
    if (c == u'\r' || c == u'\n') return false;
  }
  return true;
}

std::unique_ptr<VIniFileData> VCopyIniData(const VIniFileData& data) {
  switch (data.GetType()) {
    case kProfileTypeDword: {
      uint32_t value = 0;
      data.GetDword(value);
      return std::make_unique<VIniFileDataDword>(value);
    }
    case kProfileTypeString: {
      VUnicodeString value;
      data.GetString(value);
      if (data.IsExpandable()) return std::make_unique<VIniFileDataExpandString>(std::move(value));
      return std::make_unique<VIniFileDataString>(std::move(value));
    }
    case kProfileTypeBinary: {
      uint32_t size = 0;
      data.GetBinary(nullptr, size);
      std::vector<uint8_t> bytes(size);
      data.GetBinary(bytes.data(), size);
      return std::make_unique<VIniFileDataBinary>(bytes.data(), size);
    }
    default: {
      VStringArray value;
      data.GetMultiSz(value);
      return std::make_unique<VIniFileDataStringSz>(std::move(value));
    }
  }
}

bool VSameIniData(const VIniFileData& a, const VIniFileData& b) {
  if (a.GetType() != b.GetType() || a.IsExpandable() != b.IsExpandable()) return false;
  switch (a.GetType()) {
    case kProfileTypeDword: {
      uint32_t first = 0;
      uint32_t second = 0;
      return a.GetDword(first) && b.GetDword(second) && first == second;
    }
    case kProfileTypeString: {
      // Compared where they are: a save compares every string it writes again.
      auto* first = dynamic_cast<const VIniFileDataString*>(&a);
      auto* second = dynamic_cast<const VIniFileDataString*>(&b);
      if (first && second) return first->Text() == second->Text();
      VUnicodeString one;
      VUnicodeString other;
      return a.GetString(one) && b.GetString(other) && one == other;
    }
    case kProfileTypeBinary: {
      uint32_t firstSize = 0;
      uint32_t secondSize = 0;
      if (!a.GetBinary(nullptr, firstSize) || !b.GetBinary(nullptr, secondSize) ||
          firstSize != secondSize)
        return false;
      std::vector<uint8_t> first(firstSize);
      std::vector<uint8_t> second(secondSize);
      return a.GetBinary(first.data(), firstSize) && b.GetBinary(second.data(), secondSize) &&
             first == second;
    }
    default: {
      VStringArray first;
      VStringArray second;
      if (!a.GetMultiSz(first) || !b.GetMultiSz(second) || first.GetSize() != second.GetSize())
        return false;
      for (size_t i = 0; i < first.GetSize(); ++i) {
        if (first[i] != second[i]) return false;
      }
      return true;
    }
  }
}
