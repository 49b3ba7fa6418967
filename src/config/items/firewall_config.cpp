#include "config/items/firewall_config.h"

#include "config/items/firewall_messages.h"
#include "config/items/firewall_prompts.h"
#include "config/items/firewall_types.h"
#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "crypto/config_passphrase.h"
#include "crypto/crypto_messages.h"
#include "crypto/legacy_secret.h"

#include <mutex>

namespace {

constexpr const char16_t* kOlderPassword = u"Firewall Password";
constexpr const char16_t* kPassword = kFirewallPasswordName;

IFirewallCredentialPrompts* gPrompts = nullptr;
std::mutex gPromptsMutex;

// Hands `stored` to the sink unless this connection has its own entry.
void Hand(IString* sink, const VUnicodeString& connection, const VUnicodeString& stored) {
  if (sink) sink->SetText(connection.empty() ? stored : connection);
}

}  // namespace

void SetFirewallCredentialPrompts(IFirewallCredentialPrompts* prompts) {
  std::lock_guard<std::mutex> lock(gPromptsMutex);
  gPrompts = prompts;
}

IFirewallCredentialPrompts* GetFirewallCredentialPrompts() {
  std::lock_guard<std::mutex> lock(gPromptsMutex);
  return gPrompts;
}

FirewallConfig::FirewallConfig(const VUnicodeString& name)
    : VNamedItemObject(ItemCollection::Firewalls, name) {
  connectionUser_.SetSensitive(true);
  connectionPassword_.SetSensitive(true);
}

QL_MEMBER_TABLE(FirewallConfig, FIREWALL_CONFIG_MEMBERS)

int FirewallConfig::GetTypeNumber() const { return GetFirewallTypeNumber(firewallType.Current()); }

bool FirewallConfig::NeedsCredentials() const {
  const FirewallTypeInfo* type = FindFirewallType(GetTypeNumber());
  return type && type->needsCredentials;
}

void FirewallConfig::OnAfterLoad(const VProfileKey* key) {
  olderPasswordCarried_ = false;
  if (!key) return;
  VUnicodeString older;
  older.SetSensitive(true);
  if (!key->ReadString(kOlderPassword, older) || older.empty()) return;
  // Carrying writes the current form into the key it was read from; the key is the caller's and
  // only this loading interface is const.
  VProfileKey& writable = const_cast<VProfileKey&>(*key);
  VEncryptedString value = firewallPassword.Current();
  VReportMessageParams error;
  if (CarryLegacySecret(writable, kOlderPassword, VLegacySecretDecoder::Encoded, kPassword, value,
                        error) != VLegacySecretResult::Carried)
    return;
  if (!(value == firewallPassword.Current())) firewallPassword = value;
  // Wherever the firewall is saved next, the current form is written and the older one blanked.
  firewallPassword.SetWritePending(true);
  olderPasswordCarried_ = true;
}

bool FirewallConfig::Save(VProfileKey& key, bool force) {
  bool saved = VProfileComposite::Save(key, force);
  if (saved && olderPasswordCarried_) {
    if (!key.WriteString(kOlderPassword, u"")) return false;
    olderPasswordCarried_ = false;
  }
  return saved;
}

bool FirewallConfig::ReEncryptPassword(std::optional<std::u16string_view> oldPassphrase,
                                       std::u16string_view newPassphrase,
                                       VReportMessageParams& error) {
  const VEncryptedString& stored = firewallPassword.Current();
  if (stored.empty()) return true;
  VUnicodeString plaintext;
  plaintext.SetSensitive(true);
  if (!oldPassphrase || !stored.GetPlaintext(*oldPassphrase, plaintext)) {
    // Already under the new passphrase: an earlier change stopped after this item.
    if (stored.GetPlaintext(newPassphrase, plaintext)) return true;
    if (oldPassphrase) {
      error.Reset(kMsgFirewallPasswordNotReencrypted);
      error.AddInsert(GetItemName());
      return false;
    }
    plaintext.Wipe();  // a reset
  }
  VEncryptedString renewed;
  if (!renewed.SetPlaintext(plaintext, newPassphrase, error)) return false;
  firewallPassword = renewed;
  return true;
}

void FirewallConfig::StoreNow() {
  VReportMessageParams ignored;  // the entry still serves this connection when it cannot be kept
  SessionDatabase* database = GetSessionDatabase();
  if (database) {
    database->SaveItem(*this, ignored);
  } else {
    SessionDatabase local;
    local.SaveItem(*this, ignored);
  }
}

bool FirewallConfig::GetUsername(IString* sink) {
  if (firewallUser.Current().empty() && connectionUser_.empty() && NeedsCredentials()) {
    IFirewallCredentialPrompts* prompts = GetFirewallCredentialPrompts();
    if (!prompts) return false;
    VUnicodeString entered;
    bool save = false;
    if (!prompts->AskUsername(entered, save, parent_)) return false;
    if (save) {
      firewallUser = entered;
      StoreNow();
    } else {
      connectionUser_ = entered;
    }
  }
  Hand(sink, connectionUser_, firewallUser.Current());
  return true;
}

bool FirewallConfig::GetPassword(IString* sink) {
  VUnicodeString stored = firewallPassword.GetPlaintext();
  stored.SetSensitive(true);
  if (stored.empty() && connectionPassword_.empty() && NeedsCredentials()) {
    IFirewallCredentialPrompts* prompts = GetFirewallCredentialPrompts();
    if (!prompts) return false;
    VUnicodeString entered;
    entered.SetSensitive(true);
    bool save = false;
    if (!prompts->AskPassword(entered, save, parent_)) return false;
    // Without the passphrase a password cannot be kept; it still serves this connection.
    if (save && firewallPassword.SetPlaintext(entered)) {
      stored = entered;
      StoreNow();
    } else {
      connectionPassword_ = entered;
    }
  }
  Hand(sink, connectionPassword_, stored);
  return true;
}
