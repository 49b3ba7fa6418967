#include "ui/colors/color_preview.h"

#include <algorithm>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "marrowby/qt_text.h"
#include "ui/colors/color_ui_messages.h"
#include "ui/colors/term_draw.h"

namespace {

constexpr int kLeft = 6;
constexpr int kTop = 6;
constexpr int kFramePad = 2;

}  // namespace

ColorSchemesCtrl::ColorSchemesCtrl(QWidget* parent) : QWidget(parent) {
  // The terminal's fixed-pitch face at 11 points, measured for this screen's resolution.
  font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font_.setPointSize(11);
  font_.setStyleHint(QFont::TypeWriter);
  QFontMetrics metrics(font_, this);
  cellWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
  lineHeight_ = metrics.height() + std::max(0, metrics.leading());
  ascent_ = metrics.ascent();
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  SetView(coloredit::SchemeView::Basic);
}

void ColorSchemesCtrl::SetScheme(const ColorSchemeEntry& scheme, const AnsiPaletteEntry& palette) {
  scheme_ = scheme;
  palette_ = palette;
  update();
}

void ColorSchemesCtrl::SetView(coloredit::SchemeView view) {
  view_ = view;
  names_.clear();
  if (view == coloredit::SchemeView::Ansi) {
    for (size_t row = 0; row < coloredit::kAnsiRowCount; ++row)
      names_ << CatalogueText(color_messages::kFirstAnsiRowName + static_cast<uint32_t>(row));
  } else {
    for (size_t slot = 0; slot < kAttributeCount; ++slot)
      names_ << CatalogueText(color_messages::kFirstAttributeName + static_cast<uint32_t>(slot));
  }
  selection_ = 0;
  anchor_ = 0;
  cursor_ = 0;
  updateGeometry();
  update();
}

void ColorSchemesCtrl::SetSelection(uint32_t mask) {
  uint32_t all = names_.isEmpty() ? 0 : ((1u << names_.size()) - 1);
  mask &= all;
  if (mask == selection_) return;
  selection_ = mask;
  update();
  emit SelectionChanged(selection_);
}

int ColorSchemesCtrl::Columns(size_t row) const {
  // A blank cell on each side of the name.
  return static_cast<int>(RowName(row).size()) + 2;
}

QRect ColorSchemesCtrl::RowRect(size_t row) const {
  return QRect(kLeft, kTop + static_cast<int>(row) * (lineHeight_ + 2 * kFramePad),
               Columns(row) * cellWidth_, lineHeight_);
}

QSize ColorSchemesCtrl::sizeHint() const {
  int widest = 0;
  for (size_t row = 0; row < RowCount(); ++row) widest = std::max(widest, Columns(row));
  // Room for the longest name of any view, so that switching views keeps the layout.
  widest = std::max(widest, 24);
  int rows = static_cast<int>(std::max<size_t>(RowCount(), 8));
  return QSize(kLeft * 2 + widest * cellWidth_ + 2 * kFramePad,
               kTop * 2 + rows * (lineHeight_ + 2 * kFramePad));
}

coloredit::RowLook ColorSchemesCtrl::LookOf(size_t row) const {
  if (view_ == coloredit::SchemeView::Ansi) return coloredit::AnsiRowLook(scheme_, palette_, row);
  return coloredit::AttributeRowLook(scheme_, row);
}

void ColorSchemesCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  painter.setFont(font_);
  for (size_t row = 0; row < RowCount(); ++row) {
    QRect cells = RowRect(row);
    if (selection_ & (1u << row))
      painter.fillRect(cells.adjusted(-kFramePad, -kFramePad, kFramePad, kFramePad),
                       palette().color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
    QString text = QLatin1Char(' ') + RowName(row) + QLatin1Char(' ');
    coloredit::RowLook look = LookOf(row);
    TermDrawText(painter, look.foreground, look.background, look.bold, look.underline, cells.x(),
                 cells.y(), cellWidth_, lineHeight_, reinterpret_cast<const char16_t*>(text.utf16()),
                 static_cast<size_t>(text.size()));
  }
}

void ColorSchemesCtrl::SelectRow(int row, Qt::KeyboardModifiers modifiers) {
  uint32_t bit = 1u << row;
  if (modifiers & Qt::ControlModifier) {
    SetSelection(selection_ ^ bit);
    anchor_ = row;
  } else if (modifiers & Qt::ShiftModifier) {
    int from = std::min(anchor_, row);
    int to = std::max(anchor_, row);
    uint32_t mask = 0;
    for (int r = from; r <= to; ++r) mask |= 1u << r;
    SetSelection(mask);
  } else {
    SetSelection(bit);
    anchor_ = row;
  }
  cursor_ = row;
}

void ColorSchemesCtrl::mousePressEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  for (size_t row = 0; row < RowCount(); ++row) {
    QRect frame = RowRect(row).adjusted(-kFramePad, -kFramePad, kFramePad, kFramePad);
    frame.setRight(width());
    if (!frame.contains(at)) continue;
    SelectRow(static_cast<int>(row), event->modifiers());
    setFocus();
    return;
  }
}

void ColorSchemesCtrl::keyPressEvent(QKeyEvent* event) {
  int step = event->key() == Qt::Key_Up ? -1 : event->key() == Qt::Key_Down ? 1 : 0;
  if (step == 0 || RowCount() == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  int row = std::clamp(cursor_ + step, 0, static_cast<int>(RowCount()) - 1);
  SelectRow(row, event->modifiers() & Qt::ShiftModifier);
}
