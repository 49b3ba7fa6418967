#include "ui/firewall_dialogs_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "config/items/firewall_new.h"
#include "config/items/firewall_types.h"
#include "crypto/config_passphrase.h"
#include "marrowby/exchange.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"

namespace {

using namespace ui_messages;

constexpr int kGenericProxy = 1;

QLineEdit* AddField(QWidget* dialog, QFormLayout* form, uint32_t labelId) {
  auto* edit = new QLineEdit(dialog);
  auto* label = new QLabel(CatalogueText(labelId), dialog);
  label->setBuddy(edit);
  form->addRow(label, edit);
  return edit;
}

VReportMessageParams UiError(uint32_t id, std::u16string_view insert = {}) {
  VReportMessageParams error(id, VGetUiMessageModule());
  if (!insert.empty()) error.AddInsert(VUnicodeString(insert));
  return error;
}

bool StoredFirewallExists(const VUnicodeString& name) {
  SessionDatabase* host = GetSessionDatabase();
  SessionDatabase local;
  SessionDatabase& database = host ? *host : local;
  return database.ItemExists(ItemCollection::Firewalls, name);
}

}  // namespace

// ---- the connect-time prompts ----

FirewallCredentialDialog::FirewallCredentialDialog(Kind kind, bool save, QWidget* parent)
    : VDialog(parent), kind_(kind), save_(save) {
  bool password = kind == Kind::Password;
  text_.SetSensitive(password);
  setWindowTitle(CatalogueText(password ? kFirewallPasswordTitle : kFirewallUsernameTitle));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  edit_ = AddField(this, form, password ? kFirewallPasswordLabel : kFirewallUsernameLabel);
  if (password) AddSensitiveEdit(edit_);
  layout->addLayout(form);
  saveBox_ = new QCheckBox(CatalogueText(kSaveEntry), this);
  saveBox_->setChecked(save);
  layout->addWidget(saveBox_);
  AddOkCancel(layout);
  edit_->setFocus();
  setMinimumWidth(fontMetrics().averageCharWidth() * 45);
}

bool FirewallCredentialDialog::OnOK() {
  text_ = kind_ == Kind::Password ? SensitiveText(edit_) : FromQString(edit_->text());
  save_ = saveBox_->isChecked();
  return true;
}

// ---- properties ----

FirewallPropertiesDialog::FirewallPropertiesDialog(FirewallConfig& firewall, Mode mode,
                                                   QWidget* parent, NameTaken nameTaken)
    : VDialog(parent), firewall_(firewall), mode_(mode),
      nameTaken_(nameTaken ? std::move(nameTaken) : NameTaken(StoredFirewallExists)) {
  name_ = firewall.GetItemName();
  setWindowTitle(mode == Mode::New ? CatalogueText(kNewFirewallTitle)
                                   : CatalogueText(kFirewallPropertiesTitle, nullptr, {name_}));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  nameEdit_ = AddField(this, form, kFirewallNameLabel);
  nameEdit_->setText(ToQString(name_));
  nameEdit_->setReadOnly(mode == Mode::Edit);

  type_ = new QComboBox(this);
  for (const FirewallTypeInfo& info : FirewallTypes()) {
    QString label = ToQString(GetFirewallTypeDisplayName(info.number));
    type_->addItem(label.isEmpty() ? ToQString(info.storedName) : label, info.number);
  }
  auto* typeLabel = new QLabel(CatalogueText(kFirewallTypeLabel), this);
  typeLabel->setBuddy(type_);
  form->addRow(typeLabel, type_);
  type_->setCurrentIndex(type_->findData(firewall.GetTypeNumber()));

  address_ = AddField(this, form, kFirewallAddressLabel);
  address_->setText(ToQString(firewall.firewallAddress.Current()));
  port_ = AddField(this, form, kFirewallPortLabel);
  port_->setText(QString::number(firewall.firewallPort.current));
  port_->setMaxLength(5);
  user_ = AddField(this, form, kFirewallUserLabel);
  user_->setText(ToQString(firewall.firewallUser.Current()));
  password_ = AddField(this, form, kFirewallPasswordFieldLabel);
  AddSensitiveEdit(password_);
  {
    // The field shows the saved password masked; it is written back only when it was edited.
    VUnicodeString saved = firewall.firewallPassword.GetPlaintext();
    saved.SetSensitive(true);
    password_->setText(ToQString(saved));
  }
  connect(password_, &QLineEdit::textEdited, this, [this] { passwordChanged_ = true; });
  prompt_ = AddField(this, form, kProxyPromptLabel);
  prompt_->setText(ToQString(firewall.proxyPrompt.Current()));
  command_ = AddField(this, form, kProxyCommandLabel);
  command_->setText(ToQString(firewall.proxyCommand.Current()));
  layout->addLayout(form);
  AddOkCancel(layout);

  connect(type_, &QComboBox::currentIndexChanged, this, [this] {
    if (unsigned short port = GetFirewallDefaultPort(TypeNumber())) port_->setText(QString::number(port));
    TypeChanged();
  });
  TypeChanged();
  if (mode == Mode::New) nameEdit_->setFocus();
  else type_->setFocus();
  setMinimumWidth(fontMetrics().averageCharWidth() * 55);
}

