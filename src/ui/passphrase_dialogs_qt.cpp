#include "ui/passphrase_dialogs_qt.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "crypto/crypto_messages.h"
#include "marrowby/exchange.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/app_info.h"

namespace {

using namespace ui_messages;

QString LibraryText(uint32_t id) {
  return CatalogueText(id, VGetLibraryMessageModule(), {VGetAppName()});
}

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

// A masked field with its label, whose mnemonic moves the focus to it.
QLineEdit* AddSecretField(VDialog* dialog, QFormLayout* form, uint32_t labelId) {
  auto* edit = new QLineEdit(dialog);
  dialog->AddSensitiveEdit(edit);
  edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 28);
  auto* label = new QLabel(CatalogueText(labelId), dialog);
  label->setBuddy(edit);
  form->addRow(label, edit);
  return edit;
}

QWidget* Indented(QLayout* inner, QWidget* parent) {
  auto* box = new QWidget(parent);
  inner->setContentsMargins(24, 0, 0, 0);
  box->setLayout(inner);
  return box;
}

// Which field a refused new passphrase points at.
QLineEdit* FieldAtFault(const VReportMessageParams& error, QLineEdit* entry,
                        QLineEdit* confirmation) {
  return error.GetMessageId() == crypto_messages::kPassphrasesDoNotMatch ? confirmation : entry;
}

}  // namespace

// ---- create ----

CreatePassphraseDialog::CreatePassphraseDialog(const VCreatePassphraseTexts& texts,
                                               QWidget* parent)
    : VDialog(parent), texts_(texts) {
  passphrase_.SetSensitive(true);
  setWindowTitle(LibraryText(texts.title));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(WrappedLabel(LibraryText(texts.explanation), this));

  with_ = new QRadioButton(CatalogueText(kWithPassphrase), this);
  without_ = new QRadioButton(CatalogueText(kWithoutPassphrase), this);
  auto* group = new QButtonGroup(this);
  group->addButton(with_);
  group->addButton(without_);

  auto* form = new QFormLayout;
  entry_ = AddSecretField(this, form, kPassphraseLabel);
  confirmation_ = AddSecretField(this, form, kConfirmPassphraseLabel);
  form->addRow(WrappedLabel(LibraryText(texts.neededAtStart), this));

  layout->addWidget(with_);
  layout->addWidget(Indented(form, this));
  layout->addWidget(without_);
  auto* warning = new QVBoxLayout;
  warning->addWidget(WrappedLabel(LibraryText(texts.withoutWarning), this));
  layout->addWidget(Indented(warning, this));

  // How well the choice protects the saved secrets.
  strength_ = new QProgressBar(this);
  strength_->setRange(0, 100);
  strength_->setTextVisible(true);
  strength_->setValue(0);
  strength_->setFormat(QString());
  layout->addWidget(strength_);

  AddOkCancel(layout);
  OkButton()->setEnabled(false);
  connect(with_, &QRadioButton::toggled, this, &CreatePassphraseDialog::ChoiceChanged);
  connect(without_, &QRadioButton::toggled, this, &CreatePassphraseDialog::ChoiceChanged);
  ChoiceChanged();
  setMinimumWidth(fontMetrics().averageCharWidth() * 70);
}

void CreatePassphraseDialog::ChoiceChanged() {
  bool chosen = with_->isChecked() || without_->isChecked();
  OkButton()->setEnabled(chosen);
  entry_->setEnabled(with_->isChecked());
  confirmation_->setEnabled(with_->isChecked());
  if (with_->isChecked()) entry_->setFocus();
  int value = with_->isChecked() ? 90 : without_->isChecked() ? 35 : 0;
  strength_->setValue(value);
  strength_->setFormat(value == 0 ? QString()
                                  : CatalogueText(with_->isChecked() ? kStrongChoice : kWeakChoice));
  QPalette palette = strength_->palette();
  palette.setColor(QPalette::Highlight, with_->isChecked() ? QColor(0x2e, 0xa0, 0x43)
                                                           : QColor(0xe0, 0xb0, 0x10));
  strength_->setPalette(palette);
}

