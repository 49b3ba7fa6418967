#include "config/parts/serial_device_config.h"

namespace {
constexpr int kFlowHandshake = 2;
constexpr int kFlowEnable = 1;
}  // namespace

QL_MEMBER_TABLE(VSerialDeviceConfig, SERIAL_DEVICE_CONFIG_MEMBERS)

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
