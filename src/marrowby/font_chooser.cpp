#include "marrowby/font_chooser.h"

#include <algorithm>
#include <cmath>

#include <QFontDialog>

namespace {

VFontDialogHandler& Handler() {
  static VFontDialogHandler handler;
  return handler;
}

}  // namespace

QFont VFontFromChoice(const VChosenFont& choice) {
  QFont font(choice.faceName);
  font.setPointSizeF(choice.tenthsOfPoint > 0 ? choice.tenthsOfPoint / 10.0 : 10.0);
  font.setWeight(static_cast<QFont::Weight>(choice.weight > 0 ? std::clamp(choice.weight, 1, 1000)
                                                               : 400));
  font.setItalic(choice.italic);
  return font;
}

VChosenFont VChoiceFromFont(const QFont& font) {
  VChosenFont choice;
  choice.faceName = font.family();
  // A font sized in pixels has no point size (-1): keep the chooser's usual 10 points then.
  double points = font.pointSizeF();
  choice.tenthsOfPoint = points > 0 ? static_cast<int>(std::lround(points * 10)) : 100;
  choice.weight = static_cast<int>(font.weight());
  choice.italic = font.italic();
  return choice;
}

void VSetFontDialogHandler(VFontDialogHandler handler) { Handler() = std::move(handler); }

bool ChooseFontW(QWidget* owner, VChosenFont& font, bool monospacedOnly) {
  std::optional<VChosenFont> chosen;
  if (Handler()) {
    chosen = Handler()(VFontDialogShown{owner, font, monospacedOnly});
  } else {
    bool ok = false;
    QFontDialog::FontDialogOptions options;
    if (monospacedOnly) options |= QFontDialog::MonospacedFonts;
    QFont picked = QFontDialog::getFont(&ok, VFontFromChoice(font), owner, QString(), options);
    if (ok) chosen = VChoiceFromFont(picked);
  }
  if (!chosen) return false;
  font = *chosen;
  return true;
}
