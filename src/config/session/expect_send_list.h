// The login script of a session: expect/send pairs, each with a flag that masks the send text
// (a password). Stored encrypted like every secret; before encryption the list is one text in
// which each entry is "1" or "0" (hidden or not), the expect text and the send text, each field
// closed by the unit separator (0x1F).
#pragma once

#include <string_view>
#include <vector>

#include "crypto/profile_secrets.h"

struct ExpectSendEntry {
  VUnicodeString expect;
  VUnicodeString send;
  bool hide = false;
  bool operator==(const ExpectSendEntry& other) const {
    return expect == other.expect && send == other.send && hide == other.hide;
  }
};

class ProfileExpectSendList : public VProfileEncryptedString {
 public:
  static constexpr char16_t kSeparator = 0x1F;
  static constexpr const char* KindName() { return "expect/send list"; }

  // The text form of `entries`.
  static VUnicodeString ToText(const std::vector<ExpectSendEntry>& entries);
  // Splits a text form into entries, three fields at a time; an empty text is an empty list.
  // False when the text is not a whole number of closed entries: the complete entries before
  // the damage are still given.
  static bool FromText(std::u16string_view text, std::vector<ExpectSendEntry>& entries);

  // The entries under the configuration passphrase; empty when they do not decrypt.
  std::vector<ExpectSendEntry> GetEntries() const;
  // Encrypts the entries under the configuration passphrase; false when it is disabled.
  bool SetEntries(const std::vector<ExpectSendEntry>& entries);
  // A person gives the plaintext in the text form; it must be a whole list.
  bool SetFromText(const VUnicodeString& text, VReportMessageParams& error) override;
};
