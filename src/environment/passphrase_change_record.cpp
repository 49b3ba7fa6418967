#include "environment/passphrase_change_record.h"

#include "crypto/passphrase_check.h"
#include "crypto/v2_codec.h"
#include "platform/win32_errors.h"
#include "storage/model/profile_store.h"

namespace {

constexpr const char16_t* kGlobalKey = u"Global";
constexpr const char16_t* kNewCheckName = u"Config Passphrase Change";
constexpr const char16_t* kPreviousName = u"Config Passphrase Change Previous";

bool Flushed(VProfileKey& key, VReportMessageParams& error) {
  if (key.Flush()) return true;
  error = key.GetLastError();
  if (!error.IsError()) error.SetError(win32::kWriteFault);
  return false;
}

}  // namespace

bool WritePassphraseChangeRecord(std::optional<std::u16string_view> oldPassphrase,
                                 std::u16string_view newPassphrase,
                                 const VEncryptedString& newCheck, VReportMessageParams& error) {
  VUnicodeString previous;
  if (oldPassphrase &&
      !CryptUtils::EncryptV2String(*oldPassphrase, newPassphrase, nullptr, previous, error))
    return false;
  VProfileStore store(nullptr);
  VProfileKey key(*store.GetRootKey(), kGlobalKey, 0);
  bool written = key.WriteString(kNewCheckName, newCheck.c_str());
  if (written && oldPassphrase) written = key.WriteString(kPreviousName, previous.c_str());
  // A reset left over from an earlier record must not keep that record's old passphrase.
  if (written && !oldPassphrase) key.DeleteValue(kPreviousName);
  if (!written) {
    error = key.GetLastError();
    if (!error.IsError()) error.SetError(win32::kWriteFault);
    return false;
  }
  return Flushed(key, error);
}

bool ReadPassphraseChangeRecord(VPassphraseChangeRecord& record) {
  VProfileStore store(true, nullptr);
  VProfileKey key(*store.GetRootKey(), kGlobalKey, 0);
  VUnicodeString check;
  if (!key.ReadString(kNewCheckName, check) || check.empty()) return false;
  record.newCheck = VEncryptedString(check);
  VUnicodeString previous;
  record.reset = !key.ReadString(kPreviousName, previous) || previous.empty();
  record.previous = VEncryptedString(previous);
  return true;
}

bool ClearPassphraseChangeRecord(VReportMessageParams& error) {
  VPassphraseChangeRecord record;
  if (!ReadPassphraseChangeRecord(record)) return true;
  VProfileStore store(nullptr);
  VProfileKey key(*store.GetRootKey(), kGlobalKey, 0);
  key.DeleteValue(kNewCheckName);
  key.DeleteValue(kPreviousName);
  return Flushed(key, error);
}

bool IsRecordedNewPassphrase(const VPassphraseChangeRecord& record, std::u16string_view candidate) {
  return IsConfigPassphraseCorrect(record.newCheck, candidate);
}

bool RecoverOldPassphrase(const VPassphraseChangeRecord& record, std::u16string_view newPassphrase,
                          std::optional<VUnicodeString>& oldPassphrase) {
  oldPassphrase.reset();
  if (!IsRecordedNewPassphrase(record, newPassphrase)) return false;
  if (record.reset) return true;
  VUnicodeString old;
  old.SetSensitive(true);
  VReportMessageParams ignored;
  if (!CryptUtils::DecryptV2String(record.previous, newPassphrase, old, ignored)) return false;
  oldPassphrase = old;
  return true;
}
