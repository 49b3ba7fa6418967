// A read-only key over values held in memory: lets a configuration object load from values it
// was handed (a session's values that no part claimed, another part's settings) through the same
// load as from a store, with the same defaults, conversions and clamps.
#pragma once

#include <memory>
#include <vector>

#include "storage/values/stored_value.h"

struct VNamedStoredValue {
  VUnicodeString name;
  VStoredValue value;
};

// A key whose values are `values` (names compared without regard to case; the first of a name
// counts). Writes are refused; it has no sub-keys.
std::unique_ptr<VProfileKey> MakeStoredValuesKey(std::vector<VNamedStoredValue> values);
