// The Serial module: a connection over a local serial device.
#include "common/protocol_module.h"
#include "config/parts/serial_device_config.h"
#include "serial/serial_members.h"

namespace {

class SerialConfig : public qmodule::ProtocolConfig {
 public:
  explicit SerialConfig(const VUnicodeString& protocol) : ProtocolConfig(protocol) {}
  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();
  ConnectConfig* Clone() const override { return new SerialConfig(*this); }
  // Usable once a device is named.
  bool IsUsable() const override { return !device.port.Current().empty(); }
  VUnicodeString ConnectionText() const override {
    VUnicodeString text = device.port.Current();
    if (text.empty()) return text;
    text += u" ";
    text += VUnicodeString::FromUtf8(std::to_string(device.baudRate.current));
    return text;
  }
  QL_MEMBERS(SERIAL_CONFIG_MEMBERS)
};

QL_MEMBER_TABLE(SerialConfig, SERIAL_CONFIG_MEMBERS)

constexpr qmodule::ServedProtocol kServed[] = {
    {u"Serial", &qmodule::Make<SerialConfig>},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
