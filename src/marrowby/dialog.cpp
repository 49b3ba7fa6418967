#include "marrowby/dialog.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "marrowby/exchange.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"

VDialog::VDialog(QWidget* parent) : QDialog(parent) {}

VDialog::~VDialog() { WipeSensitiveEdits(); }

int VDialog::DoModal() {
  int code = exec();
  if (code == QDialog::Accepted) return kIdOk;
  if (code == QDialog::Rejected) return kIdCancel;
  return code;
}

QDialogButtonBox* VDialog::AddOkCancel(QBoxLayout* layout) {
  auto* box = new QDialogButtonBox(this);
  ok_ = box->addButton(CatalogueText(ui_messages::kOk), QDialogButtonBox::AcceptRole);
  box->addButton(CatalogueText(ui_messages::kCancel), QDialogButtonBox::RejectRole);
  ok_->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &VDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &VDialog::reject);
  layout->addWidget(box);
  return box;
}

void VDialog::AddSensitiveEdit(QLineEdit* edit) {
  edit->setEchoMode(QLineEdit::Password);
  // Nothing of a secret leaves the field: no drag, and the menu's copy is off in password mode.
  edit->setDragEnabled(false);
  edit->setContextMenuPolicy(Qt::NoContextMenu);
  sensitive_.emplace_back(edit);
}

void VDialog::accept() {
  if (!OnOK()) return;
  QDialog::accept();
}

void VDialog::done(int code) {
  WipeSensitiveEdits();
  QDialog::done(code);
}

bool VDialog::FailValidation(QWidget* control, IReportMessageParams& message) {
  VMessageBox(this, message, kMbOk | kMbIconWarning);
  if (control) {
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  }
  return false;
}

void VDialog::WipeSensitiveEdits() {
  for (const QPointer<QLineEdit>& edit : sensitive_)
    if (edit) CleanSensitiveDataEdit(edit);
}
