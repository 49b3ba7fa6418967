#include "ui/colors/ansi_color_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "marrowby/qt_text.h"
#include "ui/colors/color_editing.h"
#include "ui/colors/color_ui_messages.h"
#include "ui/colors/color_widgets.h"

using namespace color_messages;

AnsiColorPanel::AnsiColorPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  for (int group = 0; group < 2; ++group) {
    bool bold = group == 1;
    auto* box = new QGroupBox(CatalogueText(bold ? kBoldColorsGroup : kNormalColorsGroup), this);
    auto* row = new QHBoxLayout(box);
    for (size_t i = 0; i < 8; ++i) {
      size_t index = (bold ? 8 : 0) + i;
      auto* button = new ColorButton(QString(), box);
      // The row names of the preview say which colour each button is.
      button->setAccessibleName(
          CatalogueText(kFirstAnsiRowName + static_cast<uint32_t>(i * 2 + (bold ? 1 : 0))));
      buttons_[index] = button;
      row->addWidget(button);
      connect(button, &ColorButton::ColorChosen, this, [this, index](VColor color) {
        palette_.colors[index] = color;
        emit PaletteEdited();
      });
    }
    row->addSpacing(8);
    reset_[group] = new QPushButton(CatalogueText(bold ? kResetBold : kResetNormal), box);
    row->addWidget(reset_[group]);
    connect(reset_[group], &QPushButton::clicked, this, [this, bold] {
      coloredit::ResetGroup(palette_, bold);
      ShowColors();
      emit PaletteEdited();
    });
    layout->addWidget(box);
  }
}

void AnsiColorPanel::SetPalette(const AnsiPaletteEntry& palette) {
  palette_ = palette;
  ShowColors();
}

void AnsiColorPanel::ShowColors() {
  for (size_t i = 0; i < kPaletteColorCount; ++i) buttons_[i]->SetColor(palette_.colors[i]);
}
