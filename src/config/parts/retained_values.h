// The values of a session's key that none of its parts knows: the settings of a protocol whose
// module is not loaded in this process, forms of a setting that a later release converts, values
// written by newer releases. They are kept as stored, so that a copy of the session (a clone, a
// session made from the template) carries them too, and so that their secrets follow a change
// of the configuration passphrase.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "storage/values/stored_value.h"

class VRetainedValues {
 public:
  // Takes every value of `key` for which `claimed` is false (nothing when `key` is null).
  void Load(const VProfileKey* key, const std::function<bool(std::u16string_view)>& claimed);
  // The same, where every name `surelyClaimed` holds (as spelt) is claimed without asking
  // `claimed`: the key leaves those out before making their names.
  void Load(const VProfileKey* key, const VValueNameSet& surelyClaimed,
            const std::function<bool(std::u16string_view)>& claimed);
  // Writes the values changed since the last load or save, or every value with `force` (a save
  // into another key). False when the key refused a write; the value is then tried again.
  bool Save(VProfileKey& key, bool force);
  bool IsModified() const;
  // Drops the values that a part of the session now knows (its protocol was chosen).
  void Forget(const std::function<bool(std::u16string_view)>& claimed);

  size_t Size() const { return values_.size(); }
  const VUnicodeString& NameAt(size_t index) const { return values_[index].name; }
  const VStoredValue& ValueAt(size_t index) const { return values_[index].value; }

  // The secrets among them: texts in the current encrypted form.
  std::vector<size_t> SecretIndexes() const;
  // Replaces a secret's stored text (after re-encryption); it is written at the next save.
  void SetSecretText(size_t index, const VUnicodeString& storedText);

 private:
  struct Value {
    VUnicodeString name;
    VStoredValue value;
    bool modified = false;
  };
  std::vector<Value> values_;
};
