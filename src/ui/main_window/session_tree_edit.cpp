#include "ui/main_window/session_tree_edit.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "config/database/folder_data.h"
#include "config/database/session_database_instance.h"
#include "config/session/session_config.h"
#include "config/session/session_name.h"
#include "config/session/session_messages.h"
#include "config/session/session_store.h"
#include "platform/win32_errors.h"
#include "marrowby/ui_messages.h"
#include "storage/model/profile_store.h"
#include "ui/main_window/main_window_messages.h"

namespace session_tree {
namespace {

using namespace main_window_messages;

constexpr char16_t kSeparator = u'\\';

SessionDatabase& Database() {
  if (SessionDatabase* database = GetSessionDatabase()) return *database;
  static SessionDatabase own;  // a host without an exported instance
  return own;
}

VUnicodeString Join(const VUnicodeString& folder, const VUnicodeString& name) {
  if (folder.empty()) return name;
  VUnicodeString path = folder;
  path.push_back(kSeparator);
  path += name;
  return path;
}

// The path shown to the user: the folder's own path, or the tree's name for the top.
VUnicodeString Shown(const VUnicodeString& folder) {
  if (!folder.empty()) return folder;
  VReportMessageParams top(kSessionsRoot, VGetUiMessageModule());
  return top.GetTextTrimmed();
}

// `id` (the interface's catalogue) with `inserts`, then the reason when there is one.
void Say(VReportMessageParams& error, uint32_t id, std::initializer_list<VUnicodeString> inserts,
         VReportMessageParams* reason = nullptr) {
  VReportMessageParams message(id, VGetUiMessageModule());
  for (const auto& insert : inserts) message.AddInsert(insert);
  if (reason) message.AddInsert(reason->GetTextTrimmed());
  error = message;
}

// The keys from "Sessions" down to a folder of the tree, in one store.
class FolderKeys {
 public:
  FolderKeys(VProfileStore& store, const VUnicodeString& folder) {
    VProfileKey* parent = store.GetRootKey();
    // The top of the tree is always there: "Sessions" is made with the first item in it.
    exists_ = true;
    std::vector<VUnicodeString> levels = SessionDatabase::SplitPath(folder);
    const char16_t* level = SessionDatabase::kSessionsKey;
    for (size_t i = 0; exists_; ++i) {
      // Folders are opened as folders: a folder store then never makes a value file for one,
      // which would make it a session.
      keys_.push_back(std::make_unique<VProfileKey>(*parent, level, kProfileKeyCreate));
      parent = keys_.back().get();
      if (i == levels.size()) break;
      level = levels[i].c_str();
      if (!parent->SubKeyExists(level) || IsSessionKey(VProfileKey(*parent, level))) exists_ = false;
    }
  }
  bool Exists() const { return exists_; }
  VProfileKey& Key() { return *keys_.back(); }

