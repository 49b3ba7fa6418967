#include "ui/colors/ansi_color_pages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "config/colors/color_builtins.h"
#include "config/global/global_config.h"
#include "config/session/session_config.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/colors/ansi_color_panel.h"
#include "ui/colors/color_editing.h"
#include "ui/colors/color_launch.h"
#include "ui/colors/color_ui_messages.h"
#include "ui/colors/new_color_dialogs.h"

using namespace color_messages;

namespace {

// A labelled list with a column of buttons beside it, at the top of `layout`; the buttons in the
// order given.
QListWidget* AddListWithButtons(QWidget* page, QVBoxLayout* layout, uint32_t labelId,
                                std::initializer_list<std::pair<uint32_t, QPushButton**>> buttons) {
  auto* label = new QLabel(CatalogueText(labelId), page);
  auto* list = new QListWidget(page);
  label->setBuddy(list);
  layout->addWidget(label);
  auto* row = new QHBoxLayout;
  row->addWidget(list, 1);
  auto* column = new QVBoxLayout;
  for (const auto& [textId, button] : buttons) {
    *button = new QPushButton(CatalogueText(textId), page);
    column->addWidget(*button);
  }
  column->addStretch(1);
  row->addLayout(column);
  layout->addLayout(row, 1);
  return list;
}

void SelectName(QListWidget* list, const ProfileColorsBase& entries, const VUnicodeString& name) {
  size_t index = entries.Find(name);
  list->setCurrentRow(index == ProfileColorsBase::kNotFound ? 0 : static_cast<int>(index));
}

AnsiPaletteEntry FromCustomColors(const CustomColors& colors) {
  AnsiPaletteEntry entry;
  for (size_t i = 0; i < kPaletteColorCount; ++i) entry.colors[i] = colors.colors[i];
  return entry;
}

}  // namespace

// ---- Global ANSI Color ----

GlobalAnsiColorPage::GlobalAnsiColorPage(GlobalConfig& config, QWidget* parent)
    : VPropertyTreePage(CatalogueText(kAnsiColorPageTitle), parent), config_(config) {}

void GlobalAnsiColorPage::OnInitDialog() {
  palettes_ = config_.ansiPalettes;
  current_ = config_.currentAnsiPalette.Current();

  auto* layout = new QVBoxLayout(this);
  list_ = AddListWithButtons(this, layout, kPalettesLabel,
                             {{kNewPalette, &new_}, {kDeletePalette, &delete_}});
  panel_ = new AnsiColorPanel(this);
  layout->addWidget(panel_);

  connect(list_, &QListWidget::currentRowChanged, this, &GlobalAnsiColorPage::PaletteSelected);
  connect(new_, &QPushButton::clicked, this, &GlobalAnsiColorPage::NewPalette);
  connect(delete_, &QPushButton::clicked, this, &GlobalAnsiColorPage::DeletePalette);
  connect(panel_, &AnsiColorPanel::PaletteEdited, this,
          [this] { palettes_.SetPalette(panel_->Palette()); });
  FillList(current_);
}

void GlobalAnsiColorPage::FillList(const VUnicodeString& select) {
  QSignalBlocker quiet(list_);
  list_->clear();
  for (const VUnicodeString& name : palettes_.GetNames()) list_->addItem(ToQString(name));
  SelectName(list_, palettes_, select);
  quiet.unblock();
  PaletteSelected();
}

void GlobalAnsiColorPage::PaletteSelected() {
  QListWidgetItem* item = list_->currentItem();
  if (!item) {
    panel_->setEnabled(false);
    delete_->setEnabled(false);
    return;
  }
  VUnicodeString name = FromQString(item->text());
  current_ = name;
  std::optional<AnsiPaletteEntry> palette = palettes_.GetPalette(name);
  // A stored palette this release cannot read is shown but not edited.
  panel_->setEnabled(palette.has_value());
  if (palette) panel_->SetPalette(*palette);
  delete_->setEnabled(!vcolors::IsBuiltInPaletteName(name));
}

void GlobalAnsiColorPage::NewPalette() {
  NewColorPaletteDialog dialog(palettes_, current_, this);
  if (dialog.DoModal() != kIdOk) return;
  palettes_.SetPalette(dialog.Palette());
  FillList(dialog.Palette().name);
}

