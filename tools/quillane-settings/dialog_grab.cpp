#include "dialog_grab.h"

#include <functional>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QLineEdit>
#include <QRadioButton>

#include "config/highlight/filter_config.h"
#include "config/highlight/highlight_config.h"
#include "config/items/firewall_config.h"
#include "crypto/passphrase_dialogs.h"
#include "settings_options.h"
#include "ui/firewall_dialogs_qt.h"
#include "ui/keywords/filter_dialog.h"
#include "ui/keywords/keyword_list_dialog.h"
#include "ui/passphrase_dialogs_qt.h"

namespace settings {

namespace {

// What is typed into the secret fields of the pictures: it must show as mask characters only.
const QString kSampleSecret = QStringLiteral("correct horse");

bool GrabOne(const std::string& name, const std::string& folder, std::string& error) {
  const VPassphraseVerifier anyPassphrase = [](std::u16string_view) { return true; };
  if (name == "passphrase-create") {
    CreatePassphraseDialog dialog(GetCreatePassphraseTexts(1, false));
    dialog.WithChoice()->click();
    dialog.PassphraseEdit()->setText(kSampleSecret);
    dialog.ConfirmationEdit()->setText(kSampleSecret);
    return SaveWindowPicture(&dialog, folder, name, error);
  }
  if (name == "passphrase-enter") {
    EnterPassphraseDialog dialog(anyPassphrase);
    dialog.PassphraseEdit()->setText(kSampleSecret);
    return SaveWindowPicture(&dialog, folder, name, error);
  }
  if (name == "passphrase-change") {
    ChangePassphraseDialog dialog(anyPassphrase);
    for (QLineEdit* edit : {dialog.CurrentEdit(), dialog.NewEdit(), dialog.ConfirmationEdit()})
      edit->setText(kSampleSecret);
    return SaveWindowPicture(&dialog, folder, name, error);
  }
  if (name == "firewall-username" || name == "firewall-password") {
    bool password = name == "firewall-password";
    FirewallCredentialDialog dialog(password ? FirewallCredentialDialog::Kind::Password
                                             : FirewallCredentialDialog::Kind::Username,
                                    false);
    dialog.Edit()->setText(password ? kSampleSecret : QStringLiteral("alice"));
    return SaveWindowPicture(&dialog, folder, name, error);
  }
  if (name == "firewall-new") {
    VRef<FirewallConfig> firewall(new FirewallConfig());
    FirewallPropertiesDialog dialog(*firewall.Get(), FirewallPropertiesDialog::Mode::New, nullptr,
                                    [](const VUnicodeString&) { return false; });
    dialog.NameEdit()->setText(QStringLiteral("office proxy"));
    dialog.TypeCombo()->setCurrentIndex(dialog.TypeCombo()->findData(6));
    dialog.AddressEdit()->setText(QStringLiteral("proxy.example.com"));
    dialog.UserEdit()->setText(QStringLiteral("alice"));
    dialog.PasswordEdit()->setText(kSampleSecret);
    return SaveWindowPicture(&dialog, folder, name, error);
  }
  if (name == "keyword-list") {
    VRef<HighlightConfig> list(new HighlightConfig(u"logs"));
    KeywordListPropertiesDialog dialog(*list.Get(), true, 0x0000FF, VUnicodeString());
    dialog.NameEdit()->setText(QStringLiteral("logs"));
    for (const char* word : {"error", "warning", "fatal"}) {
      dialog.WordEdit()->setText(QString::fromLatin1(word));
      dialog.AddButton()->click();
    }
    dialog.MatchCaseBox()->setChecked(true);
    return SaveWindowPicture(&dialog, folder, name, error);
  }
  if (name == "filter") {
    VRef<FilterConfig> filter(new FilterConfig());
    FilterPropertiesDialog dialog(*filter.Get(), true);
    dialog.NameEdit()->setText(QStringLiteral("scratch"));
    dialog.CriteriaEdit()->setText(QStringLiteral("*.tmp; *.bak"));
    dialog.FoldersBox()->setChecked(true);
    return SaveWindowPicture(&dialog, folder, name, error);
  }
  error = "no dialog named " + name;
  return false;
}

}  // namespace

bool SaveWindowPicture(QWidget* window, const std::string& folder, const std::string& name,
                       std::string& error) {
  window->show();
  QApplication::processEvents();
  QString path = QString::fromStdString(folder + "/" + name + ".png");
  if (!window->grab().save(path, "PNG")) {
    error = "cannot write " + path.toStdString();
    return false;
  }
  return true;
}

bool GrabDialogs(const std::string& name, const std::string& folder, std::string& error) {
  if (name != "all") return GrabOne(name, folder, error);
  for (const std::string& each : DialogNames())
    if (!GrabOne(each, folder, error)) return false;
  return true;
}

}  // namespace settings
