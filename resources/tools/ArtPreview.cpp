// Writes the program's pictures as PNG files, each also enlarged on a pixel grid, so a person
// can judge them: qelvo_art_preview <output folder> [scale]
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "resources/Art.h"
#include "resources/CommandIds.h"
#include "resources/MainFrameResources.h"

namespace {

// The picture scaled up on a light checkerboard, with a faint line between pixels.
QImage Enlarged(const QImage& image, int scale) {
  QImage big(image.width() * scale, image.height() * scale, QImage::Format_ARGB32);
  QPainter painter(&big);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRect cell(x * scale, y * scale, scale, scale);
      painter.fillRect(cell, ((x + y) % 2) ? QColor(0xEE, 0xEE, 0xEE) : QColor(0xFF, 0xFF, 0xFF));
      painter.fillRect(cell, image.pixelColor(x, y));
    }
  painter.setPen(QColor(0, 0, 0, 30));
  for (int x = 0; x <= image.width(); ++x) painter.drawLine(x * scale, 0, x * scale, big.height());
  for (int y = 0; y <= image.height(); ++y) painter.drawLine(0, y * scale, big.width(), y * scale);
  return big;
}

bool Save(const QImage& image, const QDir& folder, const QString& name, int scale) {
  return image.save(folder.filePath(name + ".png")) && Enlarged(image, scale).save(folder.filePath(name + "-big.png"));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: qelvo_art_preview <output folder> [scale]\n");
    return 2;
  }
  QDir folder(QString::fromLocal8Bit(argv[1]));
  folder.mkpath(".");
  const int scale = argc > 2 ? std::max(2, std::atoi(argv[2])) : 8;
  bool ok = Save(ToolbarStrip(), folder, "toolbar", scale);
  // The toolbar as it looks on a button face, at its real size and doubled.
  const QImage strip = ToolbarStrip();
  QImage face(strip.width() + 8, strip.height() + 8, QImage::Format_ARGB32);
  face.fill(QColor(0xEF, 0xEF, 0xEF));
  QPainter(&face).drawImage(4, 4, strip);
  ok = ok && face.save(folder.filePath("toolbar-face.png")) &&
       face.scaled(face.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
           .save(folder.filePath("toolbar-face-3x.png"));
  // Every button enlarged, five to a row, for a close look.
  {
    std::vector<QImage> buttons;
    for (int id : MainToolbar())
      if (id != 0) buttons.push_back(Enlarged(ToolbarImage(id), scale));
    const int columns = 5;
    const int cellW = buttons[0].width() + scale * 2;
    const int cellH = buttons[0].height() + scale * 2;
    const int rows = static_cast<int>((buttons.size() + columns - 1) / columns);
    QImage sheet(cellW * columns, cellH * rows, QImage::Format_ARGB32);
    sheet.fill(QColor(0x60, 0x60, 0x60));
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < buttons.size(); ++i)
      painter.drawImage(static_cast<int>(i % columns) * cellW + scale, static_cast<int>(i / columns) * cellH + scale,
                        buttons[i]);
    painter.end();
    ok = ok && sheet.save(folder.filePath("toolbar-sheet.png"));
  }
  for (int id : MainIconIds()) {
    ok = ok && Save(MainIconImage(id, 16), folder, QStringLiteral("icon%1-16").arg(id), scale);
    ok = ok && MainIconImage(id, 64).save(folder.filePath(QStringLiteral("icon%1-64.png").arg(id)));
    ok = ok && MainIconImage(id, 256).save(folder.filePath(QStringLiteral("icon%1-256.png").arg(id)));
  }
  for (int index = 0; index < 2; ++index)
    ok = ok && Save(DbGridImage(index), folder, QStringLiteral("dbgrid%1").arg(index), scale);
  for (int index = 0; index < 3; ++index)
    ok = ok && Save(TableKindImage(index), folder, QStringLiteral("tablekind%1").arg(index), scale);
  return ok ? 0 : 1;
}
