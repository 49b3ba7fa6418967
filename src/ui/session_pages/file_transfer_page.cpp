// File Transfer: the folders a transfer window starts in, synchronized browsing, and how remote
// listings and names are read. The remote folder and synchronized browsing are settings of the
// transfer protocol's part ("Initial Directory", "Synchronize Browsing"); a protocol without
// them leaves their controls disabled.
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "marrowby/file_browse.h"
#include "marrowby/qt_text.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

namespace {
constexpr const char16_t* kLocalFolderSetting = u"Initial Local Directory";
constexpr const char16_t* kDownloadFolderSetting = u"Default Download Directory";
constexpr const char16_t* kRemoteFolderSetting = u"Initial Directory";
constexpr const char16_t* kSynchronizeSetting = u"Synchronize Browsing";
}  // namespace

SessionFileTransferPage::SessionFileTransferPage(const SessionPageContext& context)
    : SessionPageBase(kFileTransferTitle, context) {}

void SessionFileTransferPage::Build(QVBoxLayout* layout) {
  auto* form = new QFormLayout;
  local_ = AddFolderRow(form, kLocalFolderLabel, kBrowseUpload, kLocalFolderSetting);
  download_ = AddFolderRow(form, kDefaultDownloadLabel, kBrowseDownload, kDownloadFolderSetting);
  remote_ = AddTextRow(form, kRemoteFolderLabel, kRemoteFolderSetting);
  layout->addLayout(form);
  synchronize_ = NewCheck(kSyncBrowsing, kSynchronizeSetting);
  layout->addWidget(synchronize_);
  layout->addWidget(NewCheck(kDisableTreeDetection, u"Disable Directory Tree Detection"));
  layout->addWidget(NewCheck(kVerifyRetrieveStatus, u"Verify Retrieve File Status"));
  layout->addWidget(NewCheck(kResolveLinks, u"Resolve Symbolic Links"));
  layout->addWidget(NewCheck(kFilenamesUtf8, u"Filenames Always Use UTF8"));
}

bool SessionFileTransferPage::Validate() {
  // A folder the user changed is checked first: it must be there.
  const std::pair<QLineEdit*, const char16_t*> folders[] = {{local_, kLocalFolderSetting},
                                                            {download_, kDownloadFolderSetting}};
  for (const auto& [edit, name] : folders) {
    VUnicodeString text = FromQString(edit->text());
    if (!settings_.Has(name) || text == settings_.GetText(name)) continue;
    if (RuleResult failure = CheckLocalFolder(text)) return Fail(edit, *failure);
  }
  if (!synchronize_->isEnabled() || !settings_.Has(kSynchronizeSetting)) return true;
  SyncField field = SyncField::None;
  if (RuleResult failure = CheckSynchronizedBrowsing(synchronize_->isChecked(),
                                                     FromQString(local_->text()),
                                                     FromQString(remote_->text()), field))
    return Fail(field == SyncField::Local ? local_ : remote_, *failure);
  return true;
}
