// Copies of values between keys of different stores, for building a session out of a settings
// file and a local session without writing anything until it is whole.
#pragma once

#include "storage/model/profile_store.h"

// Copies every value of `source` into `destination`, and its sub-keys (created) the same way;
// with `onlyMissing` a value whose name `destination` has already is left as it is. Nothing is
// flushed: the caller decides when the destination reaches storage. False when a value could
// not be read or written; `destination.GetLastError()` or `error` tells why.
bool CopyKeyValues(VProfileKey& destination, const VProfileKey& source, bool onlyMissing,
                   VReportMessageParams& error);

// Whether `key` holds a value named `name` of any kind.
bool KeyHasValue(const VProfileKey& key, const char16_t* name);
