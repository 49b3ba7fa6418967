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

using namespace qmodule::pages;

// The values are those the device settings store (the serial device control block's).
constexpr ProtocolFieldChoice kBaudRates[] = {
    {300}, {1200}, {2400}, {4800}, {9600}, {19200}, {38400}, {57600}, {115200}, {230400},
    {460800}, {921600},
};
constexpr ProtocolFieldChoice kDataBitChoices[] = {{5}, {6}, {7}, {8}};
constexpr ProtocolFieldChoice kParities[] = {
    {0, kParityNone}, {1, kParityOdd}, {2, kParityEven}, {3, kParityMark}, {4, kParitySpace},
};
constexpr ProtocolFieldChoice kStopBitChoices[] = {
    {0, kStopBitsOne}, {1, kStopBitsOneHalf}, {2, kStopBitsTwo},
};
constexpr ProtocolFieldChoice kLineControls[] = {
    {0, kLineOff}, {1, kLineOn}, {2, kLineHandshake},
};
constexpr ProtocolField kFields[] = {
    {u"[Serial] Device", kSerialDevice, ProtocolFieldKind::Text, true},
    {u"[Serial] Baud Rate", kBaudRate, ProtocolFieldKind::Number, true, 50, 4000000, kBaudRates},
    {u"[Serial] Data Bits", kDataBits, ProtocolFieldKind::Choice, false, 0, 0, kDataBitChoices},
    {u"[Serial] Parity", kParity, ProtocolFieldKind::Choice, false, 0, 0, kParities},
    {u"[Serial] Stop Bits", kStopBits, ProtocolFieldKind::Choice, false, 0, 0, kStopBitChoices},
    CheckField(u"[Serial] DSR Flow", kDsrFlow),
    CheckField(u"[Serial] CTS Flow", kCtsFlow),
    CheckField(u"[Serial] XON Flow", kXonFlow),
    {u"[Serial] DTR Flow Control", kDtrLine, ProtocolFieldKind::Choice, false, 0, 0, kLineControls},
    {u"[Serial] RTS Flow Control", kRtsLine, ProtocolFieldKind::Choice, false, 0, 0, kLineControls},
};
constexpr ProtocolPage kPages[] = {{0, -1, kFields}};
constexpr ProtocolPageSet kPageSet{kPages};

constexpr qmodule::ServedProtocol kServed[] = {
    {u"Serial", &qmodule::Make<SerialConfig>, &kPageSet},
};

}  // namespace

QL_PROTOCOL_MODULE(kServed)
