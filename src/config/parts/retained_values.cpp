#include "config/parts/retained_values.h"

#include <algorithm>

namespace {

bool IsSecretText(const VStoredValue& value) {
  return value.type == kProfileTypeString && value.text.size() > 3 &&
         std::u16string_view(value.text).substr(0, 3) == u"02:";
}

}  // namespace

void VRetainedValues::Load(const VProfileKey* key,
                           const std::function<bool(std::u16string_view)>& claimed) {
  Load(key, VValueNameSet(), claimed);
}

void VRetainedValues::Load(const VProfileKey* key, const VValueNameSet& surelyClaimed,
                           const std::function<bool(std::u16string_view)>& claimed) {
  values_.clear();
  if (!key) return;
  // The order does not matter here, so the key is not asked to sort its names.
  key->ForEachValueNameExcept(surelyClaimed, [&](const VUnicodeString& name, int type) {
    if (claimed(name)) return;
    Value entry;
    entry.name = name;
    if (!ReadStoredValue(*key, name, type, entry.value)) return;
    if (entry.value.type == kProfileTypeString) entry.value.text.SetSensitive(true);
    values_.push_back(std::move(entry));
  });
}

bool VRetainedValues::Save(VProfileKey& key, bool force) {
  bool ok = true;
  for (Value& entry : values_) {
    if (!force && !entry.modified) continue;
    if (WriteStoredValue(key, entry.name, entry.value)) {
      entry.modified = false;
    } else {
      ok = false;
    }
  }
  return ok;
}

bool VRetainedValues::IsModified() const {
  return std::any_of(values_.begin(), values_.end(), [](const Value& v) { return v.modified; });
}

void VRetainedValues::Forget(const std::function<bool(std::u16string_view)>& claimed) {
  std::erase_if(values_, [&](const Value& v) { return claimed(v.name); });
}

std::vector<size_t> VRetainedValues::SecretIndexes() const {
  std::vector<size_t> out;
  for (size_t i = 0; i < values_.size(); ++i) {
    if (IsSecretText(values_[i].value)) out.push_back(i);
  }
  return out;
}

void VRetainedValues::SetSecretText(size_t index, const VUnicodeString& storedText) {
  Value& entry = values_.at(index);
  if (entry.value.text == storedText) return;
  entry.value.text = storedText;
  entry.value.text.SetSensitive(true);
  entry.modified = true;
}
