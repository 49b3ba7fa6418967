// One saved session in memory: the terminal part, the session's own settings, the printer part
// and the two protocol parts, all loaded from and saved to the session's key (below "Sessions"
// in the configuration). The member table gives every setting its stored name, kind and default;
// the object adds the conversions of older forms, the defaults taken from the global
// configuration and the protocol choice.
#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "config/session/common_config.h"
#include "config/session/connect_config_ptr.h"
#include "config/session/expect_send_list.h"
#include "config/parts/printer_config.h"
#include "config/parts/retained_values.h"
#include "config/session/session_interface.h"
#include "config/session/session_config_members.h"
#include "config/session/terminal_config.h"
#include "crypto/profile_secrets.h"
#include "storage/values/profile_path.h"
#include "config/parts/explorer_frame_state.h"
#include "config/parts/list_view_state.h"
#include "config/parts/tab_state.h"
#include "storage/values/profile_values.h"

inline constexpr const char16_t* kDefaultSessionName = u"Default";
inline constexpr const char16_t* kSessionsKeyName = u"Sessions";

class SessionConfig : public VUnknown<ISessionConfig>, public VProfileComposite {
 public:
  // A session of defaults named `name`, not yet loaded, for the running product.
  explicit SessionConfig(const VUnicodeString& name = VUnicodeString());

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  // ---- ISessionConfig ----
  bool IsModified() const override;
  void Commit() override;
  void Revert() override;
  bool Save(VProfileKey& key, bool force) override;
  void CopySession(const ISessionConfig& other) override;
  void LoadFromKey(const VProfileKey* key) override;
  void HostReserved() override {}
  const VUnicodeString& GetSessionName() const override { return name_; }
  void SetSessionName(const VUnicodeString& name) override { name_ = name; }
  const VUnicodeString& GetSessionPath() const override { return path_; }
  void SetSessionPath(const VUnicodeString& path) override { path_ = path; }
  VUnicodeString GetConnectionDisplayText() const override;
  ISessionConfig* Clone() const override;
  void Reserved1() override {}
  void Reserved2() override {}
  bool IsTerminalPartUsable() const override;
  bool IsTransferPartUsable() const override;
  VUnicodeString GetTerminalProtocolName() const override { return terminalPart.GetProtocolName(); }
  VUnicodeString GetTransferProtocolName() const override { return transferPart.GetProtocolName(); }
  const ConnectConfig* GetTerminalConnectConfig() const override { return terminalPart.GetConfig(); }
  ConnectConfig* GetTerminalConnectConfig() override { return terminalPart.GetConfig(); }
  const ConnectConfig* GetTransferConnectConfig() const override { return transferPart.GetConfig(); }
  ConnectConfig* GetTransferConnectConfig() override { return transferPart.GetConfig(); }
  const ConnectConfig* GetCurrentConnectConfig() const override { return CurrentPart().GetConfig(); }
  ConnectConfig* GetCurrentConnectConfig() override { return CurrentPart().GetConfig(); }
  bool HostProtocolOperation1(int) override { return false; }
  bool HostProtocolOperation2(int) override { return false; }
  VUnicodeString GetProtocolSummary() const override;
  VUnicodeString GetKeywordSet() const override { return keywordSet.Current(); }
  bool SetTerminalProtocol(const VUnicodeString& name, VReportMessageParams& error) override;
  void CopyTerminalProtocolName(VUnicodeString& out) const override { out = GetTerminalProtocolName(); }
  void CopyTransferProtocolName(VUnicodeString& out) const override { out = GetTransferProtocolName(); }
  VUnicodeString GetTerminalProtocolDisplayName() const override {
    return terminalPart.GetProtocolDisplayName();
  }
  VUnicodeString GetTransferProtocolDisplayName() const override {
    return transferPart.GetProtocolDisplayName();
  }
  bool QueryTransferConfig(int question, VVariant& answer) override;
  VStringArray GetFirewallNames() const override;
  bool IsDefaultSession() const override;
  const VUnicodeString& GetHostText1() const override { return hostText1_; }
  void SetHostText1(const VUnicodeString& text) override { hostText1_ = text; }
  const VUnicodeString& GetHostText2() const override { return hostText2_; }
  void SetHostText2(const VUnicodeString& text) override { hostText2_ = text; }
  void SetTimeStamp(uint64_t stamp) override { timeStamp_ = stamp; }
  uint64_t GetTimeStamp() const override { return timeStamp_; }
  VUnicodeString GetIdentString() const override { return identString.Current(); }
  bool CanDecryptSecrets(std::u16string_view passphrase,
                         std::u16string_view otherPassphrase) const override;
  VUnicodeString GetCurrentProtocolName() const override { return CurrentPart().GetProtocolName(); }
  VProfileData* FindSetting(std::u16string_view keyName) override;
  bool ReEncryptSecrets(std::optional<std::u16string_view> oldPassphrase,
                        std::u16string_view newPassphrase, VReportMessageParams& error) override;

