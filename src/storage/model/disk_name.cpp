#include "storage/model/disk_name.h"

std::string_view VSubKeyPartOfEntry(const vfs::FolderEntry& entry) {
  std::string_view name = entry.name;
  if (entry.isDirectory) return name;
  if (name.size() < 5) return {};
  std::string_view end = name.substr(name.size() - 4);
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  if (end[0] != '.' || lower(end[1]) != 'i' || lower(end[2]) != 'n' || lower(end[3]) != 'i')
    return {};
  return name.substr(0, name.size() - 4);
}

namespace {

// Whether another entry of `folder`, spelled in UTF-8, has `key` for its name without regard to case.
bool TakenInUtf8(const std::u16string& key, const std::vector<vfs::FolderEntry>& folder) {
  for (const auto& entry : folder) {
    std::string_view other = VSubKeyPartOfEntry(entry);
    if (other.empty() || !vtext::IsValidUtf8(other)) continue;
    if (vtext::EqualsNoCase(vtext::FromUtf8(other), key)) return true;
  }
  return false;
}

}  // namespace

std::u16string VKeyNameFromDisk(std::string_view name, const std::vector<vfs::FolderEntry>& folder) {
  if (vtext::IsValidUtf8(name)) return vtext::FromUtf8(name);
  std::u16string key = vtext::FromWindows1252(name);
  // Each candidate uses characters no other candidate (nor any Windows-1252 reading) uses, so
  // the names of different stray-byte entries differ whichever candidates they end with; a
  // folder needs one crafted UTF-8 entry per candidate to exhaust them.
  for (char16_t base = 0xF700; TakenInUtf8(key, folder) && base >= 0xE000; base -= 0x100) {
    key.clear();
    for (char c : name) {
      auto byte = static_cast<unsigned char>(c);
      key.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : static_cast<char16_t>(base + byte));
    }
  }
  return key;
}
