// The questions the library asks of the person at the keyboard (IUserQuestions), answered with
// message boxes and a folder prompt over a parent window.
#pragma once

#include "environment/user_questions.h"
#include "marrowby/dialog.h"

class QLineEdit;
class QPushButton;

// A prompt with a folder field (completing local paths) and a browse button.
class FolderPromptDialog : public VDialog {
  Q_OBJECT

 public:
  FolderPromptDialog(const QString& prompt, const VUnicodeString& folder, QWidget* parent = nullptr);

  const VUnicodeString& Folder() const { return folder_; }
  QLineEdit* FolderEdit() const { return edit_; }
  QPushButton* BrowseButton() const { return browse_; }

 protected:
  bool OnOK() override;

 private:
  QLineEdit* edit_;
  QPushButton* browse_;
  VUnicodeString folder_;
};

class VQtUserQuestions : public IUserQuestions {
 public:
  explicit VQtUserQuestions(QWidget* parent = nullptr) : parent_(parent) {}
  bool AskYesNo(VReportMessageParams& question) override;
  void Notify(VReportMessageParams& message, VNoticeKind kind) override;
  bool AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) override;

 private:
  QWidget* parent_;
};
