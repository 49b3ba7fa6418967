#include "marrowby/progress_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QVBoxLayout>

#include "marrowby/qt_text.h"
#include "platform/app_info.h"

VProgressDialog::VProgressDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQString(VGetAppName()));
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  message_ = new QLabel(this);
  message_->setWordWrap(true);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, 0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message_);
  layout->addWidget(bar_);
  setMinimumWidth(fontMetrics().averageCharWidth() * 50);
}

void VProgressDialog::SetMessage(const QString& text) { message_->setText(text); }

void VProgressDialog::PostProgress(int done, int total) {
  QMetaObject::invokeMethod(
      this,
      [this, done, total] {
        bar_->setRange(0, total);
        bar_->setValue(total > 0 ? done : 0);
      },
      Qt::QueuedConnection);
}

void VProgressDialog::PostClose() {
  closePosted_ = true;
  // Queued: the window closes on its own thread, once its loop runs.
  QMetaObject::invokeMethod(this, [this] { done(QDialog::Accepted); }, Qt::QueuedConnection);
}

void VProgressDialog::DoModal() {
  if (closePosted_) return;
  exec();
}

void VProgressDialog::closeEvent(QCloseEvent* event) {
  if (!closePosted_) event->ignore();
  else QDialog::closeEvent(event);
}