int FirewallPropertiesDialog::TypeNumber() const { return type_->currentData().toInt(); }

void FirewallPropertiesDialog::TypeChanged() {
  int number = TypeNumber();
  bool proxy = number != 0;
  address_->setEnabled(proxy);
  port_->setEnabled(proxy);
  user_->setEnabled(proxy);
  password_->setEnabled(proxy);
  // The prompt and command texts belong to the generic proxy alone.
  prompt_->setEnabled(number == kGenericProxy);
  command_->setEnabled(number == kGenericProxy);
}

bool FirewallPropertiesDialog::OnOK() {
  VUnicodeString name = FromQString(nameEdit_->text().trimmed());
  if (mode_ == Mode::New) {
    if (name.empty()) {
      VReportMessageParams error = UiError(kFirewallNameEmpty);
      return FailValidation(nameEdit_, error);
    }
    // The name is a key's name in every store: no separators, no control characters.
    for (char16_t c : name) {
      if (c == u'/' || c == u'\\' || c < 0x20) {
        char16_t shown[2] = {c < 0x20 ? u'?' : c, 0};
        VReportMessageParams error = UiError(kFirewallNameCharacter, shown);
        return FailValidation(nameEdit_, error);
      }
    }
    if (vtext::EqualsNoCase(name, kNoFirewallName)) {
      VReportMessageParams error = UiError(kFirewallNameReserved, name);
      return FailValidation(nameEdit_, error);
    }
    if (nameTaken_(name)) {
      VReportMessageParams error = UiError(kFirewallNameTaken, name);
      return FailValidation(nameEdit_, error);
    }
  }
  int number = TypeNumber();
  if (number != 0 && address_->text().trimmed().isEmpty()) {
    VReportMessageParams error = UiError(kFirewallAddressEmpty);
    return FailValidation(address_, error);
  }
  unsigned short port = firewall_.firewallPort.current;
  if (number != 0) {
    VReportMessageParams error;
    if (!DDX_Port(port_, port, true, error)) return FailValidation(port_, error);
  }
  VUnicodeString password = SensitiveText(password_);
  if (passwordChanged_ && !password.empty() && IsConfigPassphraseDisabled()) {
    VReportMessageParams error = UiError(kPasswordNotSavedDisabled);
    return FailValidation(password_, error);
  }

  // Every entry is accepted: now the firewall takes them.
  const FirewallTypeInfo* type = FindFirewallType(number);
  if (type && GetFirewallTypeNumber(firewall_.firewallType.Current()) != number)
    firewall_.firewallType = VUnicodeString(type->storedName);
  firewall_.firewallAddress = FromQString(address_->text().trimmed());
  firewall_.firewallPort = port;
  firewall_.firewallUser = FromQString(user_->text());
  if (passwordChanged_) firewall_.firewallPassword.SetPlaintext(password);
  firewall_.proxyPrompt = FromQString(prompt_->text());
  firewall_.proxyCommand = FromQString(command_->text());
  name_ = mode_ == Mode::New ? name : firewall_.GetItemName();
  return true;
}
