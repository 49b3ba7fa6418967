// The pieces the colour dialogs share: a button that shows a colour, the colour chooser (which
// tests replace), and the conversions between colour references and Qt's colours.
#pragma once

#include <functional>
#include <optional>

#include <QColor>
#include <QPushButton>

#include "config/colors/color_text.h"

QColor ToQColor(VColor color);
VColor FromQColor(const QColor& color);
// The colour the screen shows for `color`: the same on a screen of true colour, else the colour
// its fewer bits per channel give.
VColor NearestDisplayColor(VColor color);

// Asks for a colour starting from `initial`; nothing when the user cancelled.
using ColorChooser = std::function<std::optional<VColor>(QWidget* parent, VColor initial)>;
std::optional<VColor> ChooseColor(QWidget* parent, VColor initial);
// Replaces the chooser (tests); an empty function brings back Qt's colour dialog.
void SetColorChooser(ColorChooser chooser);

// A push button with a swatch of its colour beside its text; clicking it asks for a colour.
class ColorButton : public QPushButton {
  Q_OBJECT

 public:
  explicit ColorButton(const QString& text, QWidget* parent = nullptr);
  VColor Color() const { return color_; }
  void SetColor(VColor color);

 signals:
  // A colour was chosen (already matched to the display).
  void ColorChosen(VColor color);

 private:
  void Choose();
  VColor color_ = 0;
};
