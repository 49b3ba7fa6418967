#include "environment/printer_margins.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "environment/printer_messages.h"

namespace {

using vtext::ToUtf8;

uint32_t SideName(MarginSide side) {
  switch (side) {
    case MarginSide::Left: return printer_messages::kSideLeft;
    case MarginSide::Right: return printer_messages::kSideRight;
    case MarginSide::Top: return printer_messages::kSideTop;
    case MarginSide::Bottom: return printer_messages::kSideBottom;
  }
  return printer_messages::kSideLeft;
}

void SetMinimum(uint32_t id, double minimum, double& out, VReportMessageParams& message) {
  out = RoundMargin(minimum);
  message.Reset(id);
  message.AddInsert(MarginText(out));
}

}  // namespace

double RoundMargin(double inches) {
  double scaled = inches * 1000.0;
  return (scaled < 0 ? -std::floor(-scaled + 0.5) : std::floor(scaled + 0.5)) / 1000.0;
}

VUnicodeString MarginText(double inches) {
  char buffer[64];
  snprintf(buffer, sizeof(buffer), "%.3f", RoundMargin(inches));
  std::string text = buffer;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return U8(text);
}

bool ParseMarginText(std::u16string_view text, MarginSide side, double& inches,
                     VReportMessageParams& error) {
  std::string narrow = ToUtf8(text);
  size_t first = narrow.find_first_not_of(" \t");
  size_t last = narrow.find_last_not_of(" \t");
  std::string_view trimmed;
  if (first != std::string::npos) trimmed = std::string_view(narrow).substr(first, last - first + 1);
  // A comma is the decimal mark in several of the languages the dialogs are shown in.
  std::string number(trimmed);
  if (number.find('.') == std::string::npos) {
    size_t comma = number.find(',');
    if (comma != std::string::npos && number.find(',', comma + 1) == std::string::npos) {
      number[comma] = '.';
    }
  }
  double value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (number.empty() || ec != std::errc() || end != number.data() + number.size() ||
      !std::isfinite(value) || value < 0) {
    error.Reset(printer_messages::kMarginNotNumber);
    error.AddInsert(VUnicodeString(text));
    VReportMessageParams sideName(SideName(side));
    error.AddInsert(sideName.GetTextOneLineTrimmed());
    return false;
  }
  inches = value;
  return true;
}

bool ComputeMarginLimits(const PrinterPageGeometry& page, std::u16string_view printerName,
                         MarginLimits& limits, VReportMessageParams& error) {
  const double values[] = {page.physicalOffsetX, page.physicalOffsetY, page.printableWidth,
                           page.printableHeight, page.paperWidth,      page.paperHeight,
                           page.pixelsPerInchX,  page.pixelsPerInchY};
  bool usable = page.pixelsPerInchX > 0 && page.pixelsPerInchY > 0 && page.paperWidth > 0 &&
                page.paperHeight > 0 && page.printableWidth > 0 && page.printableHeight > 0 &&
                page.physicalOffsetX >= 0 && page.physicalOffsetY >= 0 &&
                page.physicalOffsetX + page.printableWidth <= page.paperWidth &&
                page.physicalOffsetY + page.printableHeight <= page.paperHeight;
  for (double value : values) usable = usable && std::isfinite(value);
  if (!usable) {
    error.Reset(printer_messages::kPrintableAreaUnknown);
    error.AddInsert(VUnicodeString(printerName));
    return false;
  }
  MarginLimits computed;
  computed.leftOffset = RoundMargin(page.physicalOffsetX / page.pixelsPerInchX);
  computed.topOffset = RoundMargin(page.physicalOffsetY / page.pixelsPerInchY);
  computed.paperWidth = RoundMargin(page.paperWidth / page.pixelsPerInchX);
  computed.paperHeight = RoundMargin(page.paperHeight / page.pixelsPerInchY);
  computed.rightEdge =
      RoundMargin(page.printableWidth / page.pixelsPerInchX + page.physicalOffsetX / page.pixelsPerInchX);
  computed.bottomEdge =
      RoundMargin(page.printableHeight / page.pixelsPerInchY + page.physicalOffsetY / page.pixelsPerInchY);
  limits = computed;
  return true;
}

void MarginsInPrintableArea(const MarginLimits& limits, PrintMargins& margins) {
  margins.left -= limits.leftOffset;
  margins.right = limits.paperWidth - margins.right - limits.leftOffset;
  margins.top -= limits.topOffset;
  margins.bottom = limits.paperHeight - margins.bottom - limits.topOffset;
}

MarginValidationResult CheckMargin(const VMarginData& margins, MarginSide side,
                                   const MarginLimits& limits, double& minimum,
                                   VReportMessageParams& message) {
  using namespace printer_messages;
  switch (side) {
    case MarginSide::Left:
      if (!(margins.left - limits.leftOffset >= 0)) {
        SetMinimum(kMinimumLeft, limits.leftOffset, minimum, message);
      }
      break;
    case MarginSide::Right:
      if (!(limits.rightEdge >= limits.paperWidth - margins.right)) {
        SetMinimum(kMinimumRight, limits.paperWidth - limits.rightEdge, minimum, message);
      }
      break;
    case MarginSide::Top:
      if (!(margins.top - limits.topOffset >= 0)) {
        SetMinimum(kMinimumTop, limits.topOffset, minimum, message);
      }
      break;
    case MarginSide::Bottom:
      if (!(limits.bottomEdge >= limits.paperHeight - margins.bottom)) {
        SetMinimum(kMinimumBottom, limits.paperHeight - limits.bottomEdge, minimum, message);
      }
      break;
  }
  // The comparisons are written so that a margin that is not a number fails them.
  return message.IsError() ? MarginValidationResult::Invalid : MarginValidationResult::Valid;
}

MarginValidationResult CheckMargins(const VMarginData& margins, const MarginLimits& limits,
                                    VReportMessageParams& message) {
  double left = margins.left - limits.leftOffset;
  double top = margins.top - limits.topOffset;
  bool valid = left < limits.paperWidth && margins.right + limits.leftOffset >= 0 &&
               top <= limits.paperHeight && margins.bottom + limits.topOffset >= 0 &&
               left <= limits.paperWidth - margins.right - limits.leftOffset &&
               top <= limits.paperHeight - margins.bottom - limits.topOffset;
  if (valid) return MarginValidationResult::Valid;
  message.Reset(printer_messages::kMarginsOffPage);
  return MarginValidationResult::Invalid;
}
