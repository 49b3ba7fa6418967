// The configuration passphrase of this process: the one every encrypted setting is read and
// written under, whether the user chose to run without it, and the flag that serialises entering
// it. All of it lives in the passphrase cache, shared with the user's other processes once the
// host asked for that at start-up, and private to this process until then (or when sharing is
// not possible).
#pragma once

#include "platform/shared_memory_cache.h"
#include "platform/unicode_string.h"
#include "report/report_message_params.h"

// The passphrase in use, or empty when none is known. The copy is marked sensitive.
VUnicodeString GetConfigPassphrase();
// Stores a passphrase; null empties it. A passphrase too long for the cache is refused and the
// previous one kept.
void SetConfigPassphrase(const char16_t* passphrase);
// The same, saying why a passphrase was refused.
bool StoreConfigPassphrase(const char16_t* passphrase, VReportMessageParams& error);
// True when the user chose to run without the passphrase: secrets then read as empty and new
// ones are not saved.
bool IsConfigPassphraseDisabled();
void SetConfigPassphraseDisabled(bool disabled);
// A passphrase is cached or the passphrase is disabled: a process already settled it.
bool IsConfigPassphraseSettled();

// Test and set of the flag that one process holds while it enters or changes the passphrase; the
// flag of a process that died is taken over. Release clears it when this process holds it.
bool TryTakeConfigPassphraseBusy();
void ReleaseConfigPassphraseBusy();

// Shares the cache with the user's other processes under `names` (see passphrase_cache.h). On
// failure this process keeps a private cache and `error` says why.
bool OpenSharedConfigPassphraseCache(const VSharedMemoryNames& names, VReportMessageParams& error);
// Lets the cache go (the last process to do so wipes and removes the shared one); later calls
// start with an empty private cache.
void CloseConfigPassphraseCache();
bool IsConfigPassphraseCacheShared();
// The processes holding the cache, this one included (1 for a private cache, 0 when none is open).
uint32_t GetConfigPassphraseCacheHolders();