  // Chooses the transfer protocol, as SetTerminalProtocol does for the terminal.
  bool SetTransferProtocol(const VUnicodeString& name, VReportMessageParams& error);
  CommonConfig& GetCommonConfig() { return common_; }
  std::mutex& GetCriticalSection() { return criticalSection_.mutex; }
  // The values of the key that no part of the session knows, kept as stored.
  const VRetainedValues& GetRetainedValues() const { return retained_; }
  // Every secret setting of the session and of its protocol parts.
  std::vector<VProfileEncryptedString*> GetSecretSettings() const;
  // Empties every secret, those kept for protocols whose module is not loaded included.
  void ClearSecrets();

  // ---- the parts and the settings, in load order (session_config_members.h) ----
  QL_MEMBERS(SESSION_CONFIG_MEMBERS)

  // The stored names of the session's own members, shared by every session of a product family.
  struct ClaimedNames;

 protected:
  ~SessionConfig() override = default;
  // Copies every member (the protocol parts deep); Clone then rebinds the parts.
  SessionConfig(const SessionConfig& other) = default;
  void OnBeforeLoad(const VProfileKey* key) override;
  void OnAfterLoad(const VProfileKey* key) override;

 private:
  const ConnectConfigPtr& CurrentPart() const;
  ConnectConfigPtr& CurrentPart();
  // A key holding the values the session knows now: its protocols' settings and the values no
  // part claimed. A protocol chosen later loads from it.
  std::unique_ptr<VProfileKey> KnownValuesKey() const;
  // Whether a part of the session stores a value under `name`.
  bool IsClaimed(std::u16string_view name) const;
  bool IsClaimedBy(const ClaimedNames& members, std::u16string_view name) const;
  void CarryOlderSecrets(const VProfileKey* key);
  // Points the protocol parts at this object's shared data.
  void RebindParts();

  void DefaultUploadDirectory(ProfilePath& value, const VProfileKey* key);
  void DefaultDownloadDirectory(ProfilePath& value, const VProfileKey* key);
  void DefaultLineSendDelay(VProfile<int>& value, const VProfileKey* key);
  void DefaultCharacterSendDelay(VProfile<int>& value, const VProfileKey* key);
  void DefaultHighlightReverseVideo(VProfile<bool>& value, const VProfileKey* key);
  void DefaultHighlightBold(VProfile<bool>& value, const VProfileKey* key);
  void DefaultHighlightColor(VProfile<bool>& value, const VProfileKey* key);
  void DefaultScpShellPrompts(VProfileStringArray& value, const VProfileKey* key);

  VUnicodeString name_;
  VUnicodeString path_;
  CommonConfig common_;
  VUnicodeString hostText1_;
  VUnicodeString hostText2_;
  // For the host's use; loading and saving take no lock. A copy of a session has its own.
  struct CriticalSection {
    std::mutex mutex;
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) {}
    CriticalSection& operator=(const CriticalSection&) { return *this; }
  } criticalSection_;
  uint64_t timeStamp_ = 0;
  int product_;
  int globalLineSendDelay_ = 5;
  int globalCharacterSendDelay_ = 0;
  VDword highlightingStyle_ = 0;  // the older "Highlighting Style", 0 when absent
  VRetainedValues retained_;
  // Older names whose secrets were carried into the current form: blanked once that is saved.
  std::vector<const char16_t*> carriedOlderNames_;
};
