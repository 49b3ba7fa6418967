// The dialogs that settle the configuration passphrase: create one (or choose to go without),
// enter it (or go on without it, or ask to change it), and change, remove or reset it. Each keeps
// its rules in the model's checks (crypto/passphrase_check.h); a refused entry keeps the dialog
// open with the focus on the field at fault. The fields are masked and wiped when the dialog
// closes; what was accepted is handed out as a sensitive string.
#pragma once

#include "crypto/passphrase_dialogs.h"
#include "marrowby/dialog.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

class CreatePassphraseDialog : public VDialog {
  Q_OBJECT

 public:
  CreatePassphraseDialog(const VCreatePassphraseTexts& texts, QWidget* parent = nullptr);

  // The passphrase accepted by OK (empty for "without").
  const VUnicodeString& Passphrase() const { return passphrase_; }

  QRadioButton* WithChoice() const { return with_; }
  QRadioButton* WithoutChoice() const { return without_; }
  QLineEdit* PassphraseEdit() const { return entry_; }
  QLineEdit* ConfirmationEdit() const { return confirmation_; }
  QProgressBar* StrengthBar() const { return strength_; }

 protected:
  bool OnOK() override;
  void showEvent(QShowEvent* event) override;

 private:
  void ChoiceChanged();

  VCreatePassphraseTexts texts_;
  QRadioButton* with_;
  QRadioButton* without_;
  QLineEdit* entry_;
  QLineEdit* confirmation_;
  QProgressBar* strength_;
  VUnicodeString passphrase_;
  bool warned_ = false;
};

// Shown over the create dialog when an existing configuration's secrets are about to be moved to
// the current encryption: the user may cancel to back up the folder first.
class CreatePassphraseWarningDialog : public VDialog {
  Q_OBJECT

 public:
  CreatePassphraseWarningDialog(const VUnicodeString& folder, QWidget* parent = nullptr);
};

class EnterPassphraseDialog : public VDialog {
  Q_OBJECT

 public:
  static constexpr int kChangeRequested = 3;  // DoModal's result for the change button

  EnterPassphraseDialog(VPassphraseVerifier verify, QWidget* parent = nullptr);

  VEnterPassphraseChoice Choice() const { return choice_; }
  const VUnicodeString& Passphrase() const { return passphrase_; }

  QRadioButton* EnterChoice() const { return enter_; }
  QRadioButton* ContinueChoice() const { return continueWithout_; }
  QLineEdit* PassphraseEdit() const { return entry_; }
  QPushButton* ChangeButton() const { return change_; }

 protected:
  bool OnOK() override;

 private:
  VPassphraseVerifier verify_;
  QRadioButton* enter_;
  QRadioButton* continueWithout_;
  QLineEdit* entry_;
  QPushButton* change_;
  VEnterPassphraseChoice choice_ = VEnterPassphraseChoice::Cancelled;
  VUnicodeString passphrase_;
};

class ChangePassphraseDialog : public VDialog {
  Q_OBJECT

 public:
  ChangePassphraseDialog(VPassphraseVerifier verify, QWidget* parent = nullptr);

  const VPassphraseChange& Change() const { return change_; }

  QRadioButton* ModeChoice(VPassphraseChangeMode mode) const;
  QLineEdit* CurrentEdit() const { return current_; }
  QLineEdit* NewEdit() const { return new_; }
  QLineEdit* ConfirmationEdit() const { return confirmation_; }
  QLabel* ResetWarning() const { return resetWarning_; }

 protected:
  bool OnOK() override;

 private:
  VPassphraseChangeMode Mode() const;
  void ModeChanged();

  VPassphraseVerifier verify_;
  QRadioButton* changeMode_;
  QRadioButton* remove_;
  QRadioButton* reset_;
  QLineEdit* current_;
  QLineEdit* new_;
  QLineEdit* confirmation_;
  QLabel* resetWarning_;
  VPassphraseChange change_;
};