 private:
  std::vector<std::unique_ptr<VProfileKey>> keys_;
  bool exists_ = false;
};

bool ItemExists(const TreeItem& item) {
  SessionDatabase& database = Database();
  VUnicodeString path = item.Path();
  return item.isFolder ? database.FolderExists(path) : database.SessionExists(path);
}

// The item is still there (another program may have changed the tree since it was shown) and,
// with `templateStays`, is not the template of new sessions.
bool MayChange(const TreeItem& item, bool templateStays, VReportMessageParams& error) {
  if (templateStays && IsTemplate(item)) {
    Say(error, kTemplateStays, {});
    return false;
  }
  if (!ItemExists(item)) {
    // The listing still shows it: it is read again, so the tree shows what is there now.
    Database().InvalidateFolder(item.folder);
    Say(error, kNoLongerExists, {item.Path()});
    return false;
  }
  return true;
}

// The display order of a folder's sessions and sub-folders: read before a change, edited, and
// written after it, so that the items keep the places the user gave them. When the order cannot
// be written the listing still shows every item (names not in it follow the others), so the
// change itself stands.
struct Order {
  std::vector<VUnicodeString> sessions;
  std::vector<VUnicodeString> folders;
  std::vector<VUnicodeString>& Of(bool isFolder) { return isFolder ? folders : sessions; }
};

Order ReadOrder(VProfileKey& folder) {
  ProfileFolderData data;
  data.Build(folder, false);
  Order order;
  order.sessions.assign(data.Sessions().begin(), data.Sessions().end());
  order.folders.assign(data.Folders().begin(), data.Folders().end());
  return order;
}

void WriteOrder(VProfileKey& folder, const Order& order) {
  VStringArray sessions;
  for (const auto& name : order.sessions) sessions.Add(name);
  VStringArray folders;
  for (const auto& name : order.folders) folders.Add(name);
  VProfileKey key(folder, kFolderDataKey);
  key.WriteString(ProfileFolderData::kSessionList, ProfileFolderData::Join(sessions).c_str());
  key.WriteString(ProfileFolderData::kFolderList, ProfileFolderData::Join(folders).c_str());
  key.Flush();
}

void Remove(std::vector<VUnicodeString>& names, const VUnicodeString& name) {
  names.erase(std::remove(names.begin(), names.end(), name), names.end());
}

// Copies the key `name` of `from` to `newName` of `to`; on failure, what was copied is removed
// again, so no half copy is left behind.
bool CopyKey(VProfileKey& from, const VUnicodeString& name, VProfileKey& to,
             const VUnicodeString& newName, bool isFolder, VReportMessageParams& reason) {
  VProfileCopyFailure failure;
  bool copied = false;
  {
    VProfileKey source(from, name.c_str(), 0);
    VProfileKey destination(to, newName.c_str(), isFolder ? kProfileKeyCreate : 0);
    copied = CopyProfileKey(destination, source, &failure) && destination.Flush();
    if (copied) {
      // A folder holding nothing would have nothing written: its order keeps it there.
      if (isFolder) WriteOrder(destination, ReadOrder(destination));
    } else if (!failure.error.IsError()) {
      failure.error = destination.GetLastError();
    }
  }
  if (copied) return true;
  reason = failure.error;
  if (!reason.IsError()) reason.SetError(win32::kWriteFault);
  if (to.SubKeyExists(newName.c_str())) {
    to.DeleteSubKey(newName.c_str());
    to.Flush();
  }
  return false;
}

bool RemoveKey(VProfileKey& parent, const VUnicodeString& name, VReportMessageParams& reason) {
  if (parent.DeleteSubKey(name.c_str()) && parent.Flush()) return true;
  reason = parent.GetLastError();
  if (!reason.IsError()) reason.SetError(win32::kWriteFault);
  return false;
}

void Replace(std::vector<VUnicodeString>& names, const VUnicodeString& old,
             const VUnicodeString& now) {
  auto it = std::find(names.begin(), names.end(), old);
  if (it != names.end()) *it = now;
  else names.push_back(now);
}

}  // namespace

VUnicodeString TreeItem::Path() const { return Join(folder, name); }

TreeItem ItemAt(const VUnicodeString& path, bool isFolder) {
  TreeItem item;
  VUnicodeString normal = SessionDatabase::NormalizePath(path);
  size_t last = normal.rfind(kSeparator);
  item.folder = last == VUnicodeString::npos ? VUnicodeString() : normal.substr(0, last);
  item.name = last == VUnicodeString::npos ? normal : normal.substr(last + 1);
  item.isFolder = isFolder;
  return item;
}

bool IsTemplate(const TreeItem& item) {
  return !item.isFolder && item.folder.empty() && vtext::EqualsNoCase(item.name, u"Default");
}

VUnicodeString FreeName(const VUnicodeString& folder, const VUnicodeString& base) {
  if (!SessionKeyExists(Join(folder, base))) return base;
  for (int n = 2;; ++n) {
    VReportMessageParams numbered(kNumberedName, VGetUiMessageModule());
    numbered.AddInsert(base);
    numbered.AddInsert(VUnicodeString::FromUtf8(std::to_string(n)));
    VUnicodeString name = numbered.GetTextTrimmed();
    if (!SessionKeyExists(Join(folder, name))) return name;
  }
}

namespace {

// The template is made of defaults before the first session is made from it, here rather than
// as a side effect of opening it, so that the caller knows the top level changed and reads its
// listing again.
bool MakeTemplate(bool& made, VReportMessageParams& reason) {
  made = false;
  if (Database().SessionExists(VUnicodeString(u"Default"))) return true;
  made = true;
  VRef<SessionConfig> defaults(new SessionConfig(VUnicodeString(u"Default")));
  defaults->SetSessionPath(VUnicodeString(u"Default"));
  defaults->LoadFromKey(nullptr);
  return SaveSessionAtPath(*defaults.Get(), VUnicodeString(u"Default"), true, reason);
}

}  // namespace

bool NewSession(const VUnicodeString& folder, const VUnicodeString& name, VReportMessageParams& error) {
  VReportMessageParams reason;
  VUnicodeString path = Join(folder, name);
  bool templateMade = false;
  if (!ValidateSessionName(folder, VUnicodeString(), name, false, nullptr, reason) ||
      !MakeTemplate(templateMade, reason) || !CreateSessionFromDefault(path, reason)) {
    Say(error, kSessionNotCreated, {path}, &reason);
    return false;
  }
  // The top is read again only when the template is new there: it holds every listing below it.
  Database().InvalidateFolder(templateMade ? VUnicodeString() : folder);
  return true;
}

bool NewFolder(const VUnicodeString& parent, const VUnicodeString& name, VReportMessageParams& error) {
  VReportMessageParams reason;
  VUnicodeString path = Join(parent, name);
  if (!ValidateSessionName(parent, VUnicodeString(), name, true, nullptr, reason)) {
    Say(error, kFolderNotCreated, {path}, &reason);
    return false;
  }
  {
    VProfileStore store(false, nullptr);
    FolderKeys keys(store, parent);
    if (!keys.Exists()) {
      Say(error, kNoLongerExists, {Shown(parent)});
      return false;
    }
    VProfileKey folder(keys.Key(), name.c_str(), kProfileKeyCreate);
    // The folder's own order makes it in every store, and keeps it a folder in a folder store.
    VProfileKey data(folder, kFolderDataKey);
    bool written = data.WriteString(ProfileFolderData::kSessionList, u"") &&
                   data.WriteString(ProfileFolderData::kFolderList, u"") && data.Flush() &&
                   folder.Flush() && keys.Key().Flush();
    if (!written) {
      reason = data.GetLastError();
      if (!reason.IsError()) reason.SetError(win32::kWriteFault);
      if (keys.Key().SubKeyExists(name.c_str())) {
        keys.Key().DeleteSubKey(name.c_str());
        keys.Key().Flush();
      }
      Say(error, kFolderNotCreated, {path}, &reason);
      return false;
    }
  }
  Database().InvalidateFolder(parent);
  return true;
}

bool Rename(const TreeItem& item, const VUnicodeString& newName, VReportMessageParams& error) {
  VUnicodeString path = item.Path();
  if (newName == item.name) return true;
  VReportMessageParams reason;
  if (!MayChange(item, true, error)) return false;
  if (!ValidateSessionName(item.folder, item.name, newName, item.isFolder, nullptr, reason)) {
    Say(error, kNotRenamed, {path, newName}, &reason);
    return false;
  }
  {
    VProfileStore store(false, nullptr);
    FolderKeys keys(store, item.folder);
    VProfileKey& parent = keys.Key();
    if (!VProfileKey(parent, item.name.c_str()).CanWrite()) {
      reason.Reset(kMsgSessionReadOnly);
      reason.AddInsert(path);
      Say(error, kNotRenamed, {path, newName}, &reason);
      return false;
    }
    // A change of case alone goes through a free name: the store finds keys without regard to
    // case, so the new name would be the old key.
    Order order = ReadOrder(parent);
    VUnicodeString target = newName;
    if (vtext::EqualsNoCase(item.name, newName)) target = FreeName(item.folder, newName + u".rename");
    if (!CopyKey(parent, item.name, parent, target, item.isFolder, reason)) {
      Say(error, kNotRenamed, {path, newName}, &reason);
      return false;
    }
    if (!RemoveKey(parent, item.name, reason)) {
      // Both are there now: the copy goes again, and the item stays as it was.
      VReportMessageParams ignored;
      RemoveKey(parent, target, ignored);
      Say(error, kNotRenamed, {path, newName}, &reason);
      return false;
    }
    // Should this second step fail, the item is kept under the free name: nothing is lost.
    if (target != newName && (!CopyKey(parent, target, parent, newName, item.isFolder, reason) ||
                              !RemoveKey(parent, target, reason))) {
      Database().InvalidateFolder(item.folder);
      Say(error, kNotRenamed, {path, newName}, &reason);
      return false;
    }
    Replace(order.Of(item.isFolder), item.name, newName);
    WriteOrder(parent, order);
  }
  Database().InvalidateFolder(item.folder);
  return true;
}

bool Delete(const TreeItem& item, VReportMessageParams& error) {
  VUnicodeString path = item.Path();
  VReportMessageParams reason;
  if (!MayChange(item, true, error)) return false;
  if (!item.isFolder) {
    if (!DeleteSessionAtPath(path, reason)) {
      Say(error, kNotDeleted, {path}, &reason);
      return false;
    }
  } else {
    VProfileStore store(false, nullptr);
    FolderKeys keys(store, item.folder);
    if (!RemoveKey(keys.Key(), item.name, reason)) {
      Say(error, kNotDeleted, {path}, &reason);
      return false;
    }
  }
  Database().InvalidateFolder(item.folder);
  return true;
}

bool Duplicate(const TreeItem& item, VUnicodeString& copyName, VReportMessageParams& error) {
  VUnicodeString path = item.Path();
  VReportMessageParams reason;
  if (!MayChange(item, false, error)) return false;
  copyName = FreeName(item.folder, item.name);
  {
    VProfileStore store(false, nullptr);
    FolderKeys keys(store, item.folder);
    Order order = ReadOrder(keys.Key());
    if (!CopyKey(keys.Key(), item.name, keys.Key(), copyName, item.isFolder, reason)) {
      Say(error, kNotDuplicated, {path}, &reason);
      return false;
    }
    std::vector<VUnicodeString>& names = order.Of(item.isFolder);
    Remove(names, copyName);
    auto it = std::find(names.begin(), names.end(), item.name);
    names.insert(it == names.end() ? it : it + 1, copyName);
    WriteOrder(keys.Key(), order);
  }
  Database().InvalidateFolder(item.folder);
  return true;
}

bool Move(const TreeItem& item, const VUnicodeString& folder, VReportMessageParams& error) {
  VUnicodeString path = item.Path();
  VUnicodeString target = SessionDatabase::NormalizePath(folder);
  VReportMessageParams reason;
  if (vtext::EqualsNoCase(target, item.folder)) return true;  // already there
  if (!MayChange(item, true, error)) return false;
  if (!Database().FolderExists(target)) {
    Say(error, kNoLongerExists, {Shown(target)});
    return false;
  }
  if (item.isFolder) {
    VUnicodeString below = path + u"\\";
    bool inside = vtext::EqualsNoCase(target, path) ||
                  (target.size() > below.size() &&
                   vtext::EqualsNoCase(VUnicodeString(target.substr(0, below.size())), below));
    if (inside) {
      reason = VReportMessageParams(kFolderIntoItself, VGetUiMessageModule());
      Say(error, kNotMoved, {path, Shown(target)}, &reason);
      return false;
    }
  }
  if (!ValidateSessionName(target, VUnicodeString(), item.name, item.isFolder, nullptr, reason)) {
    Say(error, kNotMoved, {path, Shown(target)}, &reason);
    return false;
  }
  {
    VProfileStore store(false, nullptr);
    FolderKeys from(store, item.folder);
    FolderKeys to(store, target);
    if (!VProfileKey(from.Key(), item.name.c_str()).CanWrite()) {
      reason.Reset(kMsgSessionReadOnly);
      reason.AddInsert(path);
      Say(error, kNotMoved, {path, Shown(target)}, &reason);
      return false;
    }
    Order order = ReadOrder(to.Key());
    if (!CopyKey(from.Key(), item.name, to.Key(), item.name, item.isFolder, reason)) {
      Say(error, kNotMoved, {path, Shown(target)}, &reason);
      return false;
    }
    if (!RemoveKey(from.Key(), item.name, reason)) {
      VReportMessageParams ignored;
      RemoveKey(to.Key(), item.name, ignored);
      Say(error, kNotMoved, {path, Shown(target)}, &reason);
      return false;
    }
    Remove(order.Of(item.isFolder), item.name);
    order.Of(item.isFolder).push_back(item.name);
    WriteOrder(to.Key(), order);
  }
  Database().InvalidateFolder(item.folder);
  Database().InvalidateFolder(target);
  return true;
}

void SetExpanded(const VUnicodeString& folder, bool expanded) {
  {
    VProfileStore store(false, nullptr);
    FolderKeys keys(store, folder);
    if (!keys.Exists()) return;
    // The lists are written with it, so that the folder data is whole from the first write.
    WriteOrder(keys.Key(), ReadOrder(keys.Key()));
    VProfileKey data(keys.Key(), kFolderDataKey);
    data.WriteDword(ProfileFolderData::kIsExpanded, expanded ? 1 : 0);
    data.Flush();
  }
  // Only this folder's own listing holds the flag; the folders below keep theirs.
  Database().InvalidateFolder(folder);
}

size_t CountSessions(const VUnicodeString& folder) {
  return ListSessionPaths(folder).size();
}

}  // namespace session_tree
