#include "marrowby/page_state_map.h"

#include <iterator>

bool VPropertyPageStateMap::Lookup(const VUnicodeString& key, VPropertyPageState& state) const {
  auto it = states_.find(key);
  if (it == states_.end()) return false;
  state = it->second;
  return true;
}

void VPropertyPageStateMap::Set(const VUnicodeString& key, const VPropertyPageState& state) {
  states_[key] = state;
}

bool VPropertyPageStateMap::RemoveKey(const VUnicodeString& key) { return states_.erase(key) != 0; }

const VUnicodeString& VPropertyPageStateMap::GetKey(size_t index) const {
  if (index >= states_.size()) throw VOutOfRange("page state index");
  return std::next(states_.begin(), static_cast<std::ptrdiff_t>(index))->first;
}
