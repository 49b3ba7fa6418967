// The settings of a serial device: line speed, framing, flow control and the port. One object
// serves every owner: each names its values with its own prefix ("Printer Baud Rate") and names
// the port value as it likes ("Printer Port").
#pragma once

#include "storage/values/profile_values.h"

class VSerialDeviceConfig : public VProfileComposite {
 public:
  VSerialDeviceConfig(const char16_t* prefix, const char16_t* portKey)
      : prefix_(prefix), portKey_(portKey) {}

  VProfile<int> baudRate;
  VProfile<int> parity;
  VProfile<int> stopBits;
  VProfile<int> dataBits;
  VProfile<bool> dsrFlow;
  VProfile<int> dtrFlowControl;
  VProfile<bool> ctsFlow;
  VProfile<int> rtsFlowControl;
  VProfile<bool> xonFlow;
  VProfileString port;
  VProfileString nameOfPipe;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  const VUnicodeString& GetPrefix() const { return prefix_; }

 protected:
  VUnicodeString StoredName(const VMemberRow& row) const override;

 private:
  // Hardware handshake (2) follows the matching flow flag; plain enable (1) otherwise.
  void DefaultDtrFlowControl(VProfile<int>& value, const VProfileKey* key);
  void DefaultRtsFlowControl(VProfile<int>& value, const VProfileKey* key);

  VUnicodeString prefix_;
  VUnicodeString portKey_;
};
