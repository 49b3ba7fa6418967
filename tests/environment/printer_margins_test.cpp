#include <gtest/gtest.h>

#include <cmath>

#include "environment/printer_margins.h"
#include "environment/printer_messages.h"
#include "support/fake_printer_platform.h"

namespace {

namespace pm = printer_messages;

MarginLimits LetterLimits(double offsetX, double offsetY) {
  MarginLimits limits;
  VReportMessageParams error;
  EXPECT_TRUE(ComputeMarginLimits(FakePrinterPlatform::Letter(offsetX, offsetY), u"p", limits, error));
  return limits;
}

TEST(PrinterMarginsTest, RoundingAndText) {
  EXPECT_DOUBLE_EQ(RoundMargin(0.1234), 0.123);
  EXPECT_DOUBLE_EQ(RoundMargin(0.1236), 0.124);
  EXPECT_DOUBLE_EQ(RoundMargin(-0.1236), -0.124);
  EXPECT_EQ(MarginText(0.25), u"0.25");
  EXPECT_EQ(MarginText(1.0), u"1");
  EXPECT_EQ(MarginText(0.0004), u"0");
}

TEST(PrinterMarginsTest, LimitsFromThePrintersPage) {
  MarginLimits limits = LetterLimits(0.25, 0.2);
  EXPECT_DOUBLE_EQ(limits.leftOffset, 0.25);
  EXPECT_DOUBLE_EQ(limits.topOffset, 0.2);
  EXPECT_DOUBLE_EQ(limits.rightEdge, 8.25);
  EXPECT_DOUBLE_EQ(limits.bottomEdge, 10.8);
  EXPECT_DOUBLE_EQ(limits.paperWidth, 8.5);
  EXPECT_DOUBLE_EQ(limits.paperHeight, 11);

  // A page the platform could not describe gives no limits, and says which printer.
  for (auto broken : {&PrinterPageGeometry::pixelsPerInchX, &PrinterPageGeometry::paperHeight,
                      &PrinterPageGeometry::printableWidth}) {
    PrinterPageGeometry page = FakePrinterPlatform::Letter(0.25, 0.25);
    page.*broken = 0;
    VReportMessageParams error;
    MarginLimits unused;
    EXPECT_FALSE(ComputeMarginLimits(page, u"desk", unused, error));
    EXPECT_EQ(error.GetTextOneLineTrimmed(),
              u"The printable area of the printer 'desk' could not be read.");
  }
  PrinterPageGeometry outside = FakePrinterPlatform::Letter(0.25, 0.25);
  outside.printableWidth = outside.paperWidth;
  VReportMessageParams error;
  MarginLimits unused;
  EXPECT_FALSE(ComputeMarginLimits(outside, u"desk", unused, error));
}

TEST(PrinterMarginsTest, EachSideAgainstThePrintableArea) {
  MarginLimits limits = LetterLimits(0.25, 0.3);
  struct Case {
    MarginSide side;
    double value;
    uint32_t id;  // 0: valid
    double minimum;
    const char16_t* text;
  } cases[] = {
      {MarginSide::Left, 0.1, pm::kMinimumLeft, 0.25, u"The minimum left margin is 0.25"},
      {MarginSide::Left, 0.25, 0, 0, nullptr},
      {MarginSide::Right, 0.2, pm::kMinimumRight, 0.25, u"The minimum right margin is 0.25"},
      {MarginSide::Right, 0.3, 0, 0, nullptr},
      {MarginSide::Top, 0.0, pm::kMinimumTop, 0.3, u"The minimum top margin is 0.3"},
      {MarginSide::Bottom, 0.29, pm::kMinimumBottom, 0.3, u"The minimum bottom margin is 0.3"},
      {MarginSide::Bottom, 2.0, 0, 0, nullptr},
      {MarginSide::Left, std::nan(""), pm::kMinimumLeft, 0.25, nullptr},
  };
  for (const Case& c : cases) {
    VMarginData margins{1, 1, 1, 1};
    double* field[] = {&margins.left, &margins.right, &margins.top, &margins.bottom};
    *field[static_cast<int>(c.side)] = c.value;
    double minimum = -1;
    VReportMessageParams message;
    MarginValidationResult result = CheckMargin(margins, c.side, limits, minimum, message);
    SCOPED_TRACE(static_cast<int>(c.side));
    SCOPED_TRACE(c.value);
    if (c.id == 0) {
      EXPECT_EQ(result, MarginValidationResult::Valid);
      EXPECT_EQ(minimum, -1);
    } else {
      EXPECT_EQ(result, MarginValidationResult::Invalid);
      EXPECT_EQ(message.GetMessageId(), c.id);
      EXPECT_DOUBLE_EQ(minimum, c.minimum);
      if (c.text) {
        EXPECT_EQ(message.GetTextOneLineTrimmed(), c.text);
      }
    }
  }
}

TEST(PrinterMarginsTest, AllFourLeaveAPage) {
  MarginLimits limits = LetterLimits(0.25, 0.25);
  struct Case {
    VMarginData margins;
    bool valid;
  } cases[] = {
      {{0.5, 0.5, 0.5, 0.5}, true},
      {{4.25, 4.25, 0.5, 0.5}, true},   // meeting in the middle leaves a line
      {{5, 4, 0.5, 0.5}, false},        // overlapping across
      {{0.5, 0.5, 6, 6}, false},        // overlapping down
      {{9, 0, 0.5, 0.5}, false},        // off the page
      {{0.5, -1, 0.5, 0.5}, false},     // right edge beyond the paper
      {{0.5, 0.5, std::nan(""), 0.5}, false},
  };
  for (const Case& c : cases) {
    VReportMessageParams message;
    MarginValidationResult result = CheckMargins(c.margins, limits, message);
    EXPECT_EQ(result, c.valid ? MarginValidationResult::Valid : MarginValidationResult::Invalid)
        << c.margins.left << " " << c.margins.right << " " << c.margins.top << " " << c.margins.bottom;
    if (!c.valid) {
      EXPECT_EQ(message.GetTextOneLineTrimmed(), u"Margins are either off the page or overlap");
    }
  }
}

TEST(PrinterMarginsTest, TypedMarginsThatAreNotNumbersAreRefused) {
  double inches = -1;
  VReportMessageParams error;
  EXPECT_TRUE(ParseMarginText(u" 0.75 ", MarginSide::Top, inches, error));
  EXPECT_EQ(inches, 0.75);
  EXPECT_TRUE(ParseMarginText(u"0,5", MarginSide::Top, inches, error));
  EXPECT_EQ(inches, 0.5);
  EXPECT_FALSE(error.IsError());
  for (const char16_t* bad : {u"", u"abc", u"0.5in", u"-1", u"nan", u"inf", u"1,2,3"}) {
    inches = 7;
    VReportMessageParams refused;
    EXPECT_FALSE(ParseMarginText(bad, MarginSide::Right, inches, refused)) << vtext::ToUtf8(bad);
    EXPECT_EQ(inches, 7);
    EXPECT_EQ(refused.GetMessageId(), pm::kMarginNotNumber);
  }
  VReportMessageParams refused;
  ParseMarginText(u"abc", MarginSide::Right, inches, refused);
  EXPECT_EQ(refused.GetTextOneLineTrimmed(), u"'abc' is not a number of inches for the right margin.");
}

}  // namespace
