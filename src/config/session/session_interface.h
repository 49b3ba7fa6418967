// What a host sees of a session. The operations keep the order in which hosts call them by slot;
// the few slots whose meaning belongs to the host applications keep their places.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/unknown.h"
#include "platform/variant.h"
#include "report/report_message_params.h"

class ConnectConfig;
class VProfileData;
class VProfileKey;

class ISessionConfig : public IUnknown {
 public:
  // The composite operations: CopyValue takes only what is modified in `other`.
  virtual bool IsModified() const = 0;
  virtual void Commit() = 0;
  virtual void Revert() = 0;
  virtual bool Save(VProfileKey& key, bool force) = 0;
  virtual void CopySession(const ISessionConfig& other) = 0;

  // Loads every part from `key` (null: every default).
  virtual void LoadFromKey(const VProfileKey* key) = 0;

  // Kept for the host; does nothing here.
  virtual void HostReserved() = 0;

  virtual const VUnicodeString& GetSessionName() const = 0;
  virtual void SetSessionName(const VUnicodeString& name) = 0;
  virtual const VUnicodeString& GetSessionPath() const = 0;
  virtual void SetSessionPath(const VUnicodeString& path) = 0;

  // A text naming the connection for serial and telephone lines; what the terminal protocol
  // says of itself, empty when it says nothing.
  virtual VUnicodeString GetConnectionDisplayText() const = 0;

  // A new session copied from this one, with one reference.
  virtual ISessionConfig* Clone() const = 0;

  virtual void Reserved1() = 0;
  virtual void Reserved2() = 0;

  virtual bool IsTerminalPartUsable() const = 0;
  virtual bool IsTransferPartUsable() const = 0;

  // The protocols in use for this run.
  virtual VUnicodeString GetTerminalProtocolName() const = 0;
  virtual VUnicodeString GetTransferProtocolName() const = 0;

  virtual const ConnectConfig* GetTerminalConnectConfig() const = 0;
  virtual ConnectConfig* GetTerminalConnectConfig() = 0;
  virtual const ConnectConfig* GetTransferConnectConfig() const = 0;
  virtual ConnectConfig* GetTransferConnectConfig() = 0;

  // The part of the running product: transfer for 6 and 9, terminal otherwise.
  virtual const ConnectConfig* GetCurrentConnectConfig() const = 0;
  virtual ConnectConfig* GetCurrentConnectConfig() = 0;

  // Two protocol operations of the host; they answer false here.
  virtual bool HostProtocolOperation1(int what) = 0;
  virtual bool HostProtocolOperation2(int what) = 0;

  // "SSH2" for the terminal product, else "SSH2, SFTP or SCP" or "SFTP or SCP".
  virtual VUnicodeString GetProtocolSummary() const = 0;

  virtual VUnicodeString GetKeywordSet() const = 0;

  // Chooses the terminal protocol; false (nothing changed) when no such protocol is available
  // to the terminal part.
  virtual bool SetTerminalProtocol(const VUnicodeString& name, VReportMessageParams& error) = 0;

  virtual void CopyTerminalProtocolName(VUnicodeString& out) const = 0;
  virtual void CopyTransferProtocolName(VUnicodeString& out) const = 0;
  virtual VUnicodeString GetTerminalProtocolDisplayName() const = 0;
  virtual VUnicodeString GetTransferProtocolDisplayName() const = 0;

  // Handed to the transfer protocol's settings.
  virtual bool QueryTransferConfig(int question, VVariant& answer) = 0;

  // The firewall names a session may choose ("None" first).
  virtual VStringArray GetFirewallNames() const = 0;

  // True when both the path and the name are "Default".
  virtual bool IsDefaultSession() const = 0;

  virtual const VUnicodeString& GetHostText1() const = 0;
  virtual void SetHostText1(const VUnicodeString& text) = 0;
  virtual const VUnicodeString& GetHostText2() const = 0;
  virtual void SetHostText2(const VUnicodeString& text) = 0;
  virtual void SetTimeStamp(uint64_t stamp) = 0;
  virtual uint64_t GetTimeStamp() const = 0;

  virtual VUnicodeString GetIdentString() const = 0;

  // True when every secret of the session and of its protocol parts decrypts under one of the
  // two passphrases.
  virtual bool CanDecryptSecrets(std::u16string_view passphrase,
                                 std::u16string_view otherPassphrase) const = 0;

  // The object is destroyed by its last Release (the reference-counting base's DeleteThis);
  // the destructor is not for callers.
 protected:
  ~ISessionConfig() override = default;

 public:
  virtual VUnicodeString GetCurrentProtocolName() const = 0;

  // The setting stored under `keyName` (without regard to case), or null.
  virtual VProfileData* FindSetting(std::u16string_view keyName) = 0;

  // Re-encrypts every secret from `oldPassphrase` to `newPassphrase`. With an old passphrase
  // each secret must decrypt under it; without one (a reset) each secret becomes the empty text
  // under the new passphrase. Secrets that fail stay as they were and are named in `error`.
  virtual bool ReEncryptSecrets(std::optional<std::u16string_view> oldPassphrase,
                                std::u16string_view newPassphrase,
                                VReportMessageParams& error) = 0;
};
