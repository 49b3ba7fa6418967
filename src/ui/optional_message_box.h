// A message box with a check box asking not to show the message again, bound to an integer
// setting: the check box starts in the setting's state, and OK writes its state back (Cancel
// leaves the setting alone). The caller saves the setting and tests it before the next call.
#pragma once

#include <QString>

#include "marrowby/dialog.h"
#include "storage/values/profile_number.h"

class QCheckBox;
class QLabel;
class QPushButton;

enum class VOptionalIcon { Warning = 0, Information = 1, Question = 2 };
constexpr int kOptionalDefaultCancel = 256;  // the default-button value that makes Cancel default

class OptionalMessageBox : public VDialog {
  Q_OBJECT

 public:
  // `checkText` empty: "&Do not display this message again".
  OptionalMessageBox(QWidget* owner, const QString& text, const QString& checkText,
                     VProfile<int>& setting, const QString& okText, bool showCancel,
                     VOptionalIcon icon, int defaultButton);

  QLabel* MessageLabel() const { return message_; }
  QCheckBox* CheckBox() const { return check_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  bool OnOK() override;

 private:
  VProfile<int>& setting_;
  QLabel* message_;
  QCheckBox* check_;
  QPushButton* cancel_;
};

// Shows the box modally; returns kIdOk or kIdCancel.
int ShowOptionalMessageBox(QWidget* owner, const QString& text, const QString& checkText,
                           VProfile<int>& setting, const QString& okText, bool showCancel,
                           int iconKind, int defaultButton);
// The same, unless the setting says the user asked not to see it again: then kIdOk at once.
int ShowOptionalMessageBoxUnlessSuppressed(QWidget* owner, const QString& text,
                                           const QString& checkText, VProfile<int>& setting,
                                           const QString& okText, bool showCancel, int iconKind,
                                           int defaultButton);
