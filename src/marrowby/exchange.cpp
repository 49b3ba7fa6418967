#include "marrowby/exchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>

#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/file_system.h"
#include "platform/process_launch.h"

void DDX_Text(QLineEdit* edit, VUnicodeString& value, bool save) {
  if (save) value = FromQString(edit->text());
  else edit->setText(ToQString(value));
}

void DDX_Check(QCheckBox* box, bool& value, bool save) {
  if (save) value = box->checkState() == Qt::Checked;
  else box->setCheckState(value ? Qt::Checked : Qt::Unchecked);
}

void DDX_Check(QCheckBox* box, VCheckState& value, bool save) {
  if (save) {
    switch (box->checkState()) {
      case Qt::Checked: value = VCheckState::Checked; break;
      case Qt::PartiallyChecked: value = VCheckState::Indeterminate; break;
      default: value = VCheckState::Unchecked; break;
    }
    return;
  }
  box->setTristate(value == VCheckState::Indeterminate || box->isTristate());
  box->setCheckState(value == VCheckState::Checked         ? Qt::Checked
                     : value == VCheckState::Indeterminate ? Qt::PartiallyChecked
                                                           : Qt::Unchecked);
}

void DDX_CBStringExact(QComboBox* combo, VUnicodeString& value, bool save) {
  if (save) {
    value = FromQString(combo->currentText());
    return;
  }
  int index = combo->findText(ToQString(value), Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0 && combo->isEditable()) combo->setEditText(ToQString(value));
  else combo->setCurrentIndex(index);
}

bool DDX_Port(QLineEdit* edit, unsigned short& value, bool save, VReportMessageParams& error) {
  if (!save) {
    edit->setText(QString::number(value));
    return true;
  }
  bool ok = false;
  QString text = edit->text().trimmed();
  uint number = text.toUInt(&ok, 10);
  if (!ok || number < 1 || number > 65535) {
    error.Reset(ui_messages::kPortRange);
    error.SetModule(VGetUiMessageModule());
    error.AddInsert(FromQString(text));
    return false;
  }
  value = static_cast<unsigned short>(number);
  return true;
}

bool DDV_MaxChars(const VUnicodeString& value, size_t maxChars, VReportMessageParams& error) {
  if (value.size() <= maxChars) return true;
  error.Reset(ui_messages::kTextTooLong);
  error.SetModule(VGetUiMessageModule());
  error.AddInsertFormatted(u"%u", static_cast<uint32_t>(maxChars));
  return false;
}

void VDDX_EnabledText(QLineEdit* edit, bool enabled, VUnicodeString& value, bool save) {
  edit->setEnabled(enabled);
  if (save) {
    if (enabled) value = FromQString(edit->text());
  } else {
    edit->setText(enabled ? ToQString(value) : QString());
  }
}

bool IsValidConfigFolder(const VUnicodeString& folder) {
  if (folder.empty()) return false;
  std::string path = folder.ToUtf8();
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  switch (vfs::KindOfPath(path)) {
    case vfs::PathKind::Folder:
    case vfs::PathKind::LinkToFolder: return vfs::MayWriteFolder(path);
    case vfs::PathKind::Other: return false;
    case vfs::PathKind::Missing: break;
  }
  // A folder still to be made: the nearest folder that exists must take it.
  std::string parent = vfs::ParentFolder(path);
  while (!parent.empty() && vfs::KindOfPath(parent) == vfs::PathKind::Missing) {
    std::string up = vfs::ParentFolder(parent);
    if (up == parent) break;
    parent = up;
  }
  if (parent.empty()) return false;
  vfs::PathKind kind = vfs::KindOfPath(parent);
  return (kind == vfs::PathKind::Folder || kind == vfs::PathKind::LinkToFolder) &&
         vfs::MayWriteFolder(parent);
}

bool VDDV_ValidateConfigFolder(const VUnicodeString& folder, VReportMessageParams& error) {
  if (IsValidConfigFolder(folder)) return true;
  error.Reset(ui_messages::kNotAConfigFolder);
  error.SetModule(VGetUiMessageModule());
  error.AddInsert(folder);
  return false;
}

bool VDDV_ValidateCertificatePath(const VUnicodeString& path, bool allowEmpty,
                                  VReportMessageParams& error) {
  auto fail = [&](uint32_t id) {
    error.Reset(id);
    error.SetModule(VGetUiMessageModule());
    if (id != ui_messages::kCertificatePathEmpty) error.AddInsert(path);
    return false;
  };
  QString text = ToQString(path).trimmed();
  if (text.isEmpty()) return allowEmpty ? true : fail(ui_messages::kCertificatePathEmpty);
  // The path is taken as typed: a name that only matches once trimmed would fail later, when
  // the file is opened, far from the field that holds it.
  std::string local = path.ToUtf8();
  VExpected<vfs::FileInfo> info = vfs::StatChecked(local);
  if (!info) {
    // 2 and 3: the file or a folder on its way is missing; anything else (a folder on the way
    // that may not be entered) keeps the file from being read.
    return fail(info.Code() == 2 || info.Code() == 3 ? ui_messages::kCertificateMissing
                                                     : ui_messages::kCertificateUnreadable);
  }
  if (!info->exists) return fail(ui_messages::kCertificateMissing);
  if (info->isDirectory) return fail(ui_messages::kCertificateIsFolder);
  if (!info->isRegular) return fail(ui_messages::kCertificateNotAFile);
  if (!vfs::MayRead(local)) return fail(ui_messages::kCertificateUnreadable);
  return true;
}

VUnicodeString SensitiveText(const QLineEdit* edit) {
  VUnicodeString text;
  text.SetSensitive(true);
  QString held = edit->text();
  text.assign(reinterpret_cast<const char16_t*>(held.utf16()), static_cast<size_t>(held.size()));
  return text;
}

void CleanSensitiveDataEdit(QLineEdit* edit) {
  // Keep a second reference to the field's buffer, make the field drop its own (setting a text
  // also empties its undo history), then overwrite the buffer, which only this copy now owns.
  QString held = edit->text();
  edit->setText(QString());
  edit->setModified(false);
  if (held.isEmpty() || !held.isDetached()) return;
  volatile char16_t* characters = reinterpret_cast<char16_t*>(held.data());
  for (qsizetype i = 0; i < held.size(); ++i) characters[i] = u'\0';
}

QString DoubleToString(double value, int decimals) {
  QString text = QString::number(value, 'f', decimals);
  if (text.contains(u'.')) {
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
  }
  if (text == QStringLiteral("-0")) text = QStringLiteral("0");
  return text;
}

bool LaunchApp(const QString& program, const QStringList& arguments, VReportMessageParams& error) {
  std::vector<std::string> args;
  for (const QString& argument : arguments) args.push_back(argument.toStdString());
  VStatus status = vproc::LaunchDetached(program.toStdString(), args);
  if (status.ok()) return true;
  error.SetStatus(status);
  return false;
}

int VPopulateComboBox(QComboBox* combo, const QStringList& entries, const QString& current) {
  QSignalBlocker quiet(combo);
  combo->clear();
  combo->addItems(entries);
  int index = combo->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) index = combo->findText(current, Qt::MatchFixedString);  // case-insensitive
  combo->setCurrentIndex(index);
  return index;
}
