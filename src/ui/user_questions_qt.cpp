#include "ui/user_questions_qt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "marrowby/file_browse.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/app_info.h"

FolderPromptDialog::FolderPromptDialog(const QString& prompt, const VUnicodeString& folder,
                                       QWidget* parent)
    : VDialog(parent), folder_(folder) {
  setWindowTitle(ToQString(VGetAppName()));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(prompt, this);
  label->setWordWrap(true);
  layout->addWidget(label);
  edit_ = new QLineEdit(ToQString(folder), this);
  edit_->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
  AddAutoComplete(edit_, true);
  browse_ = new QPushButton(CatalogueText(ui_messages::kBrowse), this);
  browse_->setAutoDefault(false);
  connect(browse_, &QPushButton::clicked, this,
          [this] { OnBrowseLocalFolderHelper(edit_, windowTitle()); });
  auto* row = new QHBoxLayout;
  row->addWidget(edit_, 1);
  row->addWidget(browse_);
  layout->addLayout(row);
  AddOkCancel(layout);
  edit_->setFocus();
}

bool FolderPromptDialog::OnOK() {
  // The caller checks the folder (it knows what it is for); an empty entry is its to refuse too.
  folder_ = FromQString(edit_->text().trimmed());
  return true;
}

bool VQtUserQuestions::AskYesNo(VReportMessageParams& question) {
  return VMessageBox(parent_, question, kMbYesNo | kMbIconWarning) == kIdYes;
}

void VQtUserQuestions::Notify(VReportMessageParams& message, VNoticeKind kind) {
  uint32_t icon = kind == VNoticeKind::Error     ? kMbIconError
                  : kind == VNoticeKind::Warning ? kMbIconWarning
                                                 : kMbIconInformation;
  VMessageBox(parent_, message, kMbOk | icon);
}

bool VQtUserQuestions::AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) {
  FolderPromptDialog dialog(MessageText(prompt), folder, parent_);
  if (dialog.DoModal() != kIdOk) return false;
  folder = dialog.Folder();
  return true;
}
