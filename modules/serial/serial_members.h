// The settings of the Serial module's protocol, in load order (see QL_MEMBERS).
#pragma once

// The device settings, each under "[Serial] " and its name; the device itself ("/dev/ttyUSB0")
// under "[Serial] Device".
#define SERIAL_CONFIG_MEMBERS(SETTING, OBJECT)                                                     \
  OBJECT(VSerialDeviceConfig, device, u"[Serial] ", u"[Serial] Device")
