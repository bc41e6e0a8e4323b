#include "tests/support/gui/PictureInk.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>

namespace testsupport {

int InkPixels(const QImage& image, const QRect& rect) {
  QHash<QRgb, int> counts;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) ++counts[image.pixel(x, y)];
  QRgb background = 0;
  int most = -1;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    if (it.value() > most) {
      most = it.value();
      background = it.key();
    }
  int ink = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (std::abs(qRed(c) - qRed(background)) + std::abs(qGreen(c) - qGreen(background)) +
              std::abs(qBlue(c) - qBlue(background)) >
          150)
        ++ink;
    }
  return ink;
}

QImage ReadPicture(const std::string& path) {
  const QImage image(QString::fromStdString(path));
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace testsupport
