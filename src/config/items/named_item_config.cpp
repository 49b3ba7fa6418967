#include "config/items/named_item_config.h"

#include "config/highlight/filter_config.h"
#include "config/highlight/highlight_config.h"
#include "config/items/firewall_config.h"
#include "config/transfer/scheduled_task_config.h"
#include "config/transfer/synchronize_config.h"

bool NamedItemConfig::SaveItem(VProfileKey& collectionKey, bool force,
                               VReportMessageParams& error) {
  VProfileKey item(collectionKey, itemName_.c_str(), SaveKeyFlags(collectionKey));
  bool saved = Save(item, force);
  if (!saved) error = item.GetLastError();
  // Written now rather than when the key goes, so that a refused write is reported.
  if (!item.Flush()) {
    if (saved) error = item.GetLastError();
    saved = false;
  }
  if (!collectionKey.Flush()) {
    if (saved) error = collectionKey.GetLastError();
    saved = false;
  }
  return saved;
}

const VMemberTable& ItemSnapshotConfig::GetMemberTable() const {
  static const VMemberTable table{std::span<const VMemberRow>()};
  return table;
}

void ItemSnapshotConfig::OnBeforeLoad(const VProfileKey* key) {
  Node node;
  if (key) VProfileSubkeyCopy::ReadNode(*key, node);
  node.name = GetItemName();
  contents_ = node;
  saved_ = node;
}

bool ItemSnapshotConfig::Save(VProfileKey& key, bool force) {
  if (!VProfileSubkeyCopy::WriteNode(key, contents_)) return false;
  saved_ = contents_;
  return true;
}

int ItemSnapshotConfig::SaveKeyFlags(const VProfileKey& collectionKey) const {
  return IsEmpty() && !collectionKey.SubKeyExists(GetItemName().c_str()) ? kProfileKeyCreate : 0;
}

void ItemSnapshotConfig::CopyValue(const VProfileData& other) {
  auto* same = dynamic_cast<const ItemSnapshotConfig*>(&other);
  if (same && same != this && same->GetCollection() == GetCollection())
    contents_ = same->contents_;
}

NamedItemConfig* CreateNamedItemConfig(ItemCollection collection, const VUnicodeString& itemName) {
  // Each kind's own object takes its place here as it comes.
  switch (collection) {
    case ItemCollection::Firewalls:
      return new FirewallConfig(itemName);
    case ItemCollection::ScheduledTasks:
      return new ScheduledTaskConfig(itemName);
    case ItemCollection::SynchronizeEntries:
      return new SynchronizeConfig(itemName);
    case ItemCollection::KeywordLists:
      return new HighlightConfig(itemName);
    case ItemCollection::Filters:
      return new FilterConfig(itemName);
    case ItemCollection::ButtonBars:
      break;
  }
  return new ItemSnapshotConfig(collection, itemName);
}
