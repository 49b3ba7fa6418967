#include "config/session/remote_host_config.h"

#include "config/database/session_database_instance.h"
#include "crypto/legacy_secret.h"
#include "platform/app_info.h"

namespace {

constexpr const char16_t* kOlderUseFirewall = u"Use Firewall";
constexpr const char16_t* kOlderPreConnect = u"Local Shell Command Pre-connect";
constexpr const char16_t* kPreConnect = u"Local Shell Command Pre-connect V2";
constexpr const char16_t* kNoFirewall = u"None";

}  // namespace

QL_MEMBER_TABLE(RemoteHostConfig, REMOTE_HOST_CONFIG_MEMBERS)

RemoteHostConfig::RemoteHostConfig(const RemoteHostConfig& other)
    : VProfileComposite(other),
      hostname(other.hostname),
      firewallName(other.firewallName),
      username(other.username),
      preConnectCommand(other.preConnectCommand),
      connectionFirewall_(other.connectionFirewall_),
      usernameCleared_(other.usernameCleared_) {}

void RemoteHostConfig::DefaultFirewallName(VProfileString& value, const VProfileKey* key) {
  value = VUnicodeString(kNoFirewall);
  if (!key) return;
  VUnicodeString stored;
  VDword useFirewall = 0;
  if (!key->ReadString(u"Firewall Name", stored) && key->ReadDword(kOlderUseFirewall, useFirewall))
    value = VUnicodeString(useFirewall != 0 ? kDefaultTerminalFirewall : kNoFirewall);
}

bool RemoteHostConfig::LoadCustomMember(const VMemberRow& row, VProfileData& member,
                                        const VProfileKey* key) {
  if (&member != &preConnectCommand || !key) return LoadStandardMember(row, member, key);
  VUnicodeString older;
  older.SetSensitive(true);
  if (!key->ReadString(kOlderPreConnect, older) || older.empty())
    return LoadStandardMember(row, member, key);
  older.Wipe();
  // The older form kept the command as typed: it is carried into the encrypted form once, and
  // the plain copy is blanked so that it does not stay on disk. The key object is the caller's
  // own; only the loading interface is const.
  VProfileKey& writable = const_cast<VProfileKey&>(*key);
  bool fromStore = LoadStandardMember(row, member, key);
  VEncryptedString value = preConnectCommand.Current();
  VReportMessageParams error;
  if (CarryLegacySecret(writable, kOlderPreConnect, VLegacySecretDecoder::Plain, kPreConnect, value,
                        error) == VLegacySecretResult::Carried) {
    preConnectCommand = value;
    preConnectCommand.SetWritePending(true);
    writable.WriteString(kOlderPreConnect, u"");
    return true;
  }
  return fromStore;
}

void RemoteHostConfig::OnAfterLoad(const VProfileKey*) {
  firewall_ = VRef<FirewallConfig>();
  firewallResolved_ = false;
  usernameCleared_ = !KeepsUsername(username.Current());
}

VUnicodeString RemoteHostConfig::GetEffectiveFirewallName() const {
  return connectionFirewall_.empty() ? firewallName.Current() : connectionFirewall_;
}

void RemoteHostConfig::SetConnectionFirewallName(const VUnicodeString& name) {
  connectionFirewall_ = name;
  firewall_ = VRef<FirewallConfig>();
  firewallResolved_ = false;
}

bool RemoteHostConfig::GetFirewallSession(VUnicodeString& sessionPath) const {
  const VUnicodeString name = GetEffectiveFirewallName();
  const std::u16string_view prefix(kSessionFirewallPrefix);
  if (name.size() <= prefix.size() ||
      !vtext::EqualsNoCase(std::u16string_view(name).substr(0, prefix.size()), prefix))
    return false;
  sessionPath = VUnicodeString(std::u16string_view(name).substr(prefix.size()));
  return true;
}

FirewallConfig* RemoteHostConfig::GetFirewall() {
  if (!firewallResolved_) {
    // Resolved when first needed rather than at every load: listing ten thousand sessions opens
    // no firewall.
    firewallResolved_ = true;
    VUnicodeString sessionPath;
    if (!GetFirewallSession(sessionPath)) {
      if (SessionDatabase* database = GetSessionDatabase())
        firewall_ = database->OpenFirewall(GetEffectiveFirewallName());
    }
  }
  return firewall_.Get();
}

VUnicodeString RemoteHostConfig::GetUsername(bool expanded) const {
  if (usernameCleared_) return VUnicodeString();
  const VUnicodeString& stored = username.Current();
  if (expanded && vtext::EqualsNoCase(stored, kUsernamePlaceholder))
    return VUnicodeString::FromUtf8(vapp::UserName());
  return stored;
}
