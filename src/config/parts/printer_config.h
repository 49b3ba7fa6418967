// The printer settings of the global configuration and of each session: page set-up, the
// printing font, pass-through printing and the port that pass-through output may go to. The
// numeric values are the printer device-mode codes the host's printing code understands.
#pragma once

#include "config/parts/serial_device_config.h"
#include "storage/values/profile_values.h"

class PrinterConfig : public VProfileComposite {
 public:
  PrinterConfig() = default;

  VProfileMargins pageMargins;
  VProfileLogFont printerFont;
  VProfile<int> pageOrientation;
  VProfile<int> paperSize;
  VProfile<int> paperSource;
  VProfile<int> printerQuality;
  VProfile<int> printerColor;
  VProfile<int> printerDuplex;
  VProfile<int> printerMediaType;
  VProfileString printerName;
  VProfile<bool> disablePassThroughPrinting;
  VProfile<bool> bufferPassThroughPrinting;
  VProfile<bool> forceBlackOnWhite;
  VProfile<bool> useRawMode;
  VProfile<bool> usePrinterPort;
  VSerialDeviceConfig printerPort{u"Printer ", u"Printer Port"};

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable();

  // Half an inch on every side.
  static VMarginData DefaultMargins();
  // Courier New at 10 points, fixed pitch.
  static VLogFont DefaultFont();

 private:
  void DefaultPageMargins(VProfileMargins& value, const VProfileKey* key);
  void DefaultPrinterFont(VProfileLogFont& value, const VProfileKey* key);
};
