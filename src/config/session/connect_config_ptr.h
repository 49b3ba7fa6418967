// One protocol part of a session: which protocol it uses ("Protocol Name" for the terminal part,
// "Transfer Protocol Name" for the file-transfer part) and the settings object of each protocol
// it has used, made on demand by the protocol table and kept for the life of the session, so
// that switching back to a protocol finds its edited values again.
//
// The stored name is the user's choice and is what a save writes. When it names a protocol that
// is not loaded in this process, the part runs with the default protocol of its kind but keeps
// the stored name: a run without the module must not rewrite the user's choice.
#pragma once

#include <vector>

#include "config/session/connect_config.h"
#include "storage/values/profile_values.h"

// The settings of ConnectConfigPtr (see QL_MEMBERS). The stored name depends on the part;
// StoredName gives the transfer part its own.
#define CONNECT_CONFIG_PTR_MEMBERS(SETTING, OBJECT)                                                \
  SETTING(VProfileString, protocolName, kTerminalProtocolValue)

class ConnectConfigPtr : public VProfileComposite {
 public:
  explicit ConnectConfigPtr(int partIndex) : partIndex_(partIndex) {}
  ConnectConfigPtr(const ConnectConfigPtr& other);
  ConnectConfigPtr& operator=(const ConnectConfigPtr&) = delete;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  // Set by the session before it loads: the session is the template "Default" (which may stay
  // without a protocol), and the shared data of its parts.
  void SetOwner(bool isDefaultSession, ICommonConfig* common) {
    isDefault_ = isDefaultSession;
    common_ = common;
  }
  int GetPartIndex() const { return partIndex_; }

  // The protocol in use for this run: a table entry, "None", or empty when the part has none.
  VUnicodeString GetProtocolName() const;
  VUnicodeString GetProtocolDisplayName() const;
  // The name a save writes (the user's choice, possibly of a protocol not loaded here).
  const VUnicodeString& GetStoredProtocolName() const { return protocolName.Current(); }
  // The position of the protocol in use in the protocol table; -1 for "None" or no protocol.
  int GetPosition() const { return position_; }
  // True when the stored name is of a protocol not loaded here and the default is used instead.
  bool IsUsingFallback() const { return fallback_; }
  // The message about a fallback made at the last load (empty id when there was none).
  const VReportMessageParams& GetLoadWarning() const { return warning_; }

  // The settings of the protocol in use (null when the part has none).
  ConnectConfig* GetConfig() const;
  // Every settings object made so far.
  std::vector<ConnectConfig*> GetConfigs() const;

  // Chooses a protocol by name ("None" too): the stored name changes, and the protocol's
  // settings object is made if the part has none for it yet, loaded from `seed` (the values the
  // session already holds for it; null: its defaults). False, nothing changed, when the part
  // cannot use such a protocol.
  bool SetProtocol(const VUnicodeString& name, VReportMessageParams& error,
                   const VProfileKey* seed = nullptr);

  bool Save(VProfileKey& key, bool force) override;
  bool IsModified() const override;
  void CopyValue(const VProfileData& other) override;
  void DoCommit() override;
  void DoRevert() override;

  QL_MEMBERS(CONNECT_CONFIG_PTR_MEMBERS)

 protected:
  VUnicodeString StoredName(const VMemberRow& row) const override;
  // The names are made by StoredName, not the table's own.
  const VUnicodeString* LastingStoredName(const VMemberRow&) const override { return nullptr; }
  void OnAfterLoad(const VProfileKey* key) override;

 private:
  // The settings object for `position` (-1: "None"), made and loaded from `key` when missing.
  ConnectConfig* ConfigFor(int position, const VProfileKey* key, bool loadFromKey);
  void Select(int position, const VProfileKey* key, bool loadFromKey);

  int partIndex_;
  int position_ = -1;
  bool hasProtocol_ = false;  // false: the part has no protocol at all (only "Default" may)
  bool fallback_ = false;
  bool isDefault_ = false;
  ICommonConfig* common_ = nullptr;
  std::vector<VRef<ConnectConfig>> configs_;  // by table position
  VRef<ConnectConfig> none_;
  VReportMessageParams warning_;
};
