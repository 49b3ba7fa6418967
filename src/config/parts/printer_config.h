// The printer settings of the global configuration and of each session: page set-up, the
// printing font, pass-through printing and the port that pass-through output may go to. The
// numeric values are the printer device-mode codes the host's printing code understands.
#pragma once

#include "config/parts/serial_device_config.h"
#include "storage/values/profile_values.h"

// The settings of PrinterConfig, in load order (see QL_MEMBERS).
#define PRINTER_CONFIG_MEMBERS(SETTING, OBJECT)                                                    \
  SETTING(VProfileMargins, pageMargins, u"Page Margins",                                           \
          QL_COMPUTED(PrinterConfig::DefaultPageMargins))                                          \
  SETTING(VProfileLogFont, printerFont, u"Printer Font v2",                                        \
          QL_COMPUTED(PrinterConfig::DefaultPrinterFont))                                          \
  SETTING(VProfile<int>, pageOrientation, u"Page Orientation", kPortrait)                          \
  SETTING(VProfile<int>, paperSize, u"Paper Size", kPaperLetter)                                   \
  SETTING(VProfile<int>, paperSource, u"Paper Source", kSourceAutomatic)                           \
  SETTING(VProfile<int>, printerQuality, u"Printer Quality", kQualityMedium)                       \
  SETTING(VProfile<int>, printerColor, u"Printer Color", kMonochrome)                              \
  SETTING(VProfile<int>, printerDuplex, u"Printer Duplex", kSimplex)                               \
  SETTING(VProfile<int>, printerMediaType, u"Printer Media Type", kMediaStandard)                  \
  /* Empty: the platform's default printer. */                                                     \
  SETTING(VProfileString, printerName, u"Printer Name")                                            \
  SETTING(VProfile<bool>, disablePassThroughPrinting, u"Disable Pass Through Printing", false)     \
  SETTING(VProfile<bool>, bufferPassThroughPrinting, u"Buffer Pass Through Printing", false)       \
  SETTING(VProfile<bool>, forceBlackOnWhite, u"Force Black On White", false)                       \
  SETTING(VProfile<bool>, useRawMode, u"Use Raw Mode", false)                                      \
  SETTING(VProfile<bool>, usePrinterPort, u"Use Printer Port", false)                              \
  OBJECT(VSerialDeviceConfig, printerPort, u"Printer ", u"Printer Port")

class PrinterConfig : public VProfileComposite {
 public:
  PrinterConfig() = default;

  QL_MEMBERS(PRINTER_CONFIG_MEMBERS)

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
