// The collections of named items kept below the root of the profile: where each lives, how an
// item is told from other sub-keys, and the names the programs provide without storing them.
#pragma once

#include <span>
#include <string_view>

#include "platform/unicode_string.h"

enum class ItemCollection {
  Firewalls,
  KeywordLists,
  ButtonBars,
  ScheduledTasks,
  SynchronizeEntries,
  Filters,
};

struct ItemCollectionInfo {
  ItemCollection collection;
  const char* word;             // how a person names the collection ("firewall")
  const char16_t* key;          // the collection's key below the root
  const char16_t* marker;       // a value every item carries; null: every sub-key is an item
  const char16_t* olderMarker;  // what older configurations carry instead, or null
  const char16_t* virtualName;  // provided by the programs and never stored, or null
  const char16_t* alwaysListed; // listed whether stored or not, or null
};

const ItemCollectionInfo& GetItemCollectionInfo(ItemCollection collection);
std::span<const ItemCollectionInfo> ItemCollections();

// The full key of an item: the collection's key, a backslash, the name.
VUnicodeString ItemKeyPath(ItemCollection collection, std::u16string_view name);
