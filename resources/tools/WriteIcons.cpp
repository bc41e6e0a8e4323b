// Writes the program's icon into a hicolor icon theme folder, one PNG per size:
// <folder>/hicolor/<size>x<size>/apps/qelvo.png. Run by the build; the files are installed.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "resources/Art.h"
#include "resources/CommandIds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qelvo_write_icons <folder>\n");
    return 2;
  }
  QGuiApplication application(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString apps = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
    if (!QDir().mkpath(apps) || !MainIconImage(IDR_MAINFRAME, size).save(apps + QStringLiteral("/qelvo.png"))) {
      std::fprintf(stderr, "qelvo_write_icons: cannot write %s\n", qPrintable(apps));
      return 1;
    }
  }
  return 0;
}
