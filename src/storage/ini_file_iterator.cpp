#include "storage/ini_file_iterator.h"

#include <algorithm>
#include <map>

namespace {

// Case-insensitive order; names that differ only in case keep a fixed order among themselves.
bool EntryLess(const VIniFileKey::Iterator::Entry& a, const VIniFileKey::Iterator::Entry& b) {
  int order = vtext::CompareNoCase(a.name, b.name);
  return order != 0 ? order < 0 : a.name < b.name;
}

}  // namespace

VIniFileKey::Iterator::Iterator(std::vector<Entry> entries, VIniFileKey* owner)
    : entries_(std::move(entries)), key_(owner) {
  // Value names are case-sensitive, so two values differing only in case are both listed.
  std::stable_sort(entries_.begin(), entries_.end(), EntryLess);
}

bool VIniFileKey::Iterator::Next(VUnicodeString& name, int& type) {
  while (next_ < entries_.size()) {
    const Entry& entry = entries_[next_++];
    if (!StillHasValue(entry.name)) continue;
    name = entry.name;
    type = entry.type;
    return true;
  }
  return false;
}

bool VIniFileKey::Iterator::Next(VUnicodeString& name) {
  int type = 0;
  return Next(name, type);
}

std::vector<VIniFileKey::Iterator::Entry> VIniFileKey::Iterator::ListSubKeys(
    const std::string& folder) {
  std::vector<vfs::FolderEntry> listing;
  uint32_t error = 0;
  std::vector<Entry> entries;
  if (!vfs::ListFolder(folder, listing, error)) return entries;
  std::map<std::u16string, Entry, vtext::LessNoCase> merged;
  for (const auto& item : listing) {
    std::u16string name = vtext::FromUtf8(item.name);
    int type;
    if (item.isDirectory) {
      type = kProfileTypeFolderKey;
    } else if (name.size() >= 5 && vtext::EndsWithNoCase(name, u".ini")) {
      name.resize(name.size() - 4);
      type = kProfileTypeFileKey;
    } else {
      continue;
    }
    auto [it, inserted] = merged.try_emplace(name, Entry{VUnicodeString(name), type});
    if (!inserted && it->second.type != type) it->second.type = kProfileTypeFolderFileKey;
  }
  entries.reserve(merged.size());
  for (auto& [name, entry] : merged) entries.push_back(std::move(entry));
  return entries;
}
