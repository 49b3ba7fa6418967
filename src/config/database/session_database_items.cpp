// The named items of the item database: firewalls, keyword lists, button bars, scheduled tasks
// and synchronize entries.
#include <algorithm>

#include "config/parts/key_chain.h"
#include "config/database/session_database.h"
#include "platform/app_info.h"
#include "platform/win32_errors.h"

namespace {

bool Matches(const char16_t* provided, std::u16string_view name) {
  return provided && vtext::EqualsNoCase(provided, name);
}

// An item is one key below its collection: a name that is empty or holds a backslash (which some
// stores read as a path) names none.
bool IsItemName(std::u16string_view name) {
  return !name.empty() && name.find(SessionDatabase::kPathSeparator) == std::u16string_view::npos;
}

bool HasValue(const VProfileKey& key, std::u16string_view wanted) {
  VProfileKeyIterator values(key, true);
  VUnicodeString name;
  while (values.Next(name)) {
    if (name == wanted) return true;
  }
  return false;
}

bool CarriesMarker(const VProfileKey& item, const ItemCollectionInfo& info) {
  if (!info.marker) return true;
  return HasValue(item, info.marker) || (info.olderMarker && HasValue(item, info.olderMarker));
}

bool NameLess(const VUnicodeString& a, const VUnicodeString& b) {
  int order = vtext::CompareNoCase(a, b);
  return order != 0 ? order < 0 : a < b;
}

// An object of defaults for a name the programs provide.
VRef<NamedItemConfig> Provided(ItemCollection collection, const VUnicodeString& name) {
  VRef<NamedItemConfig> item(CreateNamedItemConfig(collection, name));
  item->Load(nullptr, VGetDerivedProductId());
  return item;
}

}  // namespace

bool SessionDatabase::ItemExists(ItemCollection collection, const VUnicodeString& name) {
  const ItemCollectionInfo& info = GetItemCollectionInfo(collection);
  if (Matches(info.virtualName, name) || Matches(info.alwaysListed, name)) return true;
  if (!IsItemName(name)) return false;
  std::unique_ptr<VProfileStore> store = OpenStore(true);
  KeyChain chain(*store->GetRootKey());
  return chain.Open(info.key) && chain.Open(name) && CarriesMarker(chain.Key(), info);
}

VStringArray SessionDatabase::ListItems(ItemCollection collection) {
  const ItemCollectionInfo& info = GetItemCollectionInfo(collection);
  std::vector<VUnicodeString> names;
  {
    std::unique_ptr<VProfileStore> store = OpenStore(true);
    KeyChain chain(*store->GetRootKey());
    if (chain.Open(info.key)) {
      VProfileKeyIterator iterator(chain.Key(), false);
      VUnicodeString name;
      while (iterator.Next(name)) {
        // A stored key under a provided name is never loaded, so it is not offered either.
        if (Matches(info.virtualName, name)) continue;
        VProfileKey item(chain.Key(), name.c_str());
        if (CarriesMarker(item, info)) names.push_back(name);
      }
    }
  }
  if (info.alwaysListed &&
      std::none_of(names.begin(), names.end(),
                   [&](const VUnicodeString& name) { return Matches(info.alwaysListed, name); }))
    names.emplace_back(info.alwaysListed);
  std::sort(names.begin(), names.end(), NameLess);
  VStringArray list;
  for (auto& name : names) list.Add(std::move(name));
  return list;
}

VRef<NamedItemConfig> SessionDatabase::LoadItem(ItemCollection collection,
                                                const VUnicodeString& name) {
  const ItemCollectionInfo& info = GetItemCollectionInfo(collection);
  // The built-in firewall is read from nothing, whatever the store holds.
  if (Matches(info.virtualName, name)) return Provided(collection, info.virtualName);
  if (!IsItemName(name)) return VRef<NamedItemConfig>();
  std::unique_ptr<VProfileStore> store = OpenStore(true);
  KeyChain chain(*store->GetRootKey());
  if (!chain.Open(info.key) || !chain.Open(name)) {
    if (Matches(info.alwaysListed, name)) return Provided(collection, info.alwaysListed);
    return VRef<NamedItemConfig>();
  }
  if (!CarriesMarker(chain.Key(), info)) return VRef<NamedItemConfig>();
  VRef<NamedItemConfig> item(CreateNamedItemConfig(collection, name));
  item->LoadItem(chain.Key(), VGetDerivedProductId());
  return item;
}

bool SessionDatabase::SaveItem(NamedItemConfig& item, VReportMessageParams& error, bool force) {
  const ItemCollectionInfo& info = GetItemCollectionInfo(item.GetCollection());
  const VUnicodeString& name = item.GetItemName();
  if (Matches(info.virtualName, name)) return true;
  if (!IsItemName(name)) {
    error.Reset(win32::kInvalidName);
    return false;
  }
  std::unique_ptr<VProfileStore> store = OpenStore(false);
  VProfileKey& root = *store->GetRootKey();
  // Every store makes a key when a value is written into it.
  VProfileKey collectionKey(root, info.key);
  VReportMessageParams* refused = nullptr;
  bool valid = collectionKey.ValidateSubKeyName(name.c_str(), &refused);
  if (!valid) {
    if (refused) error = *refused;
    else error.Reset(win32::kInvalidName);
  }
  if (refused) refused->Release();
  if (!valid) return false;
  if (!item.SaveItem(collectionKey, force, error)) return false;
  if (!root.Flush()) {
    error = root.GetLastError();
    return false;
  }
  return true;
}

bool SessionDatabase::DeleteItem(ItemCollection collection, const VUnicodeString& name,
                                 VReportMessageParams& error) {
  const ItemCollectionInfo& info = GetItemCollectionInfo(collection);
  if (Matches(info.virtualName, name) || !IsItemName(name)) {
    error.Reset(win32::kInvalidName);
    return false;
  }
  std::unique_ptr<VProfileStore> store = OpenStore(false);
  KeyChain chain(*store->GetRootKey());
  if (!chain.Open(info.key)) {
    error.Reset(win32::kFileNotFound);
    return false;
  }
  VProfileKey& collectionKey = chain.Key();
  bool writable = false;
  {
    // Opened only once it is known to exist (some stores make a key in memory by opening it),
    // and let go before it is deleted.
    KeyChain item(collectionKey);
    if (!item.Open(name) || !CarriesMarker(item.Key(), info)) {
      error.Reset(win32::kFileNotFound);
      return false;
    }
    writable = item.Key().CanWrite();
  }
  if (!writable) {
    error.Reset(win32::kAccessDenied);
    return false;
  }
  if (!collectionKey.DeleteSubKey(name.c_str()) || !collectionKey.Flush()) {
    error = collectionKey.GetLastError();
    if (!error.IsError()) error.Reset(win32::kAccessDenied);
    return false;
  }
  return true;
}
