#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "environment/app_paths.h"
#include "marrowby/qt_text.h"
#include "platform/app_info.h"
#include "ui/moving/moving_dialogs.h"
#include "ui/moving/moving_texts.h"
#include "ui/registered_dialogs.h"

namespace mt = moving_texts;

PersonalDataLocationDialog::PersonalDataLocationDialog(const QString& text, QWidget* parent)
    : VDialog(parent) {
  setWindowTitle(CatalogueText(mt::kPersonalDataLocationTitle));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* icon = new QLabel(this);
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(size, size));
  icon->setAlignment(Qt::AlignTop);
  row->addWidget(icon);
  auto* label = new QLabel(text, this);
  label->setWordWrap(true);
  label->setMinimumWidth(fontMetrics().averageCharWidth() * 60);
  row->addWidget(label, 1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(this);
  continue_ = buttons->addButton(CatalogueText(mt::kContinueButton), QDialogButtonBox::AcceptRole);
  postpone_ = buttons->addButton(CatalogueText(mt::kPostponeButton), QDialogButtonBox::RejectRole);
  continue_->setDefault(true);
  connect(continue_, &QPushButton::clicked, this, [this] { EndDialog(kContinue); });
  connect(postpone_, &QPushButton::clicked, this, [this] { EndDialog(kPostpone); });
  layout->addWidget(buttons);
  continue_->setFocus();
}

bool VQtPersonalDataQuestions::AskYesNo(VReportMessageParams& question) {
  PersonalDataLocationDialog dialog(MessageText(question), parent_);
  return dialog.DoModal() == PersonalDataLocationDialog::kContinue;
}

bool VQtPersonalDataQuestions::AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) {
  // The prompt of the personal data folder says why it is asked and what Cancel does; the
  // model's own prompt is the browse title.
  const QString text =
      CatalogueText(mt::kPersonalFolderNeeded, nullptr, {VGetAppName()}) + u'\n' +
      CatalogueText(mt::kPersonalFolderSpecify) + u'\n' +
      CatalogueText(mt::kPersonalFolderCancelTurnsOff);
  FolderPromptDialog dialog(text, folder, parent_);
  dialog.setWindowTitle(CatalogueText(mt::kPersonalDataFolderTitle));
  dialog.BrowseButton()->setToolTip(CatalogueText(mt::kBrowseFolderTip, VGetLibraryMessageModule()));
  (void)prompt;
  if (dialog.DoModal() != kIdOk) return false;
  folder = dialog.Folder();
  return true;
}

namespace {

// What the person must know after a move: the error it recorded, or the sessions it could not
// write.
void ShowMoveResult(QWidget* parent, VPersonalDataMoveResult& result) {
  if (result.error.IsError()) {
    VMessageBox(parent, result.error, kMbOk | kMbIconError);
    return;
  }
  if (result.passedOver.empty()) return;
  QString text = CatalogueText(mt::kPassedOver);
  for (const VUnicodeString& path : result.passedOver) text += u'\n' + ToQString(path);
  VMessageBox(parent, text, kMbOk | kMbIconWarning);
}

}  // namespace

VPersonalDataMoveResult RunMigratePersonalData(QWidget* parent, const VUnicodeString& configFolder,
                                               const VUnicodeString& personalFolder,
                                               VProfileStoreFactory* factory) {
  VQtPersonalDataQuestions questions(parent);
  VQtSecretPassProgress progress(parent);
  VPersonalDataMoveResult result =
      MigrateToPersonalDataLocation(questions, &progress, configFolder, personalFolder, factory);
  ShowMoveResult(parent, result);
  return result;
}

VPersonalDataMoveResult RunMergePersonalData(QWidget* parent, const VUnicodeString& configFolder,
                                             const VUnicodeString& personalFolder) {
  VQtPersonalDataQuestions questions(parent);
  VQtSecretPassProgress progress(parent);
  VPersonalDataMoveResult result =
      MergeFromPersonalDataLocation(questions, &progress, configFolder, personalFolder);
  ShowMoveResult(parent, result);
  return result;
}

bool RunPersonalDataFolderPrompt(QWidget* parent, const VUnicodeString& configFolder,
                                 VUnicodeString& folder) {
  VQtPersonalDataQuestions questions(parent);
  return GetPersonalDataFolderAsk(questions, configFolder, folder);
}
