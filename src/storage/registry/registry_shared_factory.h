// The one registry factory of the process. It is made on first use, pointed at the root of the
// maker's settings, and re-pointed by whoever uses it next (see VRegistryStoreFactory::Set).
#pragma once

#include "storage/registry/registry_store.h"

// The shared factory, made on first use (safely from any thread).
VRegistryStoreFactory& VGetRegistryStoreFactory();

// The root the shared factory starts from: the first of the current user's and then the
// machine's "SOFTWARE\Tolvane", then the same for "SOFTWARE\Tol Vane Technologies", that can be
// opened for reading; the current user's "SOFTWARE\Tolvane" when none can.
void VChooseRegistryRoot(VRegistryHive& hive, VUnicodeString& path);

// Drops the shared factory so that the next use makes it again (tests change the environment
// between cases). A reference obtained before is no longer valid.
void VResetRegistryStoreFactory();
