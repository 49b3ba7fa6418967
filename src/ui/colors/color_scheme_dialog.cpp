#include "ui/colors/color_scheme_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/colors/color_builtins.h"
#include "marrowby/qt_text.h"
#include "ui/colors/color_preview.h"
#include "ui/colors/color_ui_messages.h"
#include "ui/colors/color_widgets.h"

using namespace color_messages;
using coloredit::SchemeView;

ColorSchemesDialog::ColorSchemesDialog(const ColorSchemeEntry& scheme,
                                       const ProfileAnsiPaletteList& palettes, QWidget* parent)
    : VDialog(parent), scheme_(scheme), palettes_(palettes) {
  platformColors_ = vcolors::IsPlatformSchemeName(scheme.name);
  setWindowTitle(CatalogueText(kSchemeDialogTitle, nullptr, {scheme.name}));
  auto* outer = new QVBoxLayout(this);

  auto* views = new QHBoxLayout;
  auto* group = new QButtonGroup(this);
  const uint32_t viewTexts[] = {kBasicView, kAdvancedView, kAnsiView};
  for (int i = 0; i < 3; ++i) {
    viewButtons_[i] = new QRadioButton(CatalogueText(viewTexts[i]), this);
    group->addButton(viewButtons_[i], i);
    views->addWidget(viewButtons_[i]);
  }
  views->addStretch(1);
  outer->addLayout(views);

  auto* body = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* attributesLabel = new QLabel(CatalogueText(kAttributesLabel), this);
  attributes_ = new QListWidget(this);
  attributes_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  attributesLabel->setBuddy(attributes_);
  left->addWidget(attributesLabel);
  left->addWidget(attributes_, 1);
  auto* buttons = new QHBoxLayout;
  foreground_ = new ColorButton(CatalogueText(kForegroundButton), this);
  background_ = new ColorButton(CatalogueText(kBackgroundButton), this);
  buttons->addWidget(foreground_);
  buttons->addWidget(background_);
  left->addLayout(buttons);

  advancedBox_ = new QWidget(this);
  auto* advanced = new QGridLayout(advancedBox_);
  advanced->setContentsMargins(0, 0, 0, 0);
  auto* paletteLabel = new QLabel(CatalogueText(kPaletteLabel), advancedBox_);
  paletteCombo_ = new QComboBox(advancedBox_);
  paletteLabel->setBuddy(paletteCombo_);
  advanced->addWidget(paletteLabel, 0, 0);
  advanced->addWidget(paletteCombo_, 0, 1);
  overstrike_ = new QCheckBox(CatalogueText(kOverstrikeBold), advancedBox_);
  underline_ = new QCheckBox(CatalogueText(kShowUnderline), advancedBox_);
  blink_ = new QCheckBox(CatalogueText(kEnableBlink), advancedBox_);
  advanced->addWidget(overstrike_, 1, 0, 1, 2);
  advanced->addWidget(underline_, 2, 0, 1, 2);
  advanced->addWidget(blink_, 3, 0, 1, 2);
  left->addWidget(advancedBox_);
  body->addLayout(left);

  auto* right = new QVBoxLayout;
  auto* previewLabel = new QLabel(CatalogueText(kPreviewLabel), this);
  preview_ = new ColorSchemesCtrl(this);
  previewLabel->setBuddy(preview_);
  right->addWidget(previewLabel);
  right->addWidget(preview_, 1);
  body->addLayout(right, 1);
  outer->addLayout(body, 1);
  AddOkCancel(outer);

  // Every palette by the name the list keeps; the scheme's own, else the first built-in.
  for (const VUnicodeString& name : palettes.GetNames()) paletteCombo_->addItem(ToQString(name));
  size_t own = palettes.Find(scheme.paletteName);
  if (own == ProfileColorsBase::kNotFound) {
    scheme_.paletteName = vcolors::BuiltInPalettes()[0].name;
    own = palettes.Find(scheme_.paletteName);
  }
  if (own != ProfileColorsBase::kNotFound) {
    paletteCombo_->setCurrentIndex(static_cast<int>(own));
    scheme_.paletteName = FromQString(paletteCombo_->currentText());
  }
  overstrike_->setChecked(scheme_.overstrikeBold != 0);
  underline_->setChecked(scheme_.showUnderline != 0);
  blink_->setChecked(scheme_.enableBlink != 0);

  connect(group, &QButtonGroup::idClicked, this,
          [this](int id) { SetView(static_cast<SchemeView>(id)); });
  connect(attributes_, &QListWidget::itemSelectionChanged, this,
          &ColorSchemesDialog::ListSelectionChanged);
  connect(preview_, &ColorSchemesCtrl::SelectionChanged, this,
          &ColorSchemesDialog::PreviewSelectionChanged);
  connect(foreground_, &ColorButton::ColorChosen, this, [this](VColor color) {
    coloredit::SetColorOfRows(scheme_.foregrounds, AttributeMask(), color);
    UpdatePreview();
    UpdateColorButtons();
  });
  connect(background_, &ColorButton::ColorChosen, this, [this](VColor color) {
    coloredit::SetColorOfRows(scheme_.backgrounds, AttributeMask(), color);
    UpdatePreview();
    UpdateColorButtons();
  });
  connect(paletteCombo_, &QComboBox::currentIndexChanged, this, &ColorSchemesDialog::PaletteChosen);
  auto option = [this](QCheckBox* box, uint8_t& value) {
    connect(box, &QCheckBox::toggled, this, [this, &value](bool on) {
      value = on ? 1 : 0;
      UpdatePreview();
    });
  };
  option(overstrike_, scheme_.overstrikeBold);
  option(underline_, scheme_.showUnderline);
  option(blink_, scheme_.enableBlink);

  UpdatePreview();
  SetView(SchemeView::Basic);
}

