// The record of a passphrase change under way. Re-encrypting every secret takes a while, and a
// process stopped part way would leave some secrets under the old passphrase and the rest under
// the new one, with only the old one named by the check value on disk. The record, kept in the
// global configuration from before the first secret is touched until after the new check value
// is saved, names the new passphrase (by its check value) and holds the old one encrypted under
// the new, so that whoever next gives the new passphrase can finish the change.
//
// The old passphrase is kept under the new one and never the other way round: a passphrase is
// often changed because the old one got out, and the new one must not be readable with it.
#pragma once

#include <optional>
#include <string_view>

#include "crypto/encrypted_string.h"
#include "report/report_message_params.h"

struct VPassphraseChangeRecord {
  VEncryptedString newCheck;  // the check value of the passphrase being changed to
  // The old passphrase encrypted under the new one; empty on a reset (no old passphrase: the
  // secrets it still hides are given up).
  VEncryptedString previous;
  bool reset = false;
};

// Writes the record to the store before a change touches any secret. False, with nothing
// changed, when it cannot be written: the change must then not start.
bool WritePassphraseChangeRecord(std::optional<std::u16string_view> oldPassphrase,
                                 std::u16string_view newPassphrase,
                                 const VEncryptedString& newCheck, VReportMessageParams& error);
// The record as the store has it now; false when no change is under way.
bool ReadPassphraseChangeRecord(VPassphraseChangeRecord& record);
// Removes the record once the change is complete (or undone). Nothing to remove is no failure.
bool ClearPassphraseChangeRecord(VReportMessageParams& error);

// True when `candidate` is the passphrase the recorded change goes to.
bool IsRecordedNewPassphrase(const VPassphraseChangeRecord& record, std::u16string_view candidate);
// The old passphrase of the recorded change, read with the new one (nothing on a reset). False
// when the record does not open under `newPassphrase`.
bool RecoverOldPassphrase(const VPassphraseChangeRecord& record, std::u16string_view newPassphrase,
                          std::optional<VUnicodeString>& oldPassphrase);
