// The preview of a colour scheme: one row of terminal text per text attribute (or per ANSI
// colour), each a blank cell, the row's name and a blank cell in the row's colours, drawn by
// TermDrawRow in the terminal's fixed-pitch font at 11 points. Rows are selected by clicking
// (Ctrl toggles a row, Shift extends); selected rows stand on a frame two pixels larger.
#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

#include "ui/colors/color_editing.h"

class ColorSchemesCtrl : public QWidget {
  Q_OBJECT

 public:
  explicit ColorSchemesCtrl(QWidget* parent = nullptr);

  void SetScheme(const ColorSchemeEntry& scheme, const AnsiPaletteEntry& palette);
  // Attribute rows for Basic and Advanced, ANSI rows for the ANSI view; the selection is cleared.
  void SetView(coloredit::SchemeView view);
  coloredit::SchemeView View() const { return view_; }
  size_t RowCount() const { return static_cast<size_t>(names_.size()); }
  QString RowName(size_t row) const { return names_.value(static_cast<qsizetype>(row)); }
  // Bit n: row n is selected.
  uint32_t Selection() const { return selection_; }
  void SetSelection(uint32_t mask);
  // Where row `row` is drawn (without its selection frame).
  QRect RowRect(size_t row) const;
  int CellWidth() const { return cellWidth_; }
  int LineHeight() const { return lineHeight_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  void SelectionChanged(uint32_t mask);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Up and Down move the selection (Shift extends it), as in a list.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  coloredit::RowLook LookOf(size_t row) const;
  int Columns(size_t row) const;
  void SelectRow(int row, Qt::KeyboardModifiers modifiers);

  QFont font_;
  int cellWidth_ = 8;
  int lineHeight_ = 16;
  int ascent_ = 12;
  ColorSchemeEntry scheme_;
  AnsiPaletteEntry palette_;
  coloredit::SchemeView view_ = coloredit::SchemeView::Basic;
  QStringList names_;
  uint32_t selection_ = 0;
  int anchor_ = 0;  // where Shift extends from
  int cursor_ = 0;  // where Up and Down move from
};
