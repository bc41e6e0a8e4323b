#include "resources/PixelArt.h"

namespace art {

QColor PaletteColour(char letter) {
  switch (letter) {
    case 'k':
      return QColor(0x33, 0x33, 0x33);  // outline
    case 'w':
      return QColor(0xFF, 0xFF, 0xFF);
    case 'g':
      return QColor(0xD4, 0xD4, 0xD4);  // light grey
    case 'G':
      return QColor(0x8C, 0x8C, 0x8C);  // grey
    case 'y':
      return QColor(0xF8, 0xD8, 0x6A);  // yellow
    case 'Y':
      return QColor(0xD9, 0xA0, 0x30);  // dark yellow
    case 'b':
      return QColor(0x3B, 0x78, 0xD8);  // blue
    case 'B':
      return QColor(0x1F, 0x4E, 0x9E);  // dark blue
    case 'l':
      return QColor(0xB4, 0xD2, 0xF5);  // light blue
    case 'r':
      return QColor(0xE0, 0x3C, 0x31);  // red
    case 'R':
      return QColor(0x9E, 0x1F, 0x1F);  // dark red
    case 'e':
      return QColor(0x3F, 0xA8, 0x4C);  // green
    case 'E':
      return QColor(0x1F, 0x6E, 0x2A);  // dark green
    case 'n':
      return QColor(0xB0, 0x7A, 0x40);  // brown
    case 'N':
      return QColor(0x6E, 0x4A, 0x22);  // dark brown
    case 'o':
      return QColor(0xF5, 0x9B, 0x23);  // orange
    case 'p':
      return QColor(0xF4, 0xC2, 0xA0);  // pencil wood
    default:
      return QColor(0, 0, 0, 0);
  }
}

QImage Transparent(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

}  // namespace art
