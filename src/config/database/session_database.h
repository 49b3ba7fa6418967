// The item database: the one place that knows where saved sessions and the other named items
// live in the profile, how an item is told from other keys, and how items are listed, tested,
// loaded and saved by name. The host owns the process's one instance (session_database_instance.h);
// all of its threads share it.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "config/database/folder_data.h"
#include "config/items/named_item_config.h"
#include "platform/unknown.h"
#include "storage/model/profile_store.h"

// A folder of the tree that is there but could not be read, and why (a Win32 code).
struct SkippedFolder {
  VUnicodeString path;
  uint32_t error = 0;
};

// What a search over the session tree needs: the sessions and the sub-folders of a folder, named
// by its path ("" the root, "Lab\Routers" below it), in display order. False when there is no
// such folder.
class ISessionListing {
 public:
  virtual ~ISessionListing() = default;
  virtual bool ListSessions(const VUnicodeString& folder, VStringArray& names) = 0;
  virtual bool ListFolders(const VUnicodeString& folder, VStringArray& names) = 0;
  // Hands each session name of `folder`, in display order, to `visit`, which must not call back
  // into the listing. A search reads every name of the tree once, and a listing that keeps its
  // names can lend them rather than copy them. By default the names are listed and then handed.
  virtual bool VisitSessions(const VUnicodeString& folder,
                             const std::function<void(const VUnicodeString& name)>& visit) {
    VStringArray names;
    if (!ListSessions(folder, names)) return false;
    for (const auto& name : names) visit(name);
    return true;
  }
  // Hands every session of the tree to `visit` with the path of its folder, in no set order,
  // leaving out what the listings leave out; returns the folders that could not be read. By
  // default each folder is asked for by its path, nearest the root first.
  virtual std::vector<SkippedFolder> VisitAllSessions(
      const std::function<void(const VUnicodeString& folder, const VUnicodeString& name)>& visit);
};

class FirewallConfig;
class HighlightConfig;
class ScheduledTaskConfig;
class SynchronizeConfig;

class SessionDatabase : public ISessionListing {
 public:
  static constexpr const char16_t* kSessionsKey = u"Sessions";
  static constexpr char16_t kPathSeparator = u'\\';

  // Stores are made by `factory`, or by the registered factory when it is null.
  explicit SessionDatabase(VProfileStoreFactory* factory = nullptr) : factory_(factory) {}
  SessionDatabase(const SessionDatabase&) = delete;
  SessionDatabase& operator=(const SessionDatabase&) = delete;

  // ---- the session tree ----

  // Both answer from the cache, which reads a folder on its first request. Names that begin with
  // "." are left out while the global setting "Hide Dot Session Files" is on.
  bool ListSessions(const VUnicodeString& folder, VStringArray& names) override;
  bool ListFolders(const VUnicodeString& folder, VStringArray& names) override;
  // Visits the cached names while the cache is locked.
  bool VisitSessions(const VUnicodeString& folder,
                     const std::function<void(const VUnicodeString& name)>& visit) override;
  // What VisitAllSessions gives, found by one walk of the tree that lists each folder once and
  // reads no file, neither filling the cache nor consulting the folder data: for a search made
  // once, where the cache would be read and then thrown away. Searches repeated while the tree is
  // shown (VisitAllSessions itself) answer from the cache.
  std::vector<SkippedFolder> WalkAllSessionNames(
      const std::function<void(const VUnicodeString& folder, const VUnicodeString& name)>& visit);
  // The whole listing of a folder (sessions, sub-folders, whether it is shown expanded).
  bool GetFolderData(const VUnicodeString& folder, ProfileFolderData& data);

  // Forgets what the cache holds for `folder` and every folder below it. Creating, deleting or
  // renaming a session or folder changes the listing of the folder that holds it, which the cache
  // would otherwise keep showing; the caller invalidates that folder. A change to "Hide Dot
  // Session Files" calls for InvalidateAll.
  void InvalidateFolder(const VUnicodeString& folder);
  void InvalidateAll();

  // A session: the key exists and its "Is Session" is set. A folder: the key exists and is not a
  // session ("" is the root, which exists once "Sessions" does).
  bool SessionExists(const VUnicodeString& path);
  bool FolderExists(const VUnicodeString& path);
  static bool IsSession(const VProfileKey& key) { return IsSessionKey(key); }

