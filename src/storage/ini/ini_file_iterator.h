// Iteration over the sub-keys or the values of an INI key, in an order that ignores case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/ini/ini_file_key.h"

class VIniFileKey::Iterator : public VProfilePrivateKeyIterator {
 public:
  struct Entry {
    VUnicodeString name;
    int type;
  };
  // `owner` is the key whose values are listed (null for sub-keys): values deleted through it
  // after the iterator was made are skipped.
  Iterator(std::vector<Entry> entries, VIniFileKey* owner, bool sorted = false);
  bool Next(VUnicodeString& name, int& type) override;
  bool Next(VUnicodeString& name) override;

  // The sub-keys of a folder: sub-folders (type 5), files "*.ini" (type 6), or both (type 7),
  // names merged without regard to case.
  // With `hint`, also records the names on disk. Links to folders are not sub-keys. `error`
  // gets the reason a folder that is there could not be listed (0 when it was, or is missing).
  static std::vector<Entry> ListSubKeys(const std::string& folder, ListingHint* hint = nullptr,
                                        uint32_t* error = nullptr);

 private:
  bool StillHasValue(const VUnicodeString& name) const;
  std::vector<Entry> entries_;
  std::vector<uint32_t> order_;  // entries_ in listing order; sorting indexes moves no strings
  size_t next_ = 0;
  VIniFileKey* key_;
};
