// One folder of the session tree as the host shows it: its sessions and sub-folders in display
// order, and whether it is shown expanded. The order the user gave is kept in the folder's
// "__FolderData__" sub-key as two lists of names joined by ":".
#pragma once

#include <vector>

#include "storage/model/profile_store.h"

inline constexpr const char16_t* kFolderDataKey = u"__FolderData__";
inline constexpr const char16_t* kIsSessionValue = u"Is Session";

// True when `key` is a session: its "Is Session" value is there and not zero.
bool IsSessionKey(const VProfileKey& key);
// The folder data sub-key, whatever the case of its name (stores find keys that way too): never a
// session nor a folder.
bool IsFolderDataName(std::u16string_view name);

class ProfileFolderData {
 public:
  static constexpr const char16_t* kSessionList = u"Session List";
  static constexpr const char16_t* kFolderList = u"Folder List";
  static constexpr const char16_t* kIsExpanded = u"Is Expanded";
  static constexpr char16_t kListSeparator = u':';

  // Lists the sub-keys of `folder` (names beginning with "." left out when `hideDotNames`) and
  // orders them by the stored lists. The lists are written back when one was missing or no longer
  // matches what exists; a folder that cannot be written is still listed. Returns whether the
  // lists were written back.
  bool Build(VProfileKey& folder, bool hideDotNames);

  const VStringArray& Sessions() const { return sessions_; }
  const VStringArray& Folders() const { return folders_; }
  bool IsExpanded() const { return isExpanded_; }

  // The display order of `found`: the names of `stored` (a joined list) that were found, in the
  // list's order, then the others in name order. A name matches without regard to case and keeps
  // the spelling it was found with.
  static VStringArray Order(std::vector<VUnicodeString> found, std::u16string_view stored);
  static VUnicodeString Join(const VStringArray& names);

 private:
  VStringArray sessions_;
  VStringArray folders_;
  bool isExpanded_ = false;
};
