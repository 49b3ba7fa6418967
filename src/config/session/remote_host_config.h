// The remote end of a connection: host, the firewall (or session) the connection goes through,
// the user name and a local command run before connecting. Part of the settings of every
// protocol that reaches a remote host, stored in the session's own key.
#pragma once

#include "config/items/firewall_config.h"
#include "config/session/remote_host_config_members.h"
#include "crypto/profile_secrets.h"
#include "storage/values/profile_composite.h"
#include "storage/values/profile_values.h"

inline constexpr const char16_t* kSessionFirewallPrefix = u"Session:";
inline constexpr const char16_t* kDefaultTerminalFirewall = u"DefaultTerminalFirewall";
inline constexpr const char16_t* kUsernamePlaceholder = u"%USERNAME%";

class RemoteHostConfig : public VProfileComposite {
 public:
  RemoteHostConfig() = default;
  RemoteHostConfig(const RemoteHostConfig& other);
  RemoteHostConfig& operator=(const RemoteHostConfig&) = delete;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();
  QL_MEMBERS(REMOTE_HOST_CONFIG_MEMBERS)

  const VUnicodeString& GetHostname() const { return hostname.Current(); }
  // The stored firewall name: "None", a firewall's name, or "Session:" and a session path.
  const VUnicodeString& GetFirewallName() const { return firewallName.Current(); }
  // The name in use for this connection: the per-connection one when set, else the stored one.
  VUnicodeString GetEffectiveFirewallName() const;
  // Overrides the stored firewall for this connection only (empty: the stored one again).
  void SetConnectionFirewallName(const VUnicodeString& name);
  // True, with the session's path in `sessionPath`, when the connection is made through another
  // session ("Session:" followed by at least one character, the prefix in any case).
  bool GetFirewallSession(VUnicodeString& sessionPath) const;
  // The firewall the connection goes through, opened from the item database the first time it
  // is asked for; null when the name is of a session, or no such firewall exists.
  FirewallConfig* GetFirewall();

  // The user name as stored, or with the placeholder "%USERNAME%" (any case) replaced by the
  // login name when `expanded`.
  VUnicodeString GetUsername(bool expanded) const;
  // The pre-connect command decrypted under the configuration passphrase (empty when it does not
  // decrypt).
  VUnicodeString GetPreConnectCommand() const { return preConnectCommand.GetPlaintext(); }

 protected:
  // Whether the loaded user name is kept in memory: a protocol that cannot use one in some
  // configuration says no, and the name reads as empty (the stored value stays).
  virtual bool KeepsUsername(const VUnicodeString& name) const { return true; }
  void OnAfterLoad(const VProfileKey* key) override;
  bool LoadCustomMember(const VMemberRow& row, VProfileData& member, const VProfileKey* key) override;

 private:
  // "Firewall Name" defaults from the older "Use Firewall" when only that is stored.
  void DefaultFirewallName(VProfileString& value, const VProfileKey* key);

  VUnicodeString connectionFirewall_;
  VRef<FirewallConfig> firewall_;
  bool firewallResolved_ = false;
  bool usernameCleared_ = false;
};
