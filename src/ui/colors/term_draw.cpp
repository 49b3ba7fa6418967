#include "ui/colors/term_draw.h"

#include <atomic>
#include <vector>

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QString>
#include <QTextBoundaryFinder>

#include "ui/colors/color_widgets.h"
#include "ui/colors/wide_chars.h"

namespace {

std::atomic<bool> gUnclipped{false};

// The painter's font as glyph tables, kept from one row to the next: making it costs far more
// than drawing a row, and a screen is drawn row after row in one font.
struct FontTables {
  QFont font;
  QRawFont raw;
  qreal ascent = 0;
  bool made = false;
};

const FontTables& TablesFor(const QFont& font) {
  thread_local FontTables tables;
  if (!tables.made || tables.font != font || tables.font.resolveMask() != font.resolveMask()) {
    tables.font = font;
    tables.raw = QRawFont::fromFont(font);
    tables.ascent = QFontMetricsF(font).ascent();
    tables.made = true;
  }
  return tables;
}

bool IsAscii(const char16_t* text, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (text[i] >= 0x80) return false;
  return true;
}

// C0 controls and DEL have no picture in a terminal: their cells stay blank.
bool IsControl(char32_t code) { return code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0); }

char32_t CodeAt(const char16_t* text, size_t count, size_t i, size_t& units) {
  char16_t unit = text[i];
  if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 &&
      text[i + 1] < 0xE000) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  }
  units = 1;
  return unit;
}

// What one row draws: glyphs of the painter's font at their cells, and pieces Qt shapes.
struct RowPlan {
  QList<quint32> glyphs;
  QList<QPointF> positions;
  std::vector<std::pair<QString, qreal>> shaped;  // text and its left edge

  void Clear() {
    glyphs.clear();
    positions.clear();
    shaped.clear();
  }
};

void PlanAscii(RowPlan& plan, const FontTables& tables, const char16_t* text, const int* widths,
               size_t count, int x, qreal baseline) {
  thread_local std::vector<quint32> indexes;
  indexes.resize(count);
  int made = static_cast<int>(count);
  tables.raw.glyphIndexesForChars(reinterpret_cast<const QChar*>(text), static_cast<int>(count),
                                  indexes.data(), &made);
  qreal pen = x;
  for (size_t i = 0; i < count; ++i) {
    if (!IsControl(text[i]) && text[i] != u' ' && i < static_cast<size_t>(made)) {
      plan.glyphs.push_back(indexes[i]);
      plan.positions.push_back(QPointF(pen, baseline));
    }
    pen += widths[i];
  }
}

void PlanGlyphIndices(RowPlan& plan, const char16_t* text, const int* widths, size_t count,
                      int x, qreal baseline) {
  qreal pen = x;
  for (size_t i = 0; i < count; ++i) {
    plan.glyphs.push_back(text[i]);
    plan.positions.push_back(QPointF(pen, baseline));
    pen += widths[i];
  }
}

// Each character with the marks that belong to it goes to its cells: as a glyph of the painter's
// font when that font has it and nothing joins it, else as text shaped by Qt (which finds a
// font that has it).
void PlanMixed(RowPlan& plan, const FontTables& tables, const char16_t* text, const int* widths,
               size_t count, int x, qreal baseline) {
  QString row = QString::fromUtf16(text, static_cast<qsizetype>(count));
  QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, row);
  qreal pen = x;
  qsizetype start = 0;
  while (start < row.size()) {
    clusters.setPosition(start);
    qsizetype end = clusters.toNextBoundary();
    if (end <= start) end = row.size();
    qreal advance = 0;
    for (qsizetype i = start; i < end; ++i) advance += widths[i];
    size_t units = 0;
    char32_t code = CodeAt(text, count, static_cast<size_t>(start), units);
    bool single = static_cast<qsizetype>(units) == end - start;
    if (IsControl(code) || code == U' ') {
      // blank cells
    } else if (single && tables.raw.supportsCharacter(code)) {
      quint32 glyph = 0;
      int made = 1;
      QChar pair[2];
      int length = static_cast<int>(units);
      pair[0] = QChar(text[start]);
      if (units == 2) pair[1] = QChar(text[start + 1]);
      if (tables.raw.glyphIndexesForChars(pair, length, &glyph, &made) && made == 1 && glyph != 0) {
        plan.glyphs.push_back(glyph);
        plan.positions.push_back(QPointF(pen, baseline));
      } else {
        plan.shaped.emplace_back(row.mid(start, end - start), pen);
      }
    } else {
      plan.shaped.emplace_back(row.mid(start, end - start), pen);
    }
    pen += advance;
    start = end;
  }
}

