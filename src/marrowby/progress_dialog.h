// A window that shows a message and a bar while work runs elsewhere. It cannot be cancelled by
// the user; the work ends it with PostClose, from any thread, even before the window runs.
#pragma once

#include <atomic>

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;

class VProgressDialog : public QDialog {
  Q_OBJECT

 public:
  explicit VProgressDialog(QWidget* parent = nullptr);

  void SetMessage(const QString& text);
  // Any thread: moves the bar (`done` of `total`; total 0 shows a busy bar).
  void PostProgress(int done, int total);
  // Any thread: ends the window; a call before DoModal makes DoModal return at once.
  void PostClose();
  // Runs until PostClose.
  void DoModal();
  bool IsClosePosted() const { return closePosted_; }

 protected:
  void reject() override {}  // Escape and the close box do nothing: the work cannot be stopped
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* message_;
  QProgressBar* bar_;
  std::atomic<bool> closePosted_{false};
};
