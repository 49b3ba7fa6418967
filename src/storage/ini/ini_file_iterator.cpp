#include "storage/ini/ini_file_iterator.h"

#include <algorithm>

#include "storage/model/disk_name.h"
#include "platform/win32_errors.h"

namespace {

// Whether a file name ends in ".ini" in any case, read on its bytes: the four characters are
// ASCII, and no other character folds to one of them.
bool HasIniExtension(std::string_view name) {
  if (name.size() < 4) return false;
  std::string_view end = name.substr(name.size() - 4);
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return end[0] == '.' && lower(end[1]) == 'i' && lower(end[2]) == 'n' && lower(end[3]) == 'i';
}

// Case-insensitive order; names that differ only in case keep a fixed order among themselves.
bool EntryLess(const VIniFileKey::Iterator::Entry& a, const VIniFileKey::Iterator::Entry& b) {
  int order = vtext::CompareNoCase(a.name, b.name);
  return order != 0 ? order < 0 : a.name < b.name;
}

}  // namespace

VIniFileKey::Iterator::Iterator(std::vector<Entry> entries, VIniFileKey* owner, bool sorted)
    : entries_(std::move(entries)), key_(owner) {
  order_.resize(entries_.size());
  for (uint32_t i = 0; i < order_.size(); ++i) order_[i] = i;
  // Value names are case-sensitive, so two values differing only in case are both listed.
  if (!sorted) {
    std::stable_sort(order_.begin(), order_.end(),
                     [this](uint32_t a, uint32_t b) { return EntryLess(entries_[a], entries_[b]); });
  }
}

bool VIniFileKey::Iterator::Next(VUnicodeString& name, int& type) {
  while (next_ < order_.size()) {
    const Entry& entry = entries_[order_[next_++]];
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
    const std::string& folder, ListingHint* hint, uint32_t* error) {
  std::vector<vfs::FolderEntry> listing;
  std::vector<Entry> entries;
  if (error) *error = 0;
  if (VStatus listed = vfs::ListFolder(folder, listing); !listed.ok()) {
    if (error && listed.Code() != win32::kFileNotFound && listed.Code() != win32::kPathNotFound)
      *error = listed.Code();
    return entries;
  }
  entries.reserve(listing.size());
  for (const auto& item : listing) {
    std::string_view name = item.name;
    int type;
    if (item.isDirectory && item.isLink) {
      continue;
    } else if (item.isDirectory) {
      type = kProfileTypeFolderKey;
    } else if (name.size() >= 5 && HasIniExtension(name)) {
      name.remove_suffix(4);
      type = kProfileTypeFileKey;
    } else {
      continue;
    }
    entries.push_back({VUnicodeString(VKeyNameFromDisk(name, listing)), type});
  }
  if (hint) {
    // The listing comes sorted by name; its names are not needed any more and move over.
    size_t folders = 0;
    for (const auto& item : listing) folders += item.isDirectory ? 1 : 0;
    hint->folders.reserve(folders);
    hint->files.reserve(listing.size() - folders);
    for (auto& item : listing) {
      auto& names = !item.isDirectory ? hint->files : item.isLink ? hint->links : hint->folders;
      names.push_back(std::move(item.name));
    }
    hint->made = ListingClock();
  }
  // A folder and a value file of the same name without regard to case are one sub-key. The
  // listing's byte order is usually the case-insensitive order already (names of one case, with
  // digits), and is then kept as it is: a stable sort would leave it unchanged anyway.
  // One comparison of each neighbouring pair tells both whether the order holds and whether any
  // names fold together; a listing with neither, the usual case, is then used as it stands.
  bool sorted = true;
  bool folded = false;
  for (size_t i = 1; i < entries.size() && sorted; ++i) {
    int order = vtext::CompareNoCase(entries[i - 1].name, entries[i].name);
    sorted = order <= 0;
    folded = folded || order == 0;
  }
  if (sorted && !folded) return entries;
  auto less = [](const Entry& a, const Entry& b) { return vtext::CompareNoCase(a.name, b.name) < 0; };
  if (!sorted) std::stable_sort(entries.begin(), entries.end(), less);
  size_t kept = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (kept > 0 && vtext::EqualsNoCase(entries[kept - 1].name, entries[i].name)) {
      if (entries[kept - 1].type != entries[i].type) entries[kept - 1].type = kProfileTypeFolderFileKey;
      continue;
    }
    if (kept != i) entries[kept] = std::move(entries[i]);
    ++kept;
  }
  entries.resize(kept);
  return entries;
}