void DrawPlan(QPainter& painter, const FontTables& tables, const RowPlan& plan, qreal dx,
              qreal baseline) {
  if (!plan.glyphs.isEmpty()) {
    QGlyphRun run;
    run.setRawFont(tables.raw);
    run.setGlyphIndexes(plan.glyphs);
    run.setPositions(plan.positions);
    painter.drawGlyphRun(QPointF(dx, 0), run);
  }
  for (const auto& [piece, left] : plan.shaped) painter.drawText(QPointF(left + dx, baseline), piece);
}

}  // namespace

void SetTermDrawUnclipped(bool unclipped) { gUnclipped = unclipped; }
bool IsTermDrawUnclipped() { return gUnclipped; }

int TermMeasureRow(const char16_t* text, size_t count, int cellWidth, int* widths) {
  int columns = 0;
  size_t i = 0;
  while (i < count) {
    size_t units = 0;
    char32_t code = CodeAt(text, count, i, units);
    int cells = termdraw::CellsOf(code);
    widths[i] = cells * cellWidth;
    if (units == 2) widths[i + 1] = 0;
    columns += cells;
    i += units;
  }
  return columns;
}

void TermDrawRow(QPainter& painter, VColor foreground, VColor background, bool overstrikeBold,
                 bool underline, int x, int y, int cellWidth, int cellHeight, int underlineOffset,
                 const char16_t* text, size_t count) {
  thread_local std::vector<int> widths;
  widths.resize(count);
  int columns = TermMeasureRow(text, count, cellWidth, widths.data());
  unsigned style = (overstrikeBold ? kTermStyleBold : 0) | (underline ? kTermStyleUnderline : 0);
  TermDrawRow(painter, foreground, background, overstrikeBold, style, x, y, cellWidth, cellHeight,
              underlineOffset, text, widths.data(), false, count, columns, 1);
}

void TermDrawRow(QPainter& painter, VColor foreground, VColor background, bool overstrikeBold,
                 unsigned style, int x, int y, int cellWidth, int cellHeight, int underlineOffset,
                 const char16_t* text, const int* widths, bool glyphIndices, size_t count,
                 int columns, int overstrikeRepeat) {
  const FontTables& tables = TablesFor(painter.font());
  const QRect cells(x, y, columns * cellWidth, cellHeight);
  const qreal baseline = y + tables.ascent;

  thread_local RowPlan plan;
  plan.Clear();
  if (glyphIndices) PlanGlyphIndices(plan, text, widths, count, x, baseline);
  else if (IsAscii(text, count)) PlanAscii(plan, tables, text, widths, count, x, baseline);
  else PlanMixed(plan, tables, text, widths, count, x, baseline);

  painter.save();
  if (!gUnclipped)
    painter.setClipRect(cells, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  painter.fillRect(cells, ToQColor(background));
  painter.setPen(ToQColor(foreground));
  painter.setBackgroundMode(Qt::TransparentMode);
  DrawPlan(painter, tables, plan, 0, baseline);
  if (overstrikeBold && (style & kTermStyleBold)) {
    for (int shift = 1; shift <= std::max(1, overstrikeRepeat); ++shift)
      DrawPlan(painter, tables, plan, shift, baseline);
  }
  if ((style & kTermStyleUnderline) && columns > 0) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ToQColor(foreground), 0));
    int lineY = y + underlineOffset;
    painter.drawLine(x, lineY, cells.right(), lineY);
  }
  painter.restore();
}
