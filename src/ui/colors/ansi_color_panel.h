// The sixteen-colour palette panel: the eight normal and the eight bold ANSI colours as colour
// buttons in two groups, each with a Reset button that restores the group from the built-in
// palette of the same name (the first built-in palette for a palette of the user's own). The
// ANSI Color pages embed it; disabling it disables every button.
#pragma once

#include <QWidget>

#include "config/colors/color_text.h"

class ColorButton;
class QPushButton;

class AnsiColorPanel : public QWidget {
  Q_OBJECT

 public:
  explicit AnsiColorPanel(QWidget* parent = nullptr);

  void SetPalette(const AnsiPaletteEntry& palette);
  const AnsiPaletteEntry& Palette() const { return palette_; }
  // Colour `index` in ANSI order: 0-7 normal, 8-15 bold.
  ColorButton* Button(size_t index) const { return buttons_[index]; }
  QPushButton* ResetButton(bool bold) const { return reset_[bold ? 1 : 0]; }

 signals:
  // A colour was chosen or a group reset.
  void PaletteEdited();

 private:
  void ShowColors();

  AnsiPaletteEntry palette_;
  ColorButton* buttons_[kPaletteColorCount] = {};
  QPushButton* reset_[2] = {};
};
