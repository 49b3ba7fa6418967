// One firewall: a named, reusable description of the proxy through which sessions connect, kept
// as a key below "Firewalls" whose name is the firewall's. It is also what protocol modules ask,
// at connect time, for the proxy's parameters; a user name or password that is needed but not
// saved is asked for then.
#pragma once

#include <optional>
#include <string_view>

#include "config/items/named_item_config.h"
#include "crypto/profile_secrets.h"
#include "storage/values/profile_values.h"

// The name that means "no firewall": always there, never stored.
inline constexpr const char16_t* kNoFirewallName = u"None";
inline constexpr const char16_t* kFirewallPasswordName = u"Firewall Password V2";

// Receives a text handed out by an object (a protocol module's string).
class IString {
 public:
  virtual void SetText(const VUnicodeString& text) = 0;

 protected:
  ~IString() = default;
};

// What protocol modules see of a firewall. The operations keep the order hosts call them by.
class IFirewallUI : public IUnknown {
 public:
  virtual VUnicodeString GetTypeName() const = 0;
  virtual VUnicodeString GetAddress() const = 0;
  virtual unsigned short GetPort() const = 0;
  // The user name and password: the one entered for this connection, else the saved one; when
  // both are empty and the type needs credentials, the user is asked first. The text goes to
  // `sink`; false when the prompt was cancelled or nothing could be asked.
  virtual bool GetUsername(IString* sink) = 0;
  virtual bool GetPassword(IString* sink) = 0;
  virtual VUnicodeString GetProxyPrompt() const = 0;
  virtual VUnicodeString GetProxyCommand() const = 0;

 protected:
  ~IFirewallUI() override = default;

 public:
  // Kept for the host; does nothing here.
  virtual void HostReserved() = 0;
  // The setting stored under `keyName` (without regard to case), or null.
  virtual VProfileData* FindSetting(std::u16string_view keyName) = 0;
};

// The settings of FirewallConfig, in load order (see QL_MEMBERS).
#define FIREWALL_CONFIG_MEMBERS(SETTING, OBJECT)                                                   \
  SETTING(VProfileString, firewallType, u"Firewall Type", kNoFirewallName)                         \
  SETTING(VProfileString, firewallAddress, u"Firewall Address", u"")                               \
  SETTING(VProfile<unsigned short>, firewallPort, u"Firewall Port", 1080)                          \
  SETTING(VProfileString, proxyPrompt, u"Proxy Prompt", u"")                                       \
  SETTING(VProfileString, proxyCommand, u"Proxy Command", u"")                                     \
  SETTING(VProfileString, firewallUser, u"Firewall User", u"")                                     \
  SETTING(VProfileEncryptedString, firewallPassword, kFirewallPasswordName)

class FirewallConfig : public VNamedItemObject<IFirewallUI> {
 public:
  // A firewall of defaults named `name` (empty for one not yet named), not yet loaded.
  explicit FirewallConfig(const VUnicodeString& name = VUnicodeString());

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  // ---- IFirewallUI ----
  VUnicodeString GetTypeName() const override { return firewallType.Current(); }
  VUnicodeString GetAddress() const override { return firewallAddress.Current(); }
  unsigned short GetPort() const override { return firewallPort.current; }
  bool GetUsername(IString* sink) override;
  bool GetPassword(IString* sink) override;
  VUnicodeString GetProxyPrompt() const override { return proxyPrompt.Current(); }
  VUnicodeString GetProxyCommand() const override { return proxyCommand.Current(); }
  void HostReserved() override {}
  VProfileData* FindSetting(std::u16string_view keyName) override { return FindMember(keyName); }

  // The type's number (0, "None", for a name no type has) and whether it may ask for credentials.
  int GetTypeNumber() const;
  bool NeedsCredentials() const;
  // The window prompts appear over (the session's, for its connection).
  void SetParentWindow(void* parent) { parent_ = parent; }
  void* GetParentWindow() const { return parent_; }

  // Carries the password from `oldPassphrase` to `newPassphrase`; it must decrypt under the old
  // one when one is given. On a reset (no old passphrase) the password becomes empty. An empty
  // password stays empty. False, the password untouched, when it does not decrypt.
  bool ReEncryptPassword(std::optional<std::u16string_view> oldPassphrase,
                         std::u16string_view newPassphrase, VReportMessageParams& error);

  // Loading found an older password and carried it into the current form; the next save writes it.
  bool CarriedOlderPassword() const { return olderPasswordCarried_; }

  // Writes the members, then blanks an older password that loading carried into the current
  // form, once the current one is in the key.
  bool Save(VProfileKey& key, bool force) override;

  // ---- the stored values, in member order ----
  QL_MEMBERS(FIREWALL_CONFIG_MEMBERS)

 protected:
  void OnAfterLoad(const VProfileKey* key) override;

 private:
  // Saves the firewall in the item database now (a credential the user chose to save).
  void StoreNow();

  VUnicodeString connectionUser_;      // entered for this connection only
  VUnicodeString connectionPassword_;  // entered for this connection only, never stored
  void* parent_ = nullptr;
  bool olderPasswordCarried_ = false;
};
