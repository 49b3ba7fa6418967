// Page margins against the printable area of a printer: the limits in inches computed from what
// the printer reports, and the checks that tell the user which margin is too small or that the
// margins leave no page to print on.
#pragma once

#include <string_view>

#include "report/report_message_params.h"
#include "storage/values/stored_structures.h"

// What the platform reports of the selected printer's page, in device pixels.
struct PrinterPageGeometry {
  double physicalOffsetX = 0;  // left edge of the paper to the printable area
  double physicalOffsetY = 0;  // top edge of the paper to the printable area
  double printableWidth = 0;
  double printableHeight = 0;
  double paperWidth = 0;
  double paperHeight = 0;
  double pixelsPerInchX = 0;
  double pixelsPerInchY = 0;
};

// Inches, each rounded to a thousandth.
struct MarginLimits {
  double leftOffset = 0;
  double rightEdge = 0;  // left offset + printable width
  double topOffset = 0;
  double bottomEdge = 0;  // top offset + printable height
  double paperWidth = 0;
  double paperHeight = 0;
};

struct PrintMargins {
  double left = 0;
  double right = 0;
  double top = 0;
  double bottom = 0;
};

enum class MarginSide { Left = 0, Right = 1, Top = 2, Bottom = 3 };

enum class MarginValidationResult { Unavailable = 0, Invalid = 1, Valid = 2 };

// Thousandths of an inch, halves away from zero.
double RoundMargin(double inches);

// A margin as shown to the user: at most three decimals, no trailing zeros ("0.25", "1").
VUnicodeString MarginText(double inches);

// Reads a margin typed by the user. Text that is not a finite number of inches of zero or more
// is refused with a message naming the text and the side, never taken as zero.
bool ParseMarginText(std::u16string_view text, MarginSide side, double& inches,
                     VReportMessageParams& error);

// False with a message naming `printerName` when the geometry cannot give limits (no
// resolution, a printable area outside the paper, values that are not numbers).
bool ComputeMarginLimits(const PrinterPageGeometry& page, std::u16string_view printerName,
                         MarginLimits& limits, VReportMessageParams& error);

// Turns margins measured from the paper's edges into positions in the printable area.
void MarginsInPrintableArea(const MarginLimits& limits, PrintMargins& margins);

// One side against the limits: Invalid with "The minimum ... margin is %1" and `minimum` set
// when the margin reaches outside the printable area, else Valid.
MarginValidationResult CheckMargin(const VMarginData& margins, MarginSide side,
                                   const MarginLimits& limits, double& minimum,
                                   VReportMessageParams& message);

// All four together: Invalid with "Margins are either off the page or overlap" when they leave
// no page to print on, else Valid.
MarginValidationResult CheckMargins(const VMarginData& margins, const MarginLimits& limits,
                                    VReportMessageParams& message);
