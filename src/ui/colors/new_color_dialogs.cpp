#include "ui/colors/new_color_dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "config/colors/color_messages.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/colors/color_editing.h"
#include "ui/colors/color_ui_messages.h"

using namespace color_messages;

namespace {

QLineEdit* AddNameField(QWidget* dialog, QFormLayout* form) {
  auto* edit = new QLineEdit(dialog);
  auto* label = new QLabel(CatalogueText(kNameLabel), dialog);
  label->setBuddy(edit);
  form->addRow(label, edit);
  return edit;
}

}  // namespace

VReportMessageParams NewNameComplaint(uint32_t id, std::u16string_view name) {
  // The dialogs' own texts are in the user interface's catalogue, the model's in the library's.
  bool own = ((id >> 16) & 0x0FFF) == 0x139;
  VReportMessageParams message(id, own ? VGetUiMessageModule() : nullptr);
  if (id == kNameExists || !own) message.AddInsert(VUnicodeString(name));
  return message;
}

NewColorSchemeDialog::NewColorSchemeDialog(const ProfileColorSchemeListV2& schemes, QWidget* parent)
    : VDialog(parent), schemes_(schemes) {
  setWindowTitle(CatalogueText(kNewSchemeTitle));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  name_ = AddNameField(this, form);
  layout->addLayout(form);
  AddOkCancel(layout);
  name_->setFocus();
  setMinimumWidth(fontMetrics().averageCharWidth() * 45);
}

bool NewColorSchemeDialog::OnOK() {
  VUnicodeString name = FromQString(name_->text());
  if (uint32_t complaint = coloredit::CheckNewSchemeName(name, schemes_)) {
    VReportMessageParams message = NewNameComplaint(complaint, name);
    return FailValidation(name_, message);
  }
  chosen_ = name;
  return true;
}

NewColorPaletteDialog::NewColorPaletteDialog(const ProfileAnsiPaletteList& palettes,
                                             const VUnicodeString& basedOn, QWidget* parent)
    : VDialog(parent), palettes_(palettes) {
  setWindowTitle(CatalogueText(kNewPaletteTitle));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  name_ = AddNameField(this, form);
  basedOn_ = new QComboBox(this);
  for (const VUnicodeString& name : palettes.GetNames()) basedOn_->addItem(ToQString(name));
  size_t index = palettes.Find(basedOn);
  basedOn_->setCurrentIndex(index == ProfileColorsBase::kNotFound ? 0 : static_cast<int>(index));
  auto* label = new QLabel(CatalogueText(kBasedOnLabel), this);
  label->setBuddy(basedOn_);
  form->addRow(label, basedOn_);
  layout->addLayout(form);
  AddOkCancel(layout);
  name_->setFocus();
  setMinimumWidth(fontMetrics().averageCharWidth() * 45);
}

bool NewColorPaletteDialog::OnOK() {
  VUnicodeString name = FromQString(name_->text());
  if (uint32_t complaint = coloredit::CheckNewPaletteName(name, palettes_)) {
    VReportMessageParams message = NewNameComplaint(complaint, name);
    return FailValidation(name_, message);
  }
  VUnicodeString base = FromQString(basedOn_->currentText());
  std::optional<AnsiPaletteEntry> source = palettes_.GetPalette(base);
  if (!source) {
    // A stored palette this release cannot read has no colours to copy.
    VReportMessageParams message(kMsgColorEntryUnreadable);
    message.AddInsert(base);
    return FailValidation(basedOn_, message);
  }
  chosen_ = *source;
  chosen_.name = name;
  return true;
}
