// The settings of a serial device: line speed, framing, flow control and the port. One object
// serves every owner: each names its values with its own prefix ("Printer Baud Rate") and names
// the port value as it likes ("Printer Port").
#pragma once

#include "storage/values/profile_values.h"

// The settings of VSerialDeviceConfig, in load order (see QL_MEMBERS). The numbers are those of
// the serial device control block; the port row's name is the owner's port key, the others are
// prefixed.
#define SERIAL_DEVICE_CONFIG_MEMBERS(SETTING, OBJECT)                                              \
  SETTING(VProfile<int>, baudRate, u"Baud Rate", 38400)                                            \
  SETTING(VProfile<int>, parity, u"Parity", 0)                                                     \
  SETTING(VProfile<int>, stopBits, u"Stop Bits", 0)                                                \
  SETTING(VProfile<int>, dataBits, u"Data Bits", 8)                                                \
  SETTING(VProfile<bool>, dsrFlow, u"DSR Flow", false)                                             \
  SETTING(VProfile<int>, dtrFlowControl, u"DTR Flow Control",                                      \
          QL_COMPUTED(VSerialDeviceConfig::DefaultDtrFlowControl))                                 \
  SETTING(VProfile<bool>, ctsFlow, u"CTS Flow", false)                                             \
  SETTING(VProfile<int>, rtsFlowControl, u"RTS Flow Control",                                      \
          QL_COMPUTED(VSerialDeviceConfig::DefaultRtsFlowControl))                                 \
  SETTING(VProfile<bool>, xonFlow, u"XON Flow", false)                                             \
  SETTING(VProfileString, port, u"Port")                                                           \
  SETTING(VProfileString, nameOfPipe, u"Name Of Pipe")

class VSerialDeviceConfig : public VProfileComposite {
 public:
  VSerialDeviceConfig(const char16_t* prefix, const char16_t* portKey)
      : prefix_(prefix), portKey_(portKey) {}

  QL_MEMBERS(SERIAL_DEVICE_CONFIG_MEMBERS)

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  const VUnicodeString& GetPrefix() const { return prefix_; }

 protected:
  VUnicodeString StoredName(const VMemberRow& row) const override;
  // The names are made by StoredName, not the table's own.
  const VUnicodeString* LastingStoredName(const VMemberRow&) const override { return nullptr; }

 private:
  // Hardware handshake (2) follows the matching flow flag; plain enable (1) otherwise.
  void DefaultDtrFlowControl(VProfile<int>& value, const VProfileKey* key);
  void DefaultRtsFlowControl(VProfile<int>& value, const VProfileKey* key);

  VUnicodeString prefix_;
  VUnicodeString portKey_;
};
