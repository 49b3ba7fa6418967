// Choosing a font in the form the settings keep it: a face name, a size in tenths of a point, a
// weight (100 thin to 900 black, 400 normal) and an italic flag. Tests answer the chooser through
// a handler instead of showing it, as they do message boxes.
#pragma once

#include <functional>
#include <optional>

#include <QFont>
#include <QString>

class QWidget;

struct VChosenFont {
  QString faceName;
  int tenthsOfPoint = 100;
  int weight = 400;
  bool italic = false;
  bool operator==(const VChosenFont&) const = default;
};

// The Qt font a stored choice stands for: a size or weight that is not set (0 or less) means
// 10 points and normal weight; weights are kept within what a font can have (1 to 1000).
QFont VFontFromChoice(const VChosenFont& choice);
// The stored form of a Qt font, its size rounded to the nearest tenth of a point.
VChosenFont VChoiceFromFont(const QFont& font);

struct VFontDialogShown {
  QWidget* owner;
  VChosenFont initial;
  bool monospacedOnly;
};
// While set, the chooser is not shown: the handler gets what would have been and returns the
// choice, or nothing for Cancel.
using VFontDialogHandler = std::function<std::optional<VChosenFont>(const VFontDialogShown&)>;
void VSetFontDialogHandler(VFontDialogHandler handler);

// Shows the chooser starting at `font`; true with the choice in `font`, false (and `font` as it
// was) when cancelled. `monospacedOnly` lists only fixed-pitch faces, as a terminal needs.
bool ChooseFontW(QWidget* owner, VChosenFont& font, bool monospacedOnly);