  // Called for each session with the path of its folder ("" at the root), its name and its open
  // key; returning false ends the walk.
  using SessionVisitor = std::function<bool(const VUnicodeString& folder,
                                            const VUnicodeString& name, VProfileKey& key)>;
  // Called for each folder below the start with its path, before its contents.
  using FolderVisitor = std::function<void(const VUnicodeString& path)>;
  // The same without the key: the walk then opens no session, which a listing tells apart
  // from a folder in a folder store.
  using NameVisitor = std::function<bool(const VUnicodeString& folder, const VUnicodeString& name)>;
  struct WalkOptions {
    VUnicodeString startFolder;  // "" for the whole tree
    bool writable = false;       // the visitor may change and save the sessions
    FolderVisitor onFolder;
    bool hideDotNames = false;   // leave out sessions and folders whose names begin with "."
  };
  struct WalkResult {
    bool started = false;  // the start folder exists
    bool stopped = false;  // a visitor ended the walk
    size_t sessions = 0;
    size_t folders = 0;
    // Folders that are there but could not be listed (below the longest path the system takes,
    // or not readable): what they hold is not visited, and the caller says so.
    std::vector<SkippedFolder> skipped;
  };
  // Visits every session below the start folder, depth first in key order. Symbolic links to
  // folders are not followed.
  WalkResult WalkSessions(const SessionVisitor& visit, const WalkOptions& options);
  WalkResult WalkSessions(const SessionVisitor& visit) {
    return WalkSessions(visit, WalkOptions());
  }
  WalkResult WalkSessionNames(const NameVisitor& visit, const WalkOptions& options);

  // A path with single backslashes between its levels and none at either end.
  static VUnicodeString NormalizePath(std::u16string_view path);
  static std::vector<VUnicodeString> SplitPath(std::u16string_view path);

  // ---- named items ----

  // Whether `name` is an item of `collection`: a sub-key that carries the collection's marker,
  // or a name the programs provide ("None" firewall, "Default" button bar).
  bool ItemExists(ItemCollection collection, const VUnicodeString& name);
  // The names of the collection's items in name order.
  VStringArray ListItems(ItemCollection collection);
  // The item loaded into its kind's object; empty when there is no such item. A provided name
  // that is not stored gives an object of defaults, read from nothing.
  VRef<NamedItemConfig> LoadItem(ItemCollection collection, const VUnicodeString& name);
  // Saves `item` under its name (the firewall "None" is never written). False with the reason in
  // `error`.
  bool SaveItem(NamedItemConfig& item, VReportMessageParams& error, bool force = false);
  // Deletes the item with everything below its key. False, with the reason, when there is no
  // such item, it is provided by the programs, or its key may not be written.
  bool DeleteItem(ItemCollection collection, const VUnicodeString& name,
                  VReportMessageParams& error);

  // ---- firewalls (their keys: ItemKeyPath(ItemCollection::Firewalls, name)) ----

  // "None" first, then every stored firewall in name order.
  VStringArray ListFirewalls();
  // The firewall named `name`: "None" is one of defaults, read from nothing; a key without
  // "Firewall Type" is none. Empty when there is no such firewall.
  VRef<FirewallConfig> OpenFirewall(const VUnicodeString& name);

  // ---- keyword lists (their keys: ItemKeyPath(ItemCollection::KeywordLists, name)) ----

  // The keyword list named `name`. Empty for the text that means no list (in any language the
  // catalogue has), for a name not stored, and for a key that holds no keyword list.
  VRef<HighlightConfig> OpenKeywordList(const VUnicodeString& name);
  // Whether `name` is the text shown for "no keyword list" in one of the catalogue's languages.
  static bool IsNoKeywordListName(std::u16string_view name);

  // ---- scheduled transfers and named synchronize profiles (session_database_transfer.cpp) ----

  // The names in name order.
  VStringArray ListScheduledTasks() { return ListItems(ItemCollection::ScheduledTasks); }
  VStringArray ListSynchronizeProfiles() { return ListItems(ItemCollection::SynchronizeEntries); }
  // The item named `name`; empty when there is none (a synchronize profile needs its
  // "Task[0].Type").
  VRef<ScheduledTaskConfig> OpenScheduledTask(const VUnicodeString& name);
  VRef<SynchronizeConfig> OpenSynchronizeConfig(const VUnicodeString& name);

 private:
  std::unique_ptr<VProfileStore> OpenStore(bool readOnly);
  WalkResult Walk(const SessionVisitor& visit, const NameVisitor& visitName,
                  const WalkOptions& options);
  // Reads a folder into the cache when it is not there; false when the folder does not exist.
  // Called with the mutex held.
  const ProfileFolderData* CachedFolder(const VUnicodeString& folder);
  static bool HideDotSessionFiles();

  VProfileStoreFactory* factory_;
  std::mutex mutex_;  // guards cache_
  std::map<VUnicodeString, ProfileFolderData> cache_;
};