void CreatePassphraseDialog::showEvent(QShowEvent* event) {
  VDialog::showEvent(event);
  if (texts_.warnExistingConfiguration && !warned_) {
    warned_ = true;
    // Once the window is up: cancelling the warning cancels the creation.
    QTimer::singleShot(0, this, [this] {
      CreatePassphraseWarningDialog warning(texts_.configurationFolder, this);
      if (warning.DoModal() != kIdOk) reject();
    });
  }
}

bool CreatePassphraseDialog::OnOK() {
  if (without_->isChecked()) {
    passphrase_.Wipe();
    return true;
  }
  if (!with_->isChecked()) return false;
  VUnicodeString entry = SensitiveText(entry_);
  VUnicodeString confirmation = SensitiveText(confirmation_);
  VReportMessageParams error;
  if (!ValidateNewPassphrase(entry, confirmation, false, error))
    return FailValidation(FieldAtFault(error, entry_, confirmation_), error);
  passphrase_ = entry;
  return true;
}

CreatePassphraseWarningDialog::CreatePassphraseWarningDialog(const VUnicodeString& folder,
                                                             QWidget* parent)
    : VDialog(parent) {
  setWindowTitle(CatalogueText(kExistingConfigurationTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(WrappedLabel(LibraryText(crypto_messages::kExistingConfigurationWarning), this));
  auto* path = new QLabel(ToQString(folder), this);
  path->setTextInteractionFlags(Qt::TextSelectableByMouse);
  path->setObjectName(QStringLiteral("folder"));
  layout->addWidget(path);
  AddOkCancel(layout);
  setMinimumWidth(fontMetrics().averageCharWidth() * 70);
}

// ---- enter ----

EnterPassphraseDialog::EnterPassphraseDialog(VPassphraseVerifier verify, QWidget* parent)
    : VDialog(parent), verify_(std::move(verify)) {
  passphrase_.SetSensitive(true);
  setWindowTitle(CatalogueText(kEnterPassphraseTitle, nullptr, {VGetAppName()}));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(WrappedLabel(CatalogueText(kEnterPassphrasePrompt, nullptr, {VGetAppName()}), this));

  enter_ = new QRadioButton(CatalogueText(kEnterPassphraseChoice), this);
  continueWithout_ = new QRadioButton(CatalogueText(kContinueWithoutChoice), this);
  auto* group = new QButtonGroup(this);
  group->addButton(enter_);
  group->addButton(continueWithout_);
  entry_ = new QLineEdit(this);
  AddSensitiveEdit(entry_);

  layout->addWidget(enter_);
  auto* field = new QVBoxLayout;
  field->addWidget(entry_);
  layout->addWidget(Indented(field, this));
  layout->addWidget(continueWithout_);
  auto* note = new QVBoxLayout;
  note->addWidget(WrappedLabel(QStringLiteral("(") +
                                   LibraryText(crypto_messages::kContinueWithoutPassphrase) +
                                   QStringLiteral(")"),
                               this));
  layout->addWidget(Indented(note, this));

  change_ = new QPushButton(CatalogueText(kChangePassphraseButton), this);
  change_->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addWidget(change_);
  row->addStretch(1);
  layout->addLayout(row);
  AddOkCancel(layout);

  connect(enter_, &QRadioButton::toggled, this, [this](bool on) {
    entry_->setEnabled(on);
    if (on) entry_->setFocus();
  });
  connect(change_, &QPushButton::clicked, this, [this] {
    choice_ = VEnterPassphraseChoice::ChangeRequested;
    done(kChangeRequested);
  });
  enter_->setChecked(true);
  entry_->setFocus();
  setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

bool EnterPassphraseDialog::OnOK() {
  if (continueWithout_->isChecked()) {
    choice_ = VEnterPassphraseChoice::ContinueWithout;
    return true;
  }
  VUnicodeString entry = SensitiveText(entry_);
  VReportMessageParams error;
  if (!ValidateEnteredPassphrase(entry, verify_, error)) return FailValidation(entry_, error);
  passphrase_ = entry;
  choice_ = VEnterPassphraseChoice::Entered;
  return true;
}

// ---- change, remove or reset ----

ChangePassphraseDialog::ChangePassphraseDialog(VPassphraseVerifier verify, QWidget* parent)
    : VDialog(parent), verify_(std::move(verify)) {
  setWindowTitle(CatalogueText(kChangePassphraseTitle));
  auto* layout = new QVBoxLayout(this);
  changeMode_ = new QRadioButton(CatalogueText(kChangeMode), this);
  remove_ = new QRadioButton(CatalogueText(kRemoveMode), this);
  reset_ = new QRadioButton(CatalogueText(kResetMode), this);
  auto* group = new QButtonGroup(this);
  for (QRadioButton* button : {changeMode_, remove_, reset_}) {
    group->addButton(button);
    layout->addWidget(button);
  }
  auto* form = new QFormLayout;
  current_ = AddSecretField(this, form, kCurrentPassphraseLabel);
  new_ = AddSecretField(this, form, kNewPassphraseLabel);
  confirmation_ = AddSecretField(this, form, kConfirmNewPassphraseLabel);
  layout->addLayout(form);
  resetWarning_ = WrappedLabel(CatalogueText(kResetWarning), this);
  layout->addWidget(resetWarning_);
  AddOkCancel(layout);
  for (QRadioButton* button : {changeMode_, remove_, reset_})
    connect(button, &QRadioButton::toggled, this, [this](bool on) {
      if (on) ModeChanged();
    });
  changeMode_->setChecked(true);
  ModeChanged();
  setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

QRadioButton* ChangePassphraseDialog::ModeChoice(VPassphraseChangeMode mode) const {
  switch (mode) {
    case VPassphraseChangeMode::Remove: return remove_;
    case VPassphraseChangeMode::Reset: return reset_;
    default: return changeMode_;
  }
}

VPassphraseChangeMode ChangePassphraseDialog::Mode() const {
  if (remove_->isChecked()) return VPassphraseChangeMode::Remove;
  if (reset_->isChecked()) return VPassphraseChangeMode::Reset;
  return VPassphraseChangeMode::Change;
}

void ChangePassphraseDialog::ModeChanged() {
  VPassphraseChangeMode mode = Mode();
  current_->setEnabled(mode != VPassphraseChangeMode::Reset);
  new_->setEnabled(mode != VPassphraseChangeMode::Remove);
  confirmation_->setEnabled(mode != VPassphraseChangeMode::Remove);
  // A field that no longer counts keeps nothing of what was typed into it.
  for (QLineEdit* edit : {current_, new_, confirmation_})
    if (!edit->isEnabled()) CleanSensitiveDataEdit(edit);
  resetWarning_->setVisible(mode == VPassphraseChangeMode::Reset);
  (mode == VPassphraseChangeMode::Reset ? new_ : current_)->setFocus();
}

bool ChangePassphraseDialog::OnOK() {
  VPassphraseChange change;
  change.mode = Mode();
  if (change.mode != VPassphraseChangeMode::Reset) change.current = SensitiveText(current_);
  if (change.mode != VPassphraseChangeMode::Remove) {
    change.newPassphrase = SensitiveText(new_);
    change.confirmation = SensitiveText(confirmation_);
  }
  VReportMessageParams error;
  if (!ValidatePassphraseChange(change, verify_, error)) {
    QLineEdit* field = error.GetMessageId() == crypto_messages::kPassphraseNotCorrect
                           ? current_
                           : FieldAtFault(error, new_, confirmation_);
    return FailValidation(field, error);
  }
  change_ = change;
  return true;
}
