// One value as a key stores it: its kind (the iterator's type code 0..3) and its contents. Used
// wherever a value is handled without knowing what setting it belongs to: the command line's
// key commands, the listings of configuration objects, copies between stores.
#pragma once

#include <cstdint>
#include <vector>

#include "storage/model/profile_store.h"

struct VStoredValue {
  int type = -1;  // kProfileTypeDword, kProfileTypeString, kProfileTypeBinary, kProfileTypeMultiSz
  VDword dword = 0;
  VUnicodeString text;
  std::vector<uint8_t> bytes;
  VStringArray list;

  static VStoredValue Dword(VDword value);
  static VStoredValue String(const VUnicodeString& value);
  static VStoredValue Binary(std::vector<uint8_t> value);
  static VStoredValue MultiSz(const VStringArray& value);

  // Equal when of the same kind with the same contents; the fields of other kinds do not count.
  bool operator==(const VStoredValue& other) const;
  bool operator!=(const VStoredValue& other) const { return !(*this == other); }
};

// Reads `name` as a value of kind `type`; false when it is absent, of another kind, or `type` is
// not one of the four kinds. `value` keeps `type` in any case.
bool ReadStoredValue(const VProfileKey& key, const VUnicodeString& name, int type,
                     VStoredValue& value);
// Writes `value` under `name` with the write operation of its kind; false for an unknown kind or
// when the key refuses the write (the reason is in the key's last error).
bool WriteStoredValue(VProfileKey& key, const VUnicodeString& name, const VStoredValue& value);
