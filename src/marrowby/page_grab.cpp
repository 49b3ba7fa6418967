#include "marrowby/page_grab.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "marrowby/property_tree.h"

QString PagePictureName(const QString& prefix, const QStringList& path) {
  QString name;
  bool pendingDash = false;
  for (const QString& part : QStringList(prefix) + path) {
    pendingDash = !name.isEmpty();
    for (QChar c : part) {
      if (c.isLetterOrNumber()) {
        if (pendingDash) name += u'-';
        pendingDash = false;
        name += c.toLower();
      } else if (!name.isEmpty()) {
        pendingDash = true;
      }
    }
  }
  return name;
}

bool GrabPages(VPropertyTreeDialog& dialog, const QString& folder, const QString& prefix,
               std::vector<QString>& written, QString& error) {
  dialog.show();
  QApplication::processEvents();
  VPropertyTreePage* before = dialog.CurrentPage();
  bool ok = true;
  for (VPropertyTreePage* page : dialog.Pages()) {
    if (!dialog.IsPageVisible(page)) continue;
    dialog.ShowPageUnchecked(page);
    QApplication::processEvents();
    QString name = PagePictureName(prefix, dialog.PathOf(page)) + QStringLiteral(".png");
    QString path = QDir(folder).filePath(name);
    if (!dialog.grab().save(path, "PNG")) {
      error = QStringLiteral("cannot write %1").arg(path);
      ok = false;
      break;
    }
    written.push_back(name);
  }
  if (before) dialog.ShowPageUnchecked(before);
  return ok;
}
