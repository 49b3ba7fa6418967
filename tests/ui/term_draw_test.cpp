// Terminal rows drawn into images and checked on their pixels: a wide character takes two cells,
// bold by overstrike and the underline are where they belong, the background is opaque and
// nothing leaves the row's cells.
#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "ui/colors/term_draw.h"
#include "ui/colors/wide_chars.h"

namespace {

constexpr VColor kInk = MakeColor(0, 0, 0);
constexpr VColor kPaper = MakeColor(0xFF, 0xFF, 0xFF);
constexpr QRgb kOutside = qRgb(0x12, 0x34, 0x56);
constexpr int kCell = 10;
constexpr int kHeight = 18;
constexpr int kLeft = 5;
constexpr int kTop = 3;

QFont CellFont() {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setPixelSize(14);
  // Whole pixels, so that a glyph's pixels are either ink or paper.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// The row drawn alone in an image of `cells` cells plus a margin of another colour.
QImage Row(const std::u16string& text, bool bold, bool underline, int cells = 8, int cell = kCell) {
  QImage image(kLeft * 2 + cells * cell, kTop * 2 + kHeight, QImage::Format_RGB32);
  image.fill(kOutside);
  QPainter painter(&image);
  painter.setFont(CellFont());
  TermDrawText(painter, kInk, kPaper, bold, underline, kLeft, kTop, cell, kHeight, text.data(),
               text.size());
  painter.end();
  return image;
}

bool IsInk(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); }

// The pixels of cells [first, last) of the row, as one string of 0 and 1.
std::string Cells(const QImage& image, int first, int last) {
  std::string bits;
  for (int y = kTop; y < kTop + kHeight; ++y)
    for (int x = kLeft + first * kCell; x < kLeft + last * kCell; ++x)
      bits += IsInk(image, x, y) ? '1' : '0';
  return bits;
}

int InkCount(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += IsInk(image, x, y);
  return count;
}

TEST(TermDrawRow, AWideCharacterAdvancesTwoCellsAndANarrowOneOne) {
  // "X" after a wide character is drawn where it is after two narrow ones, not after one.
  QImage wide = Row(u"\u4E2DX", false, false);
  QImage twoNarrow = Row(u"  X", false, false);
  QImage oneNarrow = Row(u" X", false, false);
  EXPECT_EQ(Cells(wide, 2, 8), Cells(twoNarrow, 2, 8));
  EXPECT_NE(Cells(wide, 2, 8), Cells(oneNarrow, 2, 8));
  EXPECT_NE(Cells(twoNarrow, 2, 3).find('1'), std::string::npos);  // the X has ink
  // A character beyond the basic plane (two UTF-16 units) is one wide character too.
  QImage astral = Row(u"\U0001F600X", false, false);
  EXPECT_EQ(Cells(astral, 2, 8), Cells(twoNarrow, 2, 8));
  // A combining mark stays in the cell of its letter.
  QImage marked = Row(u"e\u0301X", false, false);
  EXPECT_EQ(Cells(marked, 1, 8), Cells(Row(u"eX", false, false), 1, 8));

  int widths[3] = {};
  EXPECT_EQ(TermMeasureRow(u"\u4E2DX", 2, kCell, widths), 3);
  EXPECT_EQ(widths[0], 2 * kCell);
  EXPECT_EQ(widths[1], kCell);
}

TEST(TermDrawRow, BoldIsTheGlyphsAgainOnePixelRightAndUnderlineIsOneLine) {
  QImage plain = Row(u"Il", false, false);
  QImage bold = Row(u"Il", true, false);
  ASSERT_GT(InkCount(plain), 0);
  // Every ink pixel of the bold row is an ink pixel of the plain row or the one left of it.
  for (int y = kTop; y < kTop + kHeight; ++y)
    for (int x = kLeft; x < kLeft + 8 * kCell; ++x) {
      bool expected = IsInk(plain, x, y) || IsInk(plain, x - 1, y);
      ASSERT_EQ(IsInk(bold, x, y), expected) << x << "," << y;
    }
  EXPECT_GT(InkCount(bold), InkCount(plain));

  // Underline: one line two pixels above the bottom of the cells, across every cell.
  QImage lined = Row(u"   ", false, true, 3);
  QImage blank = Row(u"   ", false, false, 3);
  EXPECT_EQ(InkCount(blank), 0);
  int lineY = kTop + kHeight - 2;
  for (int x = kLeft; x < kLeft + 3 * kCell; ++x) EXPECT_TRUE(IsInk(lined, x, lineY)) << x;
  EXPECT_EQ(InkCount(lined), 3 * kCell);
}

TEST(TermDrawRow, TheBackgroundFillsTheCellsAndNothingLeavesThem) {
  // Cells narrower than the font's "W": its glyph, overstruck, would reach past its cell.
  constexpr int kNarrow = 5;
  QImage image = Row(u"WWW", true, true, 3, kNarrow);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      bool inside = x >= kLeft && x < kLeft + 3 * kNarrow && y >= kTop && y < kTop + kHeight;
      if (!inside) ASSERT_EQ(image.pixel(x, y), kOutside) << x << "," << y;
      else ASSERT_NE(image.pixel(x, y), kOutside) << x << "," << y;
    }
  }
  // With clipping off, the overstrike may spill.
  SetTermDrawUnclipped(true);
  QImage spilled = Row(u"WWW", true, false, 3, kNarrow);
  SetTermDrawUnclipped(false);
  bool outside = false;
  for (int y = kTop; y < kTop + kHeight; ++y) outside |= spilled.pixel(kLeft + 3 * kNarrow, y) != kOutside;
  EXPECT_TRUE(outside);
}

