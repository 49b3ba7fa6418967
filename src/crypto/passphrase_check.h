// The configuration passphrase's check value: the passphrase encrypted under itself. A candidate
// is the passphrase when the check value decrypts under it to the candidate; this is how a
// passphrase is recognised without being stored anywhere. And the rules a person's entries must
// follow when a passphrase is chosen, changed, removed or reset, shared by every prompt.
#pragma once

#include <functional>
#include <string_view>

#include "crypto/encrypted_string.h"
#include "report/report_message_params.h"

// False for an empty check value: no passphrase, not even the empty one, was chosen yet.
bool IsConfigPassphraseCorrect(const VEncryptedString& checkValue, std::u16string_view candidate);
// The check value of `passphrase` (the empty passphrase has one too).
bool MakeConfigPassphraseCheckValue(std::u16string_view passphrase, VEncryptedString& checkValue,
                                    VReportMessageParams& error);

// Tells whether a candidate is the configuration's passphrase.
using VPassphraseVerifier = std::function<bool(std::u16string_view candidate)>;

// A new passphrase typed twice: the two must be equal and, unless `allowEmpty`, not empty.
bool ValidateNewPassphrase(std::u16string_view entry, std::u16string_view confirmation,
                           bool allowEmpty, VReportMessageParams& error);
// A passphrase typed to unlock the configuration: not empty, and correct.
bool ValidateEnteredPassphrase(std::u16string_view entry, const VPassphraseVerifier& verify,
                               VReportMessageParams& error);

enum class VPassphraseChangeMode {
  Change,  // the current passphrase, then a new one typed twice
  Remove,  // the current passphrase; the new one is empty
  Reset,   // a new one typed twice; the current one is not known, so secrets are not carried
};

struct VPassphraseChange {
  VPassphraseChange() {
    current.SetSensitive(true);
    newPassphrase.SetSensitive(true);
    confirmation.SetSensitive(true);
  }
  VPassphraseChangeMode mode = VPassphraseChangeMode::Change;
  VUnicodeString current;
  VUnicodeString newPassphrase;
  VUnicodeString confirmation;
};

// Checks the entries of the mode chosen (an empty new passphrase is accepted) and, for Remove,
// empties the new passphrase. False with the reason in `error`.
bool ValidatePassphraseChange(VPassphraseChange& change, const VPassphraseVerifier& verify,
                              VReportMessageParams& error);
