// The settings of one connection protocol inside a session (host name, port, user, password,
// the protocol's options). A protocol module supplies the class: a member table of its settings,
// stored in the session's own key beside the session's settings.
#pragma once

#include "config/session/common_config.h"
#include "platform/variant.h"
#include "platform/unknown.h"
#include "storage/values/profile_values.h"

class ConnectConfig : public VUnknown<IUnknown>, public VProfileComposite {
 public:
  // The protocol's name in the protocol table ("SSH2", "SFTP", "None").
  virtual VUnicodeString GetProtocolName() const = 0;
  // A new object holding the same values, with one reference.
  virtual ConnectConfig* Clone() const = 0;
  // Whether the settings can make a connection; protocols that need a host say no without one.
  virtual bool IsUsable() const { return true; }
  // Answers a question of the host that the session forwards to its transfer protocol; false
  // when the protocol does not know the question.
  virtual bool Query(int question, VVariant& answer) { return false; }

  // Loads the settings from the session's key (null: every default) for `productId`.
  virtual void LoadConfig(const VProfileKey* key, ICommonConfig* common, int productId) {
    common_ = common;
    Load(key, productId);
  }
  ICommonConfig* GetCommonConfig() const { return common_; }
  void SetCommonConfig(ICommonConfig* common) { common_ = common; }

 protected:
  ConnectConfig() = default;
  ConnectConfig(const ConnectConfig&) = default;

 private:
  ICommonConfig* common_ = nullptr;  // owned by the session
};
