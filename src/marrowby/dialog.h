// The base of every dialog: run modally (DoModal returns the closing button) or modelessly
// (Create), closed with EndDialog. OK runs the dialog's validation first: a failure shows its
// message, puts the focus on the offending control and leaves the dialog open. Password fields
// registered with the dialog are wiped whenever it closes, whichever way.
#pragma once

#include <vector>

#include <QDialog>
#include <QPointer>

#include "report/report_message_params.h"

class QBoxLayout;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;

class VDialog : public QDialog {
  Q_OBJECT

 public:
  explicit VDialog(QWidget* parent = nullptr);
  ~VDialog() override;

  // kIdOk when closed with OK, kIdCancel when cancelled, else the code given to EndDialog.
  int DoModal();
  void Create() { show(); }
  void EndDialog(int code) { done(code); }

  // The OK and Cancel buttons, labelled from the catalogue, added to `layout`.
  QDialogButtonBox* AddOkCancel(QBoxLayout* layout);
  QPushButton* OkButton() const { return ok_; }

  // A field that holds a secret: never shown as text, never copied out, wiped on close.
  void AddSensitiveEdit(QLineEdit* edit);

  void accept() override;
  void done(int code) override;

 protected:
  // Checks the entries and takes them; false keeps the dialog open (see FailValidation).
  virtual bool OnOK() { return true; }
  // Shows `message` as a warning and puts the focus on `control`; returns false for OnOK.
  bool FailValidation(QWidget* control, IReportMessageParams& message);
  void WipeSensitiveEdits();

 private:
  QPushButton* ok_ = nullptr;
  std::vector<QPointer<QLineEdit>> sensitive_;
};
