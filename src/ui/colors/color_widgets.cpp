#include "ui/colors/color_widgets.h"

#include <QColorDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "marrowby/qt_text.h"
#include "ui/colors/color_ui_messages.h"

namespace {

ColorChooser& Chooser() {
  static ColorChooser chooser;
  return chooser;
}

uint8_t Quantize(uint8_t channel, int bits) {
  int levels = (1 << bits) - 1;
  int step = (channel * levels + 127) / 255;
  return static_cast<uint8_t>((step * 255 + levels / 2) / levels);
}

}  // namespace

QColor ToQColor(VColor color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

VColor FromQColor(const QColor& color) {
  return MakeColor(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                   static_cast<uint8_t>(color.blue()));
}

VColor NearestDisplayColor(VColor color) {
  QScreen* screen = QGuiApplication::primaryScreen();
  int depth = screen ? screen->depth() : 24;
  if (depth >= 24) return color;
  // 16 bits: five bits of red and blue, six of green.
  return MakeColor(Quantize(color & 0xFF, 5), Quantize((color >> 8) & 0xFF, 6),
                   Quantize((color >> 16) & 0xFF, 5));
}

std::optional<VColor> ChooseColor(QWidget* parent, VColor initial) {
  if (Chooser()) return Chooser()(parent, initial);
  QColor chosen = QColorDialog::getColor(ToQColor(initial), parent,
                                         CatalogueText(color_messages::kChooseColorTitle));
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

void SetColorChooser(ColorChooser chooser) { Chooser() = std::move(chooser); }

ColorButton::ColorButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  connect(this, &QPushButton::clicked, this, &ColorButton::Choose);
  SetColor(0);
}

void ColorButton::SetColor(VColor color) {
  color_ = color;
  QPixmap swatch(24, 14);
  swatch.fill(ToQColor(color));
  QPainter painter(&swatch);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  painter.end();
  setIcon(QIcon(swatch));
  setIconSize(swatch.size());
  QString hex = QStringLiteral("#") + QStringLiteral("%1").arg(RgbOfColor(color), 6, 16, QLatin1Char('0')).toUpper();
  // A button without text says in its tip which colour it is.
  setToolTip(accessibleName().isEmpty() ? hex : accessibleName() + QLatin1Char(' ') + hex);
}

void ColorButton::Choose() {
  std::optional<VColor> chosen = ChooseColor(this, color_);
  if (!chosen) return;
  VColor shown = NearestDisplayColor(*chosen);
  SetColor(shown);
  emit ColorChosen(shown);
}
