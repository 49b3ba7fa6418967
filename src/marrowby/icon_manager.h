// Icons by name from the desktop's icon theme, with a fallback when the theme has none, each
// looked up once: lists that show an icon per row ask for the same few names again and again.
#pragma once

#include <QHash>
#include <QIcon>
#include <QString>
#include <QStyle>

class VIconManager {
 public:
  // The icon the theme has under `name`; else the one under `fallbackName`; else the style's
  // `standard` icon, so a caller always gets something to draw.
  QIcon Icon(const QString& name, const QString& fallbackName = QString(),
             QStyle::StandardPixmap standard = QStyle::SP_FileIcon);
  // Forgets what was looked up, for after the desktop's theme changed.
  void Clear() { cache_.clear(); }
  int CachedCount() const { return static_cast<int>(cache_.size()); }

  // The one the dialogs of a process share.
  static VIconManager& Shared();

 private:
  QHash<QString, QIcon> cache_;
};
