// Secret settings as typed values: the current form (stored encrypted under the configuration
// passphrase) and the two older forms that are still read.
#pragma once

#include "crypto/encrypted_string.h"
#include "storage/values/profile_value2.h"

// A setting whose stored text is the "02:" form. The value held is that text; its plaintext is
// had with GetPlaintext. Given as text by a person, the text is the plaintext and is encrypted.
class VProfileEncryptedString : public VProfile2<VEncryptedString, VProfileSz> {
 public:
  VProfileEncryptedString() = default;
  VProfileEncryptedString& operator=(const VEncryptedString& value) {
    Current() = value;
    return *this;
  }
  // The plaintext under the configuration passphrase; empty when it is disabled or the text does
  // not decrypt.
  VUnicodeString GetPlaintext() const { return GetProfileEncryptedPlaintextString(Current()); }
  // Encrypts under the configuration passphrase; false when it is disabled.
  bool SetPlaintext(std::u16string_view plaintext) {
    return UpdateProfileEncryptedString(Current(), plaintext);
  }
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) override;
  bool IsEncryptedSecret() const override { return true; }
};

// A string kept in the per-user protected "CAPI:" form, read and written as its plaintext.
class VProfileCapiString : public VProfile2<VUnicodeString, VProfileSz> {
 public:
  using VProfile2::operator=;
  bool ReadValue(const VProfileKey& key, const VUnicodeString& valueName,
                 VUnicodeString* value) override;
  bool WriteValue(VProfileKey& key, const VUnicodeString& valueName,
                  const VUnicodeString& value) override;
  // Why the last read or write failed.
  VReportMessageParams& GetLastError() { return lastError_; }

 private:
  VReportMessageParams lastError_;
};

// A string kept in the scrambled hexadecimal form, read and written as its plaintext.
class VProfileEncodedString : public VProfile2<VUnicodeString, VProfileSz> {
 public:
  using VProfile2::operator=;
  bool ReadValue(const VProfileKey& key, const VUnicodeString& valueName,
                 VUnicodeString* value) override;
  bool WriteValue(VProfileKey& key, const VUnicodeString& valueName,
                  const VUnicodeString& value) override;
};
