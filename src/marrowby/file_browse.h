// Choosing files and folders: the desktop's file dialog with the filters a page gives, the
// browse buttons of path fields, and completion of local paths as the user types.
#pragma once

#include <QString>
#include <QStringList>

class QLineEdit;
class QWidget;

// "Log Files (*.log)": a filter line from its label (with %1 for the patterns) and patterns.
QString VFileFilter(const QString& labelWithPatterns, const QString& patterns);
// Adds a filter line to `filters` (";;"-separated, as the file dialog takes them).
void VAppendFileFilter(QString& filters, const QString& labelWithPatterns, const QString& patterns);
// The filters followed by "All Files (*)".
QString VGetFileFilters(const QStringList& lines);

class VFileDialog {
 public:
  enum class Mode { Open, Save };
  VFileDialog(Mode mode, const QString& title, const QString& defaultName, const QString& filters,
              QWidget* parent = nullptr);
  // The folder the dialog starts in (the current value's folder, when there is one).
  void SetInitialPath(const QString& path) { initial_ = path; }
  // True with the chosen path.
  bool DoModal(QString& path);

 private:
  Mode mode_;
  QString title_;
  QString defaultName_;
  QString filters_;
  QString initial_;
  QWidget* parent_;
};

// The folder of a path (the path itself when it names a folder); empty for an empty path.
QString VExtractLocalDirectory(const QString& path);
// Asks for a folder, starting at `folder`; true with the choice in `folder`.
bool VBrowseForLocalFolder(QWidget* parent, const QString& title, QString& folder);
// The browse button of a file field: the dialog starts from the field's text and puts the choice
// back into it. True when a file was chosen.
bool OnBrowseHelper(QLineEdit* edit, const QString& title, const QString& defaultName,
                    const QString& filters, VFileDialog::Mode mode = VFileDialog::Mode::Open);
bool OnBrowseLocalFolderHelper(QLineEdit* edit, const QString& title);
// Completes local paths in `edit` as the user types (folders only when `foldersOnly`).
void AddAutoComplete(QLineEdit* edit, bool foldersOnly = false);
