// Undoing what a refused or failed operation made on its way to a key.
#pragma once

#include <vector>

#include "storage/model/profile_store.h"

// Takes away the keys `levels[firstMade]` to `levels.back()` (a path from the root of `store`)
// that a failed operation created, innermost first, each only while it holds no value and no
// sub-key: a key that another process filled meanwhile, or that holds part of what was written,
// stays.
void RemoveMadeKeys(VProfileStore& store, const std::vector<VUnicodeString>& levels,
                    size_t firstMade);

// The position of the first level of `levels` that does not exist in `store`; levels.size()
// when every one does.
size_t FirstMissingLevel(VProfileStore& store, const std::vector<VUnicodeString>& levels);
