// Moving values between controls and the variables a dialog edits (save = false: variable to
// control; true: control to variable), and the checks made on the way in. A check that fails
// fills `error`; the dialog shows it and puts the focus on the control.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

enum class VCheckState { Unchecked = 0, Checked = 1, Indeterminate = 2 };

void DDX_Text(QLineEdit* edit, VUnicodeString& value, bool save);
void DDX_Check(QCheckBox* box, bool& value, bool save);
// A three-state check box (several sessions that differ show the third state).
void DDX_Check(QCheckBox* box, VCheckState& value, bool save);
// Selects the entry equal to `value` exactly (none when there is no such entry); saving takes the
// current entry's text.
void DDX_CBStringExact(QComboBox* combo, VUnicodeString& value, bool save);
// A TCP port, 1 to 65535; false with the reason when the text is not one.
bool DDX_Port(QLineEdit* edit, unsigned short& value, bool save, VReportMessageParams& error);
// False when `value` is longer than `maxChars` characters.
bool DDV_MaxChars(const VUnicodeString& value, size_t maxChars, VReportMessageParams& error);
// A text whose control is enabled only when `enabled`: a disabled control shows nothing and
// leaves the value as it is when saving.
void VDDX_EnabledText(QLineEdit* edit, bool enabled, VUnicodeString& value, bool save);
// A folder that can hold a configuration: it exists (or can be created below an existing folder)
// and is not a file.
bool IsValidConfigFolder(const VUnicodeString& folder);
bool VDDV_ValidateConfigFolder(const VUnicodeString& folder, VReportMessageParams& error);
// A certificate file field: empty (or blanks alone) only when `allowEmpty`; else a regular file
// this user may read. The error names the path and what is wrong with it.
bool VDDV_ValidateCertificatePath(const VUnicodeString& path, bool allowEmpty,
                                  VReportMessageParams& error);

// The field's text as a sensitive string (wiped when released).
VUnicodeString SensitiveText(const QLineEdit* edit);
// Empties a password field and overwrites the memory that held its text.
void CleanSensitiveDataEdit(QLineEdit* edit);

// The read-only dialog mode (2) of the options dialogs.
inline bool VIsReadOnly(int mode) { return mode == 2; }
// A number as a dialog shows it: no trailing zeros, at most `decimals` places.
QString DoubleToString(double value, int decimals = 6);

// Starts `program` with `arguments` and does not wait for it; false with the reason in `error`
// when it cannot be started.
bool LaunchApp(const QString& program, const QStringList& arguments, VReportMessageParams& error);

// Empties `combo`, fills it with `entries` and selects the one equal to `current` (exactly, else
// without regard to case). Returns the index selected, -1 when none is equal.
int VPopulateComboBox(QComboBox* combo, const QStringList& entries, const QString& current);
