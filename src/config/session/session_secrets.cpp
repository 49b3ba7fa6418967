// The secrets of a session: the check that they decrypt, and their re-encryption when the
// configuration passphrase changes.
#include "config/session/session_config.h"
#include "config/session/session_messages.h"

namespace {

void CollectSecrets(VProfileComposite& object, std::vector<VProfileEncryptedString*>& out) {
  for (size_t i = 0; i < object.GetMemberCount(); ++i) {
    VProfileData* member = object.GetMember(static_cast<int>(i));
    if (!member) continue;
    // A single value is its own only member: only the others can hold values of their own, and
    // the cast that tells a composite, which fails for the two hundred plain values of a
    // session, is made only for them.
    if (member->GetMember(0) != member) {
      if (auto* nested = dynamic_cast<VProfileComposite*>(member)) {
        CollectSecrets(*nested, out);
        continue;
      }
    }
    if (member->IsEncryptedSecret()) out.push_back(static_cast<VProfileEncryptedString*>(member));
  }
}

bool DecryptsUnderEither(const VEncryptedString& value, std::u16string_view first,
                         std::u16string_view second) {
  VUnicodeString plaintext;
  plaintext.SetSensitive(true);
  return value.GetPlaintext(first, plaintext) || value.GetPlaintext(second, plaintext);
}

// The stored text of `stored` under `newPassphrase`: its plaintext under `oldPassphrase`, or the
// empty text on a reset. An empty stored text is the empty secret under any passphrase and stays
// as it is, and so does a text that already decrypts under the new passphrase: a change that was
// stopped part way and is carried out again finds its earlier work done. False when the text
// decrypts under neither passphrase.
bool ReEncrypt(const VUnicodeString& stored, std::optional<std::u16string_view> oldPassphrase,
               std::u16string_view newPassphrase, VUnicodeString& result) {
  if (stored.empty()) {
    result = stored;
    return true;
  }
  VUnicodeString plaintext;
  plaintext.SetSensitive(true);
  VEncryptedString old(stored);
  if (!oldPassphrase || !old.GetPlaintext(*oldPassphrase, plaintext)) {
    if (old.GetPlaintext(newPassphrase, plaintext)) {
      result = stored;
      return true;
    }
    if (oldPassphrase) return false;
    plaintext.Wipe();  // a reset: what the old passphrase hid is given up
  }
  VEncryptedString renewed;
  if (!renewed.SetPlaintext(plaintext, newPassphrase)) return false;
  result = renewed;
  return true;
}

}  // namespace

std::vector<VProfileEncryptedString*> SessionConfig::GetSecretSettings() const {
  std::vector<VProfileEncryptedString*> out;
  auto* self = const_cast<SessionConfig*>(this);
  CollectSecrets(*self, out);
  for (const ConnectConfigPtr* part : {&terminalPart, &transferPart}) {
    for (ConnectConfig* config : part->GetConfigs()) CollectSecrets(*config, out);
  }
  return out;
}

void SessionConfig::ClearSecrets() {
  for (VProfileEncryptedString* secret : GetSecretSettings()) *secret = VEncryptedString();
  for (size_t index : retained_.SecretIndexes()) retained_.SetSecretText(index, VUnicodeString());
}

bool SessionConfig::CanDecryptSecrets(std::u16string_view passphrase,
                                      std::u16string_view otherPassphrase) const {
  for (VProfileEncryptedString* secret : GetSecretSettings()) {
    if (!DecryptsUnderEither(secret->Current(), passphrase, otherPassphrase)) return false;
  }
  // The secrets of a protocol whose module is not loaded count too.
  for (size_t index : retained_.SecretIndexes()) {
    VEncryptedString value(retained_.ValueAt(index).text);
    if (!DecryptsUnderEither(value, passphrase, otherPassphrase)) return false;
  }
  return true;
}

bool SessionConfig::ReEncryptSecrets(std::optional<std::u16string_view> oldPassphrase,
                                     std::u16string_view newPassphrase,
                                     VReportMessageParams& error) {
  // Each secret is done on its own: one that does not decrypt under the old passphrase was
  // unreadable already and is left as it is; the others are not held back by it.
  std::vector<VUnicodeString> failed;
  for (VProfileEncryptedString* secret : GetSecretSettings()) {
    VUnicodeString renewed;
    if (!ReEncrypt(secret->Current(), oldPassphrase, newPassphrase, renewed)) {
      failed.push_back(secret->GetName());
      continue;
    }
    if (!(renewed == secret->Current())) *secret = VEncryptedString(renewed);
  }
  for (size_t index : retained_.SecretIndexes()) {
    VUnicodeString renewed;
    if (!ReEncrypt(retained_.ValueAt(index).text, oldPassphrase, newPassphrase, renewed)) {
      failed.push_back(retained_.NameAt(index));
      continue;
    }
    retained_.SetSecretText(index, renewed);
  }
  if (failed.empty()) return true;
  VUnicodeString names;
  for (const VUnicodeString& name : failed) {
    if (!names.empty()) names += u", ";
    names += name;
  }
  error.Reset(kMsgSecretNotReencrypted);
  error.AddInsert(path_.empty() ? name_.c_str() : path_.c_str());
  error.AddInsert(names.c_str());
  return false;
}
