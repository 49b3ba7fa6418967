#include "config/parts/printer_config.h"

namespace {
// Device-mode codes of the defaults.
constexpr int kPortrait = 1;
constexpr int kPaperLetter = 1;
constexpr int kSourceAutomatic = 7;
constexpr int kQualityMedium = -3;
constexpr int kMonochrome = 1;
constexpr int kSimplex = 1;
constexpr int kMediaStandard = 1;
}  // namespace

const VMemberTable& PrinterConfig::MemberTable() {
  static const VMemberRow kRows[] = {
      QL_ROW(PrinterConfig, pageMargins, u"Page Margins",
             QL_COMPUTED(PrinterConfig::DefaultPageMargins)),
      QL_ROW(PrinterConfig, printerFont, u"Printer Font v2",
             QL_COMPUTED(PrinterConfig::DefaultPrinterFont)),
      QL_ROW(PrinterConfig, pageOrientation, u"Page Orientation", kPortrait),
      QL_ROW(PrinterConfig, paperSize, u"Paper Size", kPaperLetter),
      QL_ROW(PrinterConfig, paperSource, u"Paper Source", kSourceAutomatic),
      QL_ROW(PrinterConfig, printerQuality, u"Printer Quality", kQualityMedium),
      QL_ROW(PrinterConfig, printerColor, u"Printer Color", kMonochrome),
      QL_ROW(PrinterConfig, printerDuplex, u"Printer Duplex", kSimplex),
      QL_ROW(PrinterConfig, printerMediaType, u"Printer Media Type", kMediaStandard),
      // Empty: the platform's default printer.
      QL_ROW(PrinterConfig, printerName, u"Printer Name"),
      QL_ROW(PrinterConfig, disablePassThroughPrinting, u"Disable Pass Through Printing", false),
      QL_ROW(PrinterConfig, bufferPassThroughPrinting, u"Buffer Pass Through Printing", false),
      QL_ROW(PrinterConfig, forceBlackOnWhite, u"Force Black On White", false),
      QL_ROW(PrinterConfig, useRawMode, u"Use Raw Mode", false),
      QL_ROW(PrinterConfig, usePrinterPort, u"Use Printer Port", false),
      QL_NESTED(PrinterConfig, printerPort),
  };
  static const VMemberTable table(kRows);
  return table;
}

VMarginData PrinterConfig::DefaultMargins() {
  VMarginData margins;
  margins.left = margins.right = margins.top = margins.bottom = 0.5;
  return margins;
}

VLogFont PrinterConfig::DefaultFont() {
  VLogFont font;
  font.height = -13;
  font.weight = 400;       // normal
  font.outPrecision = 3;   // stroke precision
  font.clipPrecision = 2;  // stroke clipping
  font.quality = 1;        // draft
  font.pitchAndFamily = 49;  // fixed pitch, modern family
  font.SetFaceName(u"Courier New");
  font.extra = 100;  // the size in tenths of a point
  return font;
}

void PrinterConfig::DefaultPageMargins(VProfileMargins& value, const VProfileKey*) {
  value = DefaultMargins();
}

void PrinterConfig::DefaultPrinterFont(VProfileLogFont& value, const VProfileKey*) {
  value = DefaultFont();
}
