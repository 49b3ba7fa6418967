#include "config/items/item_collection.h"

#include "storage/model/key_path.h"

namespace {

// One row per collection. The firewall "None" means a direct connection: the programs know it and
// nothing of it is kept. A user's button bars always offer "Default", so that the bar can be
// filled before anything was saved.
constexpr ItemCollectionInfo kCollections[] = {
    {ItemCollection::Firewalls, "firewall", u"Firewalls", u"Firewall Type", nullptr, u"None",
     nullptr},
    {ItemCollection::KeywordLists, "keyword list", u"Keywords", u"Keyword List V2",
     u"Keyword List", nullptr, nullptr},
    {ItemCollection::ButtonBars, "button bar", u"ButtonBarV5", nullptr, nullptr, nullptr,
     u"Default"},
    {ItemCollection::ScheduledTasks, "scheduled task", u"ScheduledTasks", nullptr, nullptr,
     nullptr, nullptr},
    {ItemCollection::SynchronizeEntries, "synchronize entry", u"SynchronizeDB", u"Task[0].Type",
     nullptr, nullptr, nullptr},
    // Filters carry the sessions' marker: a key below "Filters" without it is not one.
    {ItemCollection::Filters, "filter", u"Filters", u"Is Session", nullptr, nullptr, nullptr},
};

}  // namespace

const ItemCollectionInfo& GetItemCollectionInfo(ItemCollection collection) {
  for (const auto& info : kCollections) {
    if (info.collection == collection) return info;
  }
  throw VOutOfRange("no such item collection");
}

std::span<const ItemCollectionInfo> ItemCollections() { return kCollections; }

VUnicodeString ItemKeyPath(ItemCollection collection, std::u16string_view name) {
  return VKeyPath::Join(VUnicodeString(GetItemCollectionInfo(collection).key),
                        VUnicodeString(name));
}
