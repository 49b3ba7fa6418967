#include "storage/ini/ini_entry_scan.h"

#include <cstring>

namespace {

using namespace ini_scan_detail;

VUnicodeString Wide(std::string_view utf8) { return VUnicodeString(vtext::FromUtf8(utf8)); }

}  // namespace

std::string_view VIniTextAsUtf8(std::string_view bytes, std::string& storage) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    std::string_view text = bytes.substr(3);
    if (vtext::IsValidUtf8(text)) return text;
    storage = vtext::ToUtf8(vtext::FromUtf8(text));
    return storage;
  }
  if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
    storage = vtext::ToUtf8(VTextFile::Decode(bytes));
    return storage;
  }
  if (vtext::IsValidUtf8(bytes)) return bytes;
  storage = vtext::ToUtf8(vtext::FromWindows1252(bytes));
  return storage;
}

std::unique_ptr<VIniFileData> VMakeIniData(const VIniRawEntry& entry) {
  switch (entry.kind) {
    case 'D': return std::make_unique<VIniFileDataDword>(entry.number);
    case 'S': return std::make_unique<VIniFileDataString>(Wide(entry.rest));
    case 'E': return std::make_unique<VIniFileDataExpandString>(Wide(entry.rest));
    case 'B': {
      std::vector<uint8_t> bytes(entry.number);
      Lines lines{entry.body};
      BinaryBody(lines, entry.number, bytes.data());
      return std::make_unique<VIniFileDataBinary>(bytes.data(), entry.number);
    }
    case 'Z': {
      VStringArray items;
      Lines lines{entry.body};
      std::string_view item;
      for (uint32_t i = 0; i < entry.number && lines.Next(item); ++i) items.Add(Wide(item.substr(1)));
      return std::make_unique<VIniFileDataStringSz>(std::move(items));
    }
    default: return nullptr;
  }
}
