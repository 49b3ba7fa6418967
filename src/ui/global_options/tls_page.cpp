#include "ui/global_options/tls_page.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "marrowby/exchange.h"
#include "marrowby/qt_text.h"
#include "ui/global_options/global_messages.h"

GlobalTlsPage::GlobalTlsPage(GlobalConfig& config)
    : GlobalSettingsPage(global_ui::kPageTls, config, TlsSettings()) {
  auto* row = new QHBoxLayout;
  create_ = new QPushButton(tr("C&reate..."), this);
  create_->setEnabled(false);
  create_->setToolTip(tr("Creating a client certificate is not available here."));
  row->addWidget(create_);
  row->addStretch(1);
  ExtraArea()->addLayout(row);
}

bool GlobalTlsPage::CheckPage() {
  QLineEdit* certificate = Edit(u"Certificate Path");
  VReportMessageParams error;
  if (!VDDV_ValidateCertificatePath(FromQString(certificate->text().trimmed()), true, error))
    return FailValidation(certificate, error);
  return true;
}
