// What a key lists, for tests that compare listings: names (UTF-8) and kinds in the store's order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "storage/model/profile_store.h"

using KeyEntries = std::vector<std::pair<std::string, int>>;

// The values of `key` (or its sub-keys, when `values` is false) with their kinds.
inline KeyEntries ListEntries(const VProfileKey& key, bool values) {
  KeyEntries out;
  VProfileKeyIterator iterator(key, values);
  VUnicodeString name;
  int type = -1;
  while (iterator.Next(name, type)) out.emplace_back(name.ToUtf8(), type);
  return out;
}
