#include "crypto/passphrase_check.h"

#include "crypto/crypto_messages.h"

bool IsConfigPassphraseCorrect(const VEncryptedString& checkValue, std::u16string_view candidate) {
  if (checkValue.empty()) return false;
  VUnicodeString plaintext;
  plaintext.SetSensitive(true);
  return checkValue.GetPlaintext(candidate, plaintext) && plaintext == candidate;
}

bool MakeConfigPassphraseCheckValue(std::u16string_view passphrase, VEncryptedString& checkValue,
                                    VReportMessageParams& error) {
  VEncryptedString made;
  made.SetRandomSource(checkValue.GetRandomSource());
  if (!made.SetPlaintext(passphrase, passphrase, error)) return false;
  checkValue = made;
  return true;
}

bool ValidateNewPassphrase(std::u16string_view entry, std::u16string_view confirmation,
                           bool allowEmpty, VReportMessageParams& error) {
  if (entry != confirmation) {
    error.Reset(crypto_messages::kPassphrasesDoNotMatch);
    return false;
  }
  if (entry.empty() && !allowEmpty) {
    error.Reset(crypto_messages::kPassphraseEmpty);
    return false;
  }
  return true;
}

bool ValidateEnteredPassphrase(std::u16string_view entry, const VPassphraseVerifier& verify,
                               VReportMessageParams& error) {
  if (entry.empty()) {
    error.Reset(crypto_messages::kPassphraseEmpty);
    return false;
  }
  if (!verify(entry)) {
    error.Reset(crypto_messages::kPassphraseNotCorrect);
    return false;
  }
  return true;
}

bool ValidatePassphraseChange(VPassphraseChange& change, const VPassphraseVerifier& verify,
                              VReportMessageParams& error) {
  if (change.mode != VPassphraseChangeMode::Reset && !verify(change.current)) {
    error.Reset(crypto_messages::kPassphraseNotCorrect);
    return false;
  }
  if (change.mode == VPassphraseChangeMode::Remove) {
    change.newPassphrase.Wipe();
    change.confirmation.Wipe();
    return true;
  }
  return ValidateNewPassphrase(change.newPassphrase, change.confirmation, true, error);
}
