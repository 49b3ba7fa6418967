// A picture that fills its control as far as it can without being distorted: scaled to the
// control's size keeping its aspect ratio, centred, and drawn from the full-resolution image on
// screens with more than one device pixel per point so it stays sharp.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QWidget>

class VScaledBitmapCtrl : public QWidget {
  Q_OBJECT

 public:
  explicit VScaledBitmapCtrl(QWidget* parent = nullptr);

  // A null image shows nothing.
  void SetImage(const QImage& image);
  const QImage& Image() const { return image_; }

  // Where the image is drawn within the control, in the control's coordinates.
  QRect ImageRect() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

// The largest rectangle of `image`'s proportions that fits in `area`, centred in it; empty when
// either is empty.
QRect VScaledImageRect(QSize image, QRect area);