void GlobalAnsiColorPage::DeletePalette() {
  QListWidgetItem* item = list_->currentItem();
  if (!item) return;
  VUnicodeString name = FromQString(item->text());
  if (vcolors::IsBuiltInPaletteName(name)) return;
  QString question = CatalogueText(kDeletePaletteQuestion, nullptr,
                                   {vcolors::BuiltInPalettes()[0].name});
  if (VMessageBox(this, question, kMbOkCancel | kMbIconWarning) != kIdOk) return;

  // A palette made on this page since it opened is not in the configuration yet.
  if (config_.ansiPalettes.Find(name) != ProfileColorsBase::kNotFound) {
    VReportMessageParams error;
    if (!coloredit::DeletePaletteNow(config_, name, error)) {
      VReportMessageParams message(kPaletteDeletionNotWritten, VGetUiMessageModule());
      message.AddInsert(name);
      message.AddInsert(FromQString(MessageText(error)));
      VMessageBox(this, message, kMbOk | kMbIconError);
      return;
    }
  }
  ProfileColorSchemeListV2 schemes;
  vcolors::DeletePalette(palettes_, schemes, current_, name);
  // The first palette becomes the current one.
  current_ = palettes_.GetCount() ? VUnicodeString(vcolors::EntryName(palettes_.GetEntry(0)))
                                  : VUnicodeString();
  FillList(current_);
}

void GlobalAnsiColorPage::OnApply() {
  if (!(config_.ansiPalettes.Current() == palettes_.Current()))
    config_.ansiPalettes.Current() = palettes_.Current();
  if (!current_.empty()) config_.currentAnsiPalette = current_;
}

// ---- Global colour schemes ----

GlobalColorSchemesPage::GlobalColorSchemesPage(GlobalConfig& config, const VUnicodeString& selected,
                                               QWidget* parent)
    : VPropertyTreePage(CatalogueText(kColorSchemesPageTitle), parent),
      config_(config),
      selected_(selected) {}

void GlobalColorSchemesPage::OnInitDialog() {
  schemes_ = config_.colorSchemes;

  auto* layout = new QVBoxLayout(this);
  list_ = AddListWithButtons(this, layout, kSchemesLabel,
                             {{kEditScheme, &edit_}, {kNewScheme, &new_}, {kDeleteScheme, &delete_}});

  auto* group = new QGroupBox(CatalogueText(kTransparencyGroup), this);
  auto* form = new QFormLayout(group);
  active_ = new QSlider(Qt::Horizontal, group);
  active_->setRange(15, 255);  // a window that is not there at all cannot be worked in
  active_->setValue(config_.activeWindowAlphaTransparency.current);
  inactive_ = new QSlider(Qt::Horizontal, group);
  inactive_->setRange(0, 255);
  inactive_->setValue(config_.inactiveWindowAlphaTransparency.current);
  auto* activeLabel = new QLabel(CatalogueText(kActiveWindow), group);
  activeLabel->setBuddy(active_);
  auto* inactiveLabel = new QLabel(CatalogueText(kInactiveWindow), group);
  inactiveLabel->setBuddy(inactive_);
  form->addRow(activeLabel, active_);
  form->addRow(inactiveLabel, inactive_);
  layout->addWidget(group);

  connect(list_, &QListWidget::currentRowChanged, this, &GlobalColorSchemesPage::SchemeSelected);
  connect(list_, &QListWidget::itemDoubleClicked, this, &GlobalColorSchemesPage::EditScheme);
  connect(edit_, &QPushButton::clicked, this, &GlobalColorSchemesPage::EditScheme);
  connect(new_, &QPushButton::clicked, this, &GlobalColorSchemesPage::NewScheme);
  connect(delete_, &QPushButton::clicked, this, &GlobalColorSchemesPage::DeleteScheme);
  FillList(selected_);
}

void GlobalColorSchemesPage::FillList(const VUnicodeString& select) {
  QSignalBlocker quiet(list_);
  list_->clear();
  for (const VUnicodeString& name : schemes_.GetNames()) list_->addItem(ToQString(name));
  SelectName(list_, schemes_, select);
  quiet.unblock();
  SchemeSelected();
}

VUnicodeString GlobalColorSchemesPage::SelectedName() const {
  QListWidgetItem* item = list_->currentItem();
  return item ? FromQString(item->text()) : VUnicodeString();
}

