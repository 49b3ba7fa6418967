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

QL_MEMBER_TABLE(PrinterConfig, PRINTER_CONFIG_MEMBERS)

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
