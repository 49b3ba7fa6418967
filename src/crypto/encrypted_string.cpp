#include "crypto/encrypted_string.h"

#include "crypto/config_passphrase.h"
#include "crypto/v2_codec.h"

void VEncryptedString::SetRandomSource(IRandomSource* random) {
  if (random) random->AddRef();
  random_ = VRef<IRandomSource>(random);
}

bool VEncryptedString::SetPlaintext(std::u16string_view plaintext, std::u16string_view passphrase,
                                    VReportMessageParams& error) {
  // An empty stored text also "decrypts" to the empty plaintext, but it means that nothing was
  // ever saved; encrypting the empty plaintext must still produce a real value (a check value
  // for an empty passphrase, for one, has to be told apart from no check value at all).
  if (!empty()) {
    VUnicodeString current;
    VReportMessageParams ignored;
    if (CryptUtils::DecryptV2String(*this, passphrase, current, ignored) && current == plaintext)
      return true;
  }
  VUnicodeString text;
  if (!CryptUtils::EncryptV2String(plaintext, passphrase, random_.Get(), text, error)) return false;
  VUnicodeString::operator=(std::move(text));
  return true;
}

bool VEncryptedString::SetPlaintext(std::u16string_view plaintext, std::u16string_view passphrase) {
  VReportMessageParams error;
  return SetPlaintext(plaintext, passphrase, error);
}

bool VEncryptedString::GetPlaintext(std::u16string_view passphrase, VUnicodeString& plaintext,
                                    VReportMessageParams& error) const {
  return CryptUtils::DecryptV2String(*this, passphrase, plaintext, error);
}

bool VEncryptedString::GetPlaintext(std::u16string_view passphrase, VUnicodeString& plaintext) const {
  VReportMessageParams error;
  return GetPlaintext(passphrase, plaintext, error);
}

bool UpdateProfileEncryptedString(VEncryptedString& value, std::u16string_view plaintext) {
  if (IsConfigPassphraseDisabled()) return false;
  return value.SetPlaintext(plaintext, GetConfigPassphrase());
}

VUnicodeString GetProfileEncryptedPlaintextString(const VEncryptedString& value) {
  VUnicodeString plaintext;
  plaintext.SetSensitive(true);
  if (IsConfigPassphraseDisabled()) return plaintext;
  if (!value.GetPlaintext(GetConfigPassphrase(), plaintext)) plaintext.Wipe();
  return plaintext;
}
