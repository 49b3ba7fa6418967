#include "storage/model/key_cleanup.h"

#include <memory>

namespace {

// Opens the keys from the root to levels[0, count) without creating any; null when one of them
// is missing.
VProfileKey* OpenChain(VProfileStore& store, const std::vector<VUnicodeString>& levels,
                       size_t count, std::vector<std::unique_ptr<VProfileKey>>& keys) {
  VProfileKey* parent = store.GetRootKey();
  for (size_t i = 0; i < count; ++i) {
    if (!parent->SubKeyExists(levels[i].c_str())) return nullptr;
    keys.push_back(std::make_unique<VProfileKey>(*parent, levels[i].c_str(), 0));
    parent = keys.back().get();
  }
  return parent;
}

}  // namespace

void RemoveMadeKeys(VProfileStore& store, const std::vector<VUnicodeString>& levels,
                    size_t firstMade) {
  for (size_t made = levels.size(); made-- > firstMade;) {
    std::vector<std::unique_ptr<VProfileKey>> keys;
    VProfileKey* parent = OpenChain(store, levels, made, keys);
    if (!parent) return;
    if (!parent->SubKeyExists(levels[made].c_str())) continue;
    {
      VProfileKey key(*parent, levels[made].c_str(), 0);
      VUnicodeString name;
      if (VProfileKeyIterator(key, false).Next(name) || VProfileKeyIterator(key, true).Next(name))
        return;
    }
    if (!parent->DeleteSubKey(levels[made].c_str()) || !parent->Flush()) return;
  }
}

size_t FirstMissingLevel(VProfileStore& store, const std::vector<VUnicodeString>& levels) {
  std::vector<std::unique_ptr<VProfileKey>> keys;
  VProfileKey* parent = store.GetRootKey();
  for (size_t i = 0; i < levels.size(); ++i) {
    if (!parent->SubKeyExists(levels[i].c_str())) return i;
    keys.push_back(std::make_unique<VProfileKey>(*parent, levels[i].c_str(), 0));
    parent = keys.back().get();
  }
  return levels.size();
}
