// FTP/SFTP and Advanced (file transfer): how the remote system is read (its operating system,
// time zone, file-name case and creation mask), PGP, transports and SFTP extensions.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QTimeZone>
#include <QVBoxLayout>

#include "config/session/session_config.h"
#include "crypto/config_passphrase.h"
#include "marrowby/qt_text.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

SessionFtpSftpPage::SessionFtpSftpPage(const SessionPageContext& context)
    : SessionPageBase(kFtpSftpTitle, context) {}

void SessionFtpSftpPage::Build(QVBoxLayout* layout) {
  auto* form = new QFormLayout;
  AddNumberComboRow(form, kOperatingSystemLabel, u"Operating System",
                    {{kOsAutomatic, 0}, {kOsUnix, 1}, {kOsWindows, 2}, {kOsVms, 3}});
  auto* zone = new QComboBox(this);
  zone->setEditable(true);
  zone->addItem(QString());
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) zone->addItem(QString::fromUtf8(id));
  zone->lineEdit()->setPlaceholderText(PageText(kTimeZoneLocal));
  BindComboText(zone, u"Time Zone");
  form->addRow(PageText(kTimeZoneLabel), zone);
  AddNumberComboRow(form, kFileCaseLabel, u"File System Case",
                    {{kCaseAutomatic, 0}, {kCasePreserve, 1}, {kCaseUpper, 2}, {kCaseLower, 3}});
  AddTextRow(form, kCreationMaskLabel, u"File Creation Mask");
  layout->addLayout(form);
}

bool SessionFtpSftpPage::IsFtpSsl() const {
  if (!context_.session) return false;
  VUnicodeString protocol = context_.session->GetTransferProtocolName();
  return protocol == u"FTP/SSL (implicit)" || protocol == u"FTP/SSL (explicit)";
}

void SessionFtpSftpPage::RefreshForProtocols() {
  if (IsInitialized()) RefreshEnabling();
}

SessionFileTransferAdvancedPage::SessionFileTransferAdvancedPage(const SessionPageContext& context)
    : SessionPageBase(kAdvancedTitle, context) {}

void SessionFileTransferAdvancedPage::Build(QVBoxLayout* layout) {
  usePgp_ = NewCheck(kUsePgp, u"Use PGP For All Transfers");
  layout->addWidget(usePgp_);
  auto* form = new QFormLayout;
  upload_ = AddTextRow(form, kPgpUpload, u"PGP Upload Command V2");
  download_ = AddTextRow(form, kPgpDownload, u"PGP Download Command V2");
  form->setContentsMargins(20, 0, 0, 0);
  layout->addLayout(form);
  Depend(usePgp_, upload_);
  Depend(usePgp_, download_);
  layout->addWidget(NewCheck(kSeparateTransport, u"Use A Separate Transport For Every Connection"));
  layout->addWidget(NewCheck(kDisableSftpExtensions, u"Disable Initial SFTP Extensions"));
}

bool SessionFileTransferAdvancedPage::Validate() {
  bool uploadEmpty = false;
  if (RuleResult failure = CheckPgpCommands(usePgp_->isChecked(), FromQString(upload_->text()),
                                            FromQString(download_->text()), uploadEmpty))
    return Fail(uploadEmpty ? upload_ : download_, *failure);
  // The commands are kept encrypted; without a configuration passphrase a change could not be
  // stored, and must not look saved.
  for (QLineEdit* field : {upload_, download_}) {
    std::u16string name = field->objectName().toStdU16String();
    if (FromQString(field->text()) != settings_.GetText(name) && IsConfigPassphraseDisabled())
      return Fail(field, kSecretNotStored);
  }
  return true;
}
