// The built-in protocol "None": a session part that makes no connection and has no settings.
#pragma once

#include "config/session/connect_config.h"

inline constexpr const char16_t* kNoneProtocolName = u"None";

class NoneConfig : public ConnectConfig {
 public:
  NoneConfig() = default;
  VUnicodeString GetProtocolName() const override { return VUnicodeString(kNoneProtocolName); }
  ConnectConfig* Clone() const override { return new NoneConfig(*this); }
  bool IsUsable() const override { return false; }
  const VMemberTable& GetMemberTable() const override;

 private:
  NoneConfig(const NoneConfig&) = default;
};
