// X/Y/Zmodem: the folders of uploads and downloads, the XModem packet size and ZModem itself.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "marrowby/file_browse.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

namespace {
constexpr const char16_t* kPacketSize = u"XModem Send Packet Size";
}

SessionXModemZModemPage::SessionXModemZModemPage(const SessionPageContext& context)
    : SessionPageBase(kXyzModemTitle, context) {}

void SessionXModemZModemPage::Build(QVBoxLayout* layout) {
  auto* form = new QFormLayout;
  const std::tuple<uint32_t, uint32_t, const char16_t*> folders[] = {
      {kUploadFolder, kBrowseUpload, u"Upload Directory"},
      {kDownloadFolder, kBrowseDownload, u"Download Directory"},
  };
  for (const auto& [label, browseText, name] : folders) AddFolderRow(form, label, browseText, name);
  packet_ = new QComboBox(this);
  packet_->setObjectName(QString::fromStdU16String(kPacketSize));
  packet_->addItem(PageText(kPacket128), 128);
  packet_->addItem(PageText(kPacket1024), 1024);
  ReadSetting(kPacketSize);
  form->addRow(PageText(kPacketSizeLabel), packet_);
  layout->addLayout(form);
  layout->addWidget(NewCheck(kDisableZmodem, u"Disable ZModem"));
}

void SessionXModemZModemPage::OnInitDialog() {
  SessionPageBase::OnInitDialog();
  packet_->setCurrentIndex(packet_->findData(XmodemPacketChoice(settings_.GetInt(kPacketSize))));
  packet_->setEnabled(settings_.Has(kPacketSize) && !context_.readOnly);
}

void SessionXModemZModemPage::SaveExtra() {
  int chosen = packet_->currentData().toInt();
  // A stored size that shows as the same choice (0, the default, shows as 128) stays as it is.
  if (chosen != XmodemPacketChoice(settings_.GetInt(kPacketSize))) settings_.Set(kPacketSize, chosen);
}
