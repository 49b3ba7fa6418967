#include "marrowby/file_browse.h"

#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>

#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"

QString VFileFilter(const QString& labelWithPatterns, const QString& patterns) {
  // The file dialog reads the patterns from the parentheses, separated by blanks.
  QString spaced = patterns;
  spaced.replace(u';', u' ');
  spaced = spaced.simplified();
  QString label = labelWithPatterns.contains(QStringLiteral("%1"))
                      ? labelWithPatterns.arg(spaced)
                      : labelWithPatterns + QStringLiteral(" (") + spaced + u')';
  return label;
}

void VAppendFileFilter(QString& filters, const QString& labelWithPatterns, const QString& patterns) {
  if (!filters.isEmpty()) filters += QStringLiteral(";;");
  filters += VFileFilter(labelWithPatterns, patterns);
}

QString VGetFileFilters(const QStringList& lines) {
  QString filters = lines.join(QStringLiteral(";;"));
  VAppendFileFilter(filters, CatalogueText(ui_messages::kAllFiles), QStringLiteral("*"));
  return filters;
}

VFileDialog::VFileDialog(Mode mode, const QString& title, const QString& defaultName,
                         const QString& filters, QWidget* parent)
    : mode_(mode), title_(title), defaultName_(defaultName), filters_(filters), parent_(parent) {}

bool VFileDialog::DoModal(QString& path) {
  QString folder = VExtractLocalDirectory(initial_);
  QString start = folder.isEmpty() ? defaultName_ : QDir(folder).filePath(
                                                        initial_.isEmpty() || QFileInfo(initial_).isDir()
                                                            ? defaultName_
                                                            : QFileInfo(initial_).fileName());
  QString chosen = mode_ == Mode::Open
                       ? QFileDialog::getOpenFileName(parent_, title_, start, filters_)
                       : QFileDialog::getSaveFileName(parent_, title_, start, filters_);
  if (chosen.isEmpty()) return false;
  path = QDir::toNativeSeparators(chosen);
  return true;
}

QString VExtractLocalDirectory(const QString& path) {
  if (path.isEmpty()) return QString();
  QFileInfo info(path);
  if (info.isDir()) return info.absoluteFilePath();
  return info.absolutePath();
}

bool VBrowseForLocalFolder(QWidget* parent, const QString& title, QString& folder) {
  QString chosen = QFileDialog::getExistingDirectory(parent, title, folder);
  if (chosen.isEmpty()) return false;
  folder = QDir::toNativeSeparators(chosen);
  return true;
}

bool OnBrowseHelper(QLineEdit* edit, const QString& title, const QString& defaultName,
                    const QString& filters, VFileDialog::Mode mode) {
  VFileDialog dialog(mode, title, defaultName, filters, edit->window());
  dialog.SetInitialPath(edit->text());
  QString path;
  if (!dialog.DoModal(path)) return false;
  edit->setText(path);
  edit->setModified(true);
  return true;
}

bool OnBrowseLocalFolderHelper(QLineEdit* edit, const QString& title) {
  QString folder = edit->text();
  if (!VBrowseForLocalFolder(edit->window(), title, folder)) return false;
  edit->setText(folder);
  edit->setModified(true);
  return true;
}

void AddAutoComplete(QLineEdit* edit, bool foldersOnly) {
  auto* model = new QFileSystemModel(edit);
  model->setFilter(foldersOnly ? QDir::AllDirs | QDir::NoDotAndDotDot
                               : QDir::AllEntries | QDir::NoDotAndDotDot);
  model->setRootPath(QString());
  auto* completer = new QCompleter(model, edit);
  completer->setCaseSensitivity(Qt::CaseSensitive);
  edit->setCompleter(completer);
}
