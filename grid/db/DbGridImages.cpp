#include "grid/db/DbGridImages.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSize = 16;

QPainterPath Funnel() {
  QPainterPath path;
  path.moveTo(2.5, 3.5);
  path.lineTo(13.5, 3.5);
  path.lineTo(9.5, 8.5);
  path.lineTo(9.5, 13.5);
  path.lineTo(6.5, 12);
  path.lineTo(6.5, 8.5);
  path.closeSubpath();
  return path;
}

QPixmap Draw(bool active) {
  QPixmap image(kSize, kSize);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  if (active) {
    p.setPen(QPen(QColor(0, 110, 40), 1.0));
    p.setBrush(QColor(40, 170, 80));
  } else {
    p.setPen(QPen(QColor(128, 128, 128), 1.0));
    p.setBrush(Qt::NoBrush);
  }
  p.drawPath(Funnel());
  return image;
}

}  // namespace

QList<QPixmap> DbGridImages() {
  return {Draw(false), Draw(true)};
}
