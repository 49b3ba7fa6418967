// What every protocol module of the project shares: the base of its settings classes, the
// path setting kind of its file settings, and the exports the host looks for.
#pragma once

#include <span>

#include "common/choice_list.h"
#include "common/page_fields.h"
#include "config/session/connect_config.h"
#include "config/session/protocol_module_interface.h"
#include "config/session/remote_host_config.h"
#include "storage/values/profile_path.h"

namespace qmodule {

// A file setting stored under exactly its name, with path variables where they apply.
class FilePath : public ProfilePath {
 public:
  FilePath() : ProfilePath(kPathNone, false) {}
  using ProfilePath::operator=;
};

// The settings of one protocol of a module.
class ProtocolConfig : public ConnectConfig {
 public:
  VUnicodeString GetProtocolName() const override { return protocol_; }
  // A short text naming where the connection goes ("db1.example.com:22").
  virtual VUnicodeString ConnectionText() const = 0;

 protected:
  explicit ProtocolConfig(const VUnicodeString& protocol) : protocol_(protocol) {}
  ProtocolConfig(const ProtocolConfig&) = default;

 private:
  VUnicodeString protocol_;
};

// The settings of a protocol that reaches a remote host: usable once the host is named.
template <class Derived>
class RemoteProtocolConfig : public ProtocolConfig {
 public:
  const VMemberTable& GetMemberTable() const override { return Derived::MemberTable(); }
  ConnectConfig* Clone() const override {
    return new Derived(static_cast<const Derived&>(*this));
  }
  bool IsUsable() const override { return !Self().remoteHost.GetHostname().empty(); }
  VUnicodeString ConnectionText() const override {
    VUnicodeString text = Self().remoteHost.GetHostname();
    if (text.empty()) return text;
    text += u":";
    text += VUnicodeString::FromUtf8(std::to_string(Self().port.current));
    return text;
  }

 protected:
  using ProtocolConfig::ProtocolConfig;
  RemoteProtocolConfig(const RemoteProtocolConfig&) = default;

 private:
  const Derived& Self() const { return static_cast<const Derived&>(*this); }
};

// One protocol a module serves, the factory of its settings and the description of its pages
// in the Session Options dialog.
struct ServedProtocol {
  const char16_t* name;
  ConnectConfigFactory factory;
  const ProtocolPageSet* pages = nullptr;
};

using DescribePagesFunction = const ProtocolPageSet* (*)(const ConnectProtocolEntry& entry);

// LoadProtocol of a module serving `served`: gives the entry its factory and callbacks (with
// `describePages` answering for the module's pages), or refuses a protocol the module does not
// serve.
bool LoadServedProtocol(std::span<const ServedProtocol> served, DescribePagesFunction describePages,
                        ConnectProtocolEntry* entry, VReportMessageParams* error);
// The pages of the entry's protocol among `served`; null when it is not served or has none.
const ProtocolPageSet* FindServedPages(std::span<const ServedProtocol> served,
                                       const ConnectProtocolEntry& entry);
void WriteProtocolGuid(uint8_t* guid);

// Makes a settings object of `Config` for the entry's protocol.
template <class Config>
ConnectConfig* Make(const ConnectProtocolEntry& entry) {
  return new Config(entry.protocolName);
}

}  // namespace qmodule

// The settings class `Class` of a protocol with a remote host, its settings listed in MEMBERS.
#define QL_REMOTE_PROTOCOL_CONFIG(Class, MEMBERS)                                                  \
  class Class : public qmodule::RemoteProtocolConfig<Class> {                                      \
   public:                                                                                         \
    explicit Class(const VUnicodeString& protocol) : RemoteProtocolConfig(protocol) {}             \
    static const VMemberTable& MemberTable();                                                      \
    QL_MEMBERS(MEMBERS)                                                                            \
  };                                                                                               \
  QL_MEMBER_TABLE(Class, MEMBERS)

#define QL_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

// The exports of a module serving the protocols of the array `served`. The page descriptions
// are answered by a function of the module itself, so that each module answers from its own
// table.
#define QL_PROTOCOL_MODULE(served)                                                                 \
  namespace {                                                                                      \
  const ProtocolPageSet* DescribeServedPages(const ConnectProtocolEntry& entry) {                  \
    return qmodule::FindServedPages(served, entry);                                                \
  }                                                                                                \
  }                                                                                                \
  QL_MODULE_EXPORT void GetProtocolGuid(uint8_t* guid) { qmodule::WriteProtocolGuid(guid); }       \
  QL_MODULE_EXPORT bool LoadProtocol(void*, ConnectProtocolEntry* entry,                           \
                                     VReportMessageParams* error) {                                \
    return qmodule::LoadServedProtocol(served, &DescribeServedPages, entry, error);                \
  }                                                                                                \
  QL_MODULE_EXPORT void UnloadProtocol(ConnectProtocolEntry* entry) {                              \
    entry->factory = nullptr;                                                                      \
    entry->callbacks = ConnectProtocolCallbacks();                                                 \
  }
