#include "config/database/folder_data.h"

#include <algorithm>

namespace {

// Case-insensitive order; names that differ only in case keep a fixed order among themselves, as
// the folder store lists them.
bool NameLess(const VUnicodeString& a, const VUnicodeString& b) {
  int order = vtext::CompareNoCase(a, b);
  return order != 0 ? order < 0 : a < b;
}

}  // namespace

bool IsFolderDataName(std::u16string_view name) {
  return vtext::EqualsNoCase(name, kFolderDataKey);
}

bool IsSessionKey(const VProfileKey& key) {
  VDword isSession = 0;
  return key.ReadDword(kIsSessionValue, isSession) && isSession != 0;
}

VStringArray ProfileFolderData::Order(std::vector<VUnicodeString> found,
                                      std::u16string_view stored) {
  VStringArray ordered;
  std::vector<bool> taken(found.size(), false);
  size_t start = 0;
  while (start <= stored.size()) {
    size_t end = stored.find(kListSeparator, start);
    if (end == std::u16string_view::npos) end = stored.size();
    std::u16string_view listed = stored.substr(start, end - start);
    start = end + 1;
    if (listed.empty()) continue;
    // An exact spelling wins over one that differs in case, so that two names differing only in
    // case each keep their own place.
    size_t match = found.size();
    for (size_t i = 0; i < found.size(); ++i) {
      if (taken[i]) continue;
      if (found[i] == listed) {
        match = i;
        break;
      }
      if (match == found.size() && vtext::EqualsNoCase(found[i], listed)) match = i;
    }
    if (match == found.size()) continue;  // gone since the list was written
    taken[match] = true;
    ordered.Add(found[match]);
  }
  std::vector<VUnicodeString> rest;
  for (size_t i = 0; i < found.size(); ++i) {
    if (!taken[i]) rest.push_back(std::move(found[i]));
  }
  std::sort(rest.begin(), rest.end(), NameLess);
  for (auto& name : rest) ordered.Add(std::move(name));
  return ordered;
}

VUnicodeString ProfileFolderData::Join(const VStringArray& names) {
  VUnicodeString joined;
  for (const auto& name : names) {
    if (!joined.empty()) joined.push_back(kListSeparator);
    joined += name;
  }
  return joined;
}

bool ProfileFolderData::Build(VProfileKey& folder, bool hideDotNames) {
  std::vector<VUnicodeString> sessions;
  std::vector<VUnicodeString> folders;
  {
    VProfileKeyIterator iterator(folder, false);
    VUnicodeString name;
    int type = -1;
    while (iterator.Next(name, type)) {
      if (hideDotNames && !name.empty() && name[0] == u'.') continue;
      if (IsFolderDataName(name)) continue;
      bool isSession = false;
      if (type == kProfileTypeFileKey || type == kProfileTypeFolderFileKey) {
        // A folder store keeps a session as a value file and a folder as a folder only.
        isSession = true;
      } else if (type == kProfileTypeFolderKey) {
        isSession = false;
      } else {
        VProfileKey sub(folder, name.c_str());
        isSession = IsSessionKey(sub);
      }
      (isSession ? sessions : folders).push_back(name);
    }
  }

  VUnicodeString storedSessions;
  VUnicodeString storedFolders;
  bool hasSessions = false;
  bool hasFolders = false;
  isExpanded_ = false;
  if (folder.SubKeyExists(kFolderDataKey)) {
    VProfileKey data(folder, kFolderDataKey);
    hasSessions = data.ReadString(kSessionList, storedSessions);
    hasFolders = data.ReadString(kFolderList, storedFolders);
    VDword expanded = 0;
    isExpanded_ = data.ReadDword(kIsExpanded, expanded) && expanded != 0;
  }
  sessions_ = Order(std::move(sessions), storedSessions);
  folders_ = Order(std::move(folders), storedFolders);

  VUnicodeString sessionList = Join(sessions_);
  VUnicodeString folderList = Join(folders_);
  if (hasSessions && hasFolders && sessionList == storedSessions && folderList == storedFolders)
    return false;
  if (!folder.CanWrite()) return false;
  // Every store makes the sub-key when a value is written into it.
  VProfileKey data(folder, kFolderDataKey);
  bool written = data.WriteString(kSessionList, sessionList.c_str()) &&
                 data.WriteString(kFolderList, folderList.c_str());
  // The listing stands whether or not the order could be kept; a read-only folder is listed too.
  return data.Flush() && written;
}