TEST(TermDrawRow, ControlsAndBrokenSurrogatesKeepTheirCellsAndDrawNothingOutside) {
  // What a host sends is drawn as it comes: a control character is a blank cell, a lone half of
  // a surrogate pair one cell of whatever the fallback draws, and the "X" after them is where
  // three narrow characters put it.
  std::u16string odd = u"\u0007";
  odd += static_cast<char16_t>(0xDC00);  // a second half with no first
  odd += static_cast<char16_t>(0xD800);  // a first half with no second
  odd += u"X";
  int widths[4] = {};
  EXPECT_EQ(TermMeasureRow(odd.data(), odd.size(), kCell, widths), 4);
  QImage image = Row(odd, true, false, 4);
  EXPECT_EQ(Cells(image, 0, 1), Cells(Row(u" ", false, false, 4), 0, 1));
  EXPECT_EQ(Cells(image, 3, 4), Cells(Row(u"   X", true, false, 4), 3, 4));
  for (int y = 0; y < image.height(); ++y) EXPECT_EQ(image.pixel(kLeft + 4 * kCell, y), kOutside);
}

TEST(TermDrawRow, TheWideTableFollowsTheEastAsianWidthRanges) {
  using termdraw::CellsOf;
  using termdraw::IsWideCharacter;
  EXPECT_FALSE(IsWideCharacter(U'A'));
  EXPECT_FALSE(IsWideCharacter(0x10FF));
  EXPECT_TRUE(IsWideCharacter(0x1100));   // first of the table
  EXPECT_TRUE(IsWideCharacter(0x115F));
  EXPECT_FALSE(IsWideCharacter(0x1160));  // just after a range
  EXPECT_TRUE(IsWideCharacter(0x4E2D));
  EXPECT_TRUE(IsWideCharacter(0xAC00));   // Hangul syllables
  EXPECT_TRUE(IsWideCharacter(0xFF21));   // fullwidth A
  EXPECT_FALSE(IsWideCharacter(0xFF61));  // halfwidth katakana punctuation
  EXPECT_TRUE(IsWideCharacter(0x1F600));
  EXPECT_TRUE(IsWideCharacter(0x3FFFD));  // last of the table
  EXPECT_FALSE(IsWideCharacter(0x3FFFE));
  EXPECT_FALSE(IsWideCharacter(0x10FFFF));
  EXPECT_EQ(CellsOf(0x0301), 0);
  EXPECT_EQ(CellsOf(U'e'), 1);
  EXPECT_EQ(CellsOf(0x3042), 2);
}

}  // namespace