QRadioButton* ColorSchemesDialog::ViewButton(SchemeView view) const {
  return viewButtons_[static_cast<int>(view)];
}

void ColorSchemesDialog::SetView(SchemeView view) {
  view_ = view;
  ViewButton(view)->setChecked(true);
  syncing_ = true;
  attributes_->clear();
  preview_->SetView(view);
  bool ansi = view == SchemeView::Ansi;
  if (!ansi) {
    for (size_t slot = 0; slot < kAttributeCount; ++slot)
      attributes_->addItem(CatalogueText(kFirstAttributeName + static_cast<uint32_t>(slot)));
  }
  attributes_->setEnabled(!ansi);
  advancedBox_->setVisible(view != SchemeView::Basic);
  syncing_ = false;
  if (!ansi) attributes_->setCurrentRow(0);  // selects Normal, which the preview follows
  UpdateColorButtons();
}

uint32_t ColorSchemesDialog::AttributeMask() const {
  if (view_ == SchemeView::Ansi) return 0;
  return preview_->Selection();
}

void ColorSchemesDialog::ListSelectionChanged() {
  if (syncing_) return;
  uint32_t mask = 0;
  for (int row = 0; row < attributes_->count(); ++row)
    if (attributes_->item(row)->isSelected()) mask |= 1u << row;
  syncing_ = true;
  preview_->SetSelection(mask);
  syncing_ = false;
  UpdateColorButtons();
}

void ColorSchemesDialog::PreviewSelectionChanged(uint32_t mask) {
  if (syncing_ || view_ == SchemeView::Ansi) return;
  syncing_ = true;
  for (int row = 0; row < attributes_->count(); ++row)
    attributes_->item(row)->setSelected((mask & (1u << row)) != 0);
  syncing_ = false;
  UpdateColorButtons();
}

void ColorSchemesDialog::UpdateColorButtons() {
  uint32_t mask = AttributeMask();
  foreground_->SetColor(coloredit::SharedColor(scheme_.foregrounds, mask));
  background_->SetColor(coloredit::SharedColor(scheme_.backgrounds, mask));
  // The desktop's scheme takes its colours from the desktop, not from these buttons.
  bool editable = mask != 0 && !platformColors_;
  foreground_->setEnabled(editable);
  background_->setEnabled(editable);
}

void ColorSchemesDialog::UpdatePreview() {
  preview_->SetScheme(scheme_, coloredit::PaletteOfScheme(scheme_, palettes_));
}

void ColorSchemesDialog::PaletteChosen() {
  if (paletteCombo_->currentIndex() < 0) return;
  scheme_.paletteName = FromQString(paletteCombo_->currentText());
  UpdatePreview();
}
