#include "crypto/legacy_secret.h"

#include "crypto/blowfish_string.h"
#include "crypto/capi_form.h"
#include "crypto/config_passphrase.h"
#include "crypto/encoded_form.h"

namespace {

// Migration reads the Blowfish form with the cipher defaults.
constexpr int kBlowfishMigrationMode = 0;

bool Decode(const VUnicodeString& stored, VLegacySecretDecoder decoder, VUnicodeString& plaintext,
            VReportMessageParams& error) {
  if (std::u16string_view(stored).substr(0, kCapiPrefix.size()) == kCapiPrefix)
    return DecodeCapiForm(stored, plaintext, error);
  switch (decoder) {
    case VLegacySecretDecoder::Blowfish:
      return VBlowfishString::Decode(stored, kBlowfishMigrationMode, plaintext, error);
    case VLegacySecretDecoder::Encoded:
      return DecodeScrambledHex(stored, plaintext, error);
    case VLegacySecretDecoder::Plain:
      plaintext = stored;
      return true;
  }
  return false;
}

}  // namespace

VLegacySecretResult CarryLegacySecret(VProfileKey& key, const char16_t* oldName,
                                      VLegacySecretDecoder decoder, const char16_t* newName,
                                      VEncryptedString& value, VReportMessageParams& error) {
  VUnicodeString stored;
  stored.SetSensitive(true);
  if (!key.ReadString(oldName, stored)) return VLegacySecretResult::Absent;

  // The old value is blanked only once its secret is safe under the new name: a value this
  // account cannot decode (another user's protected value) or cannot re-encrypt yet (no
  // passphrase) stays, so that it is not lost.
  VUnicodeString plaintext;
  plaintext.SetSensitive(true);
  if (!Decode(stored, decoder, plaintext, error)) return VLegacySecretResult::Undecodable;
  if (IsConfigPassphraseDisabled()) return VLegacySecretResult::Disabled;

  VEncryptedString current;
  if (key.ReadString(newName, current) && !current.empty()) {
    // A current value exists already (written by a newer release): it wins. An empty one is no
    // value: a save while the old one could not be carried (the passphrase disabled, say) writes
    // the new name empty, and letting that win would blank the only copy of the secret.
  } else {
    current.SetRandomSource(value.GetRandomSource());
    if (!current.SetPlaintext(plaintext, GetConfigPassphrase(), error))
      return VLegacySecretResult::Failed;
    if (!key.WriteString(newName, current.c_str())) {
      error.Assign(key.GetLastError());
      return VLegacySecretResult::Failed;
    }
  }
  if (!stored.empty() && !key.WriteString(oldName, u"")) {
    error.Assign(key.GetLastError());
    return VLegacySecretResult::Failed;
  }
  static_cast<VUnicodeString&>(value) = current;
  return VLegacySecretResult::Carried;
}
