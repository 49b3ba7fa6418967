// Carrying a secret saved by an older release into the current form, once, when a configuration
// object loads: the old value is decoded, written again encrypted under the configuration
// passphrase under its new name, and blanked under its old name so that the weakly protected copy
// does not stay on disk.
#pragma once

#include "crypto/encrypted_string.h"
#include "storage/model/profile_store.h"

// How the older generation of a setting stored it. A value starting with "CAPI:" is read as the
// per-user protected form whatever its generation.
enum class VLegacySecretDecoder {
  Blowfish,  // "Monitor Password", "SCP Shell Password", "PGP Upload/Download Command"
  Encoded,   // "Login Script V2", "Firewall Password" without "CAPI:"
  Plain,     // "Login Script": kept as it was typed
};

enum class VLegacySecretResult {
  Absent,       // no value under the old name: nothing done
  Carried,      // the current value is in `value` and stored under the new name
  Disabled,     // the passphrase is disabled: nothing written, the old value kept for later
  Undecodable,  // the old value does not decode here: kept, since it may be another user's
  Failed,       // the store refused a write; `error` says why
};

// `oldName` is read from `key`; `newName` receives the encrypted value unless it holds a
// non-empty one already, in which case that one is kept and returned in `value`. On any result but Carried,
// `value` is left as it was.
VLegacySecretResult CarryLegacySecret(VProfileKey& key, const char16_t* oldName,
                                      VLegacySecretDecoder decoder, const char16_t* newName,
                                      VEncryptedString& value, VReportMessageParams& error);