void GlobalColorSchemesPage::SchemeSelected() {
  VUnicodeString name = SelectedName();
  edit_->setEnabled(!name.empty());
  delete_->setEnabled(!name.empty() && !vcolors::IsBuiltInSchemeName(name));
}

void GlobalColorSchemesPage::EditScheme() {
  VUnicodeString name = SelectedName();
  if (name.empty()) return;
  if (EditColorScheme(this, schemes_, config_.ansiPalettes, name)) FillList(name);
}

void GlobalColorSchemesPage::NewScheme() {
  VUnicodeString created;
  if (NewColorScheme(this, schemes_, config_.ansiPalettes, SelectedName(), created))
    FillList(created);
}

void GlobalColorSchemesPage::DeleteScheme() {
  VUnicodeString name = SelectedName();
  if (name.empty() || vcolors::IsBuiltInSchemeName(name)) return;
  if (VMessageBox(this, CatalogueText(kDeleteSchemeQuestion), kMbOkCancel | kMbIconWarning) != kIdOk)
    return;
  schemes_.RemoveEntry(name);
  FillList(VUnicodeString());
}

void GlobalColorSchemesPage::OnApply() {
  // A palette deleted on the ANSI Color page since this page opened is gone from the
  // configuration already; the schemes kept here that used it fall back as stored ones did.
  for (const VUnicodeString& name : schemes_.GetNames()) {
    std::optional<ColorSchemeEntry> scheme = schemes_.GetScheme(name);
    if (scheme && config_.ansiPalettes.Find(scheme->paletteName) == ProfileColorsBase::kNotFound)
      schemes_.ReplacePalette(scheme->paletteName, vcolors::BuiltInPalettes()[0].name);
  }
  if (!(config_.colorSchemes.Current() == schemes_.Current()))
    config_.colorSchemes.Current() = schemes_.Current();
  config_.activeWindowAlphaTransparency = static_cast<unsigned char>(active_->value());
  config_.inactiveWindowAlphaTransparency = static_cast<unsigned char>(inactive_->value());
}

// ---- Session ANSI Color ----

SessionAnsiColorPage::SessionAnsiColorPage(const SessionPageContext& context, QWidget* parent)
    : VPropertyTreePage(CatalogueText(kAnsiColorPageTitle), parent), context_(context) {}

void SessionAnsiColorPage::OnInitDialog() {
  own_ = FromCustomColors(context_.session->terminal.ansiColorRgb.Current());
  auto* layout = new QVBoxLayout(this);
  useGlobal_ = new QCheckBox(CatalogueText(kUseGlobalAnsiColors), this);
  useGlobal_->setChecked(context_.session->terminal.useGlobalAnsiColors.current);
  layout->addWidget(useGlobal_);
  panel_ = new AnsiColorPanel(this);
  layout->addWidget(panel_);
  layout->addStretch(1);
  connect(useGlobal_, &QCheckBox::toggled, this, &SessionAnsiColorPage::ShowColors);
  connect(panel_, &AnsiColorPanel::PaletteEdited, this, [this] {
    own_.colors = panel_->Palette().colors;
  });
  useGlobal_->setEnabled(!context_.readOnly);
  ShowColors();
}

void SessionAnsiColorPage::ShowColors() {
  if (useGlobal_->isChecked()) {
    AnsiPaletteEntry global = vcolors::BuiltInPalettes()[0];
    if (context_.global) {
      ProfileAnsiPaletteList& palettes = context_.global->ansiPalettes;
      if (std::optional<AnsiPaletteEntry> current =
              palettes.GetPalette(context_.global->currentAnsiPalette.Current()))
        global = *current;
    }
    panel_->SetPalette(global);
    panel_->setEnabled(false);
  } else {
    panel_->SetPalette(own_);
    panel_->setEnabled(!context_.readOnly);
  }
}

void SessionAnsiColorPage::OnApply() {
  TerminalConfig& terminal = context_.session->terminal;
  terminal.useGlobalAnsiColors = useGlobal_->isChecked();
  CustomColors colors;
  for (size_t i = 0; i < kPaletteColorCount; ++i) colors.colors[i] = own_.colors[i];
  terminal.ansiColorRgb = colors;
}
