#include "crypto/profile_secrets.h"

#include "crypto/capi_form.h"
#include "crypto/crypto_messages.h"
#include "crypto/encoded_form.h"

bool VProfileEncryptedString::SetFromText(const VUnicodeString& text, VReportMessageParams& error) {
  if (SetPlaintext(text)) return true;
  error.Reset(crypto_messages::kSecretNotSavedDisabled);
  error.AddInsert(GetName());
  return false;
}

namespace {

// Reads the stored text of a string in an older form and decodes it with `decode`.
template <class Decode>
bool ReadDecoded(const VProfileKey& key, const VUnicodeString& valueName, VUnicodeString* value,
                 Decode decode) {
  VUnicodeString stored;
  if (!key.ReadString(valueName.c_str(), stored)) return false;
  VUnicodeString plaintext;
  plaintext.SetSensitive(true);
  if (!decode(stored, plaintext)) return false;
  if (value) *value = plaintext;
  return true;
}

}  // namespace

bool VProfileCapiString::ReadValue(const VProfileKey& key, const VUnicodeString& valueName,
                                   VUnicodeString* value) {
  return ReadDecoded(key, valueName, value, [&](const VUnicodeString& stored, VUnicodeString& out) {
    return DecodeCapiForm(stored, out, lastError_);
  });
}

bool VProfileCapiString::WriteValue(VProfileKey& key, const VUnicodeString& valueName,
                                    const VUnicodeString& value) {
  VUnicodeString text;
  if (!EncodeCapiForm(value, text, lastError_)) return false;
  return key.WriteString(valueName.c_str(), text.c_str());
}

bool VProfileEncodedString::ReadValue(const VProfileKey& key, const VUnicodeString& valueName,
                                      VUnicodeString* value) {
  return ReadDecoded(key, valueName, value, [](const VUnicodeString& stored, VUnicodeString& out) {
    VReportMessageParams ignored;
    return DecodeScrambledHex(stored, out, ignored);
  });
}

bool VProfileEncodedString::WriteValue(VProfileKey& key, const VUnicodeString& valueName,
                                       const VUnicodeString& value) {
  VUnicodeString text;
  VReportMessageParams ignored;
  if (!EncodeScrambledHex(value, text, ignored)) return false;
  return key.WriteString(valueName.c_str(), text.c_str());
}
