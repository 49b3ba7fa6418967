#include "marrowby/scaled_bitmap.h"

#include <QPaintEngine>
#include <QPainter>

QRect VScaledImageRect(QSize image, QRect area) {
  if (image.isEmpty() || area.isEmpty()) return QRect();
  QSize fitted = image.scaled(area.size(), Qt::KeepAspectRatio);
  // A very thin image still shows as one line rather than vanishing.
  fitted = fitted.expandedTo(QSize(1, 1));
  QPoint origin(area.x() + (area.width() - fitted.width()) / 2,
                area.y() + (area.height() - fitted.height()) / 2);
  return QRect(origin, fitted);
}

VScaledBitmapCtrl::VScaledBitmapCtrl(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void VScaledBitmapCtrl::SetImage(const QImage& image) {
  image_ = image;
  updateGeometry();
  update();
}

QRect VScaledBitmapCtrl::ImageRect() const {
  // An image made for a high-density screen says so through its own ratio: its natural size is
  // in points, not pixels.
  QSizeF natural = image_.deviceIndependentSize();
  return VScaledImageRect(natural.toSize(), rect());
}

QSize VScaledBitmapCtrl::sizeHint() const {
  if (image_.isNull()) return QSize(32, 32);
  return image_.deviceIndependentSize().toSize();
}

void VScaledBitmapCtrl::paintEvent(QPaintEvent*) {
  QRect target = ImageRect();
  if (target.isEmpty()) return;
  // Scale to the device pixels the target covers, so nothing is stretched a second time when the
  // painter maps points to pixels. The device painted on says how dense it is: the screen, or an
  // image the control is rendered into.
  QPainter painter(this);
  // The painter's own device is the control even when it is rendered elsewhere; the engine's
  // device is the one actually drawn on.
  QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
  qreal ratio = device ? device->devicePixelRatioF() : devicePixelRatioF();
  QSize pixels(qMax(1, qRound(target.width() * ratio)), qMax(1, qRound(target.height() * ratio)));
  QImage scaled = image_.size() == pixels
                      ? image_
                      : image_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  scaled.setDevicePixelRatio(ratio);
  painter.drawImage(target.topLeft(), scaled);
}
