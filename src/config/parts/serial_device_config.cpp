#include "config/parts/serial_device_config.h"

namespace {
constexpr int kFlowHandshake = 2;
constexpr int kFlowEnable = 1;
}  // namespace

const VMemberTable& VSerialDeviceConfig::MemberTable() {
  // The numbers are those of the serial device control block; the port row's name is the
  // owner's port key, the others are prefixed.
  static const VMemberRow kRows[] = {
      QL_ROW(VSerialDeviceConfig, baudRate, u"Baud Rate", 38400),
      QL_ROW(VSerialDeviceConfig, parity, u"Parity", 0),
      QL_ROW(VSerialDeviceConfig, stopBits, u"Stop Bits", 0),
      QL_ROW(VSerialDeviceConfig, dataBits, u"Data Bits", 8),
      QL_ROW(VSerialDeviceConfig, dsrFlow, u"DSR Flow", false),
      QL_ROW(VSerialDeviceConfig, dtrFlowControl, u"DTR Flow Control",
             QL_COMPUTED(VSerialDeviceConfig::DefaultDtrFlowControl)),
      QL_ROW(VSerialDeviceConfig, ctsFlow, u"CTS Flow", false),
      QL_ROW(VSerialDeviceConfig, rtsFlowControl, u"RTS Flow Control",
             QL_COMPUTED(VSerialDeviceConfig::DefaultRtsFlowControl)),
      QL_ROW(VSerialDeviceConfig, xonFlow, u"XON Flow", false),
      QL_ROW(VSerialDeviceConfig, port, u"Port"),
      QL_ROW(VSerialDeviceConfig, nameOfPipe, u"Name Of Pipe"),
  };
  static const VMemberTable table(kRows);
  return table;
}

VUnicodeString VSerialDeviceConfig::StoredName(const VMemberRow& row) const {
  if (&MemberOf(row) == &port) return portKey_;
  return prefix_ + VProfileComposite::StoredName(row);
}

void VSerialDeviceConfig::DefaultDtrFlowControl(VProfile<int>& value, const VProfileKey*) {
  value = dsrFlow ? kFlowHandshake : kFlowEnable;
}

void VSerialDeviceConfig::DefaultRtsFlowControl(VProfile<int>& value, const VProfileKey*) {
  value = ctsFlow ? kFlowHandshake : kFlowEnable;
}
