// A secret setting as it is stored: the "02:" text, never the plaintext. Set-plaintext encrypts
// under a passphrase; get-plaintext decrypts.
#pragma once

#include <string_view>

#include "crypto/random_source.h"
#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class VEncryptedString : public VUnicodeString {
 public:
  static constexpr const char* kKindName = "encrypted";

  VEncryptedString() = default;
  explicit VEncryptedString(const VUnicodeString& storedText) : VUnicodeString(storedText) {}
  VEncryptedString(const VEncryptedString&) = default;
  VEncryptedString& operator=(const VEncryptedString&) = default;
  VEncryptedString& operator=(const VUnicodeString& storedText) {
    VUnicodeString::operator=(storedText);
    return *this;
  }

  // The source of the random padding; null returns to the process-wide one.
  void SetRandomSource(IRandomSource* random);
  IRandomSource* GetRandomSource() const { return random_.Get(); }

  // Encrypts `plaintext` under `passphrase` into the stored text. When the stored text already
  // holds this plaintext under this passphrase it is kept as it is, so that saving an unchanged
  // password does not rewrite the file. On failure the stored text is unchanged.
  bool SetPlaintext(std::u16string_view plaintext, std::u16string_view passphrase,
                    VReportMessageParams& error);
  bool SetPlaintext(std::u16string_view plaintext, std::u16string_view passphrase);
  // Decrypts the stored text; an empty text is the empty plaintext.
  bool GetPlaintext(std::u16string_view passphrase, VUnicodeString& plaintext,
                    VReportMessageParams& error) const;
  bool GetPlaintext(std::u16string_view passphrase, VUnicodeString& plaintext) const;

 private:
  VRef<IRandomSource> random_;
};

// Encrypts `plaintext` into `value` under the configuration passphrase. False, with `value`
// untouched, when the passphrase is disabled or the encryption fails.
bool UpdateProfileEncryptedString(VEncryptedString& value, std::u16string_view plaintext);
// The plaintext under the configuration passphrase; empty when the passphrase is disabled or
// the text does not decrypt.
VUnicodeString GetProfileEncryptedPlaintextString(const VEncryptedString& value);
