#include "marrowby/icon_manager.h"

#include <QApplication>

QIcon VIconManager::Icon(const QString& name, const QString& fallbackName,
                         QStyle::StandardPixmap standard) {
  // The key holds all three: one name may be asked for with different fallbacks.
  QString key = name + QChar(u'\n') + fallbackName + QChar(u'\n') + QString::number(standard);
  auto found = cache_.constFind(key);
  if (found != cache_.constEnd()) return *found;
  QIcon icon;
  if (!name.isEmpty()) icon = QIcon::fromTheme(name);
  if (icon.isNull() && !fallbackName.isEmpty()) icon = QIcon::fromTheme(fallbackName);
  if (icon.isNull()) icon = QApplication::style()->standardIcon(standard);
  cache_.insert(key, icon);
  return icon;
}

VIconManager& VIconManager::Shared() {
  static VIconManager shared;
  return shared;
}
