// The main icon: a database cylinder in the icon's colour with a result sheet in front of it,
// drawn to scale for each size.
#include <QPainter>
#include <QPainterPath>

#include "resources/Art.h"
#include "resources/CommandIds.h"
#include "resources/PixelArt.h"

namespace {

struct Colours {
  QColor light, main, dark;
};

Colours ColoursOf(int iconId) {
  switch (iconId) {
    case IDI_ICON_GREEN:
      return {QColor(0x8F, 0xD8, 0x8F), QColor(0x3D, 0xAA, 0x4F), QColor(0x1F, 0x6E, 0x2E)};
    case IDI_ICON_RED:
      return {QColor(0xF2, 0x9A, 0x90), QColor(0xD9, 0x45, 0x3B), QColor(0x8E, 0x21, 0x1A)};
    case IDI_ICON_BLUE:
      return {QColor(0x9C, 0xC4, 0xF2), QColor(0x3B, 0x7D, 0xD8), QColor(0x1F, 0x4E, 0x9E)};
    default:
      return {QColor(0xFB, 0xE3, 0x8C), QColor(0xF2, 0xB9, 0x2E), QColor(0xA8, 0x74, 0x0C)};
  }
}

void DrawCylinder(QPainter& painter, const QRectF& box, const Colours& colours, qreal line) {
  const qreal capHeight = box.height() * 0.26;
  const QRectF top(box.left(), box.top(), box.width(), capHeight);
  const QRectF bottom(box.left(), box.bottom() - capHeight, box.width(), capHeight);
  QPainterPath body;
  body.moveTo(box.left(), top.center().y());
  body.lineTo(box.left(), bottom.center().y());
  body.arcTo(bottom, 180, 180);
  body.lineTo(box.right(), top.center().y());
  body.arcTo(top, 0, -180);
  QLinearGradient shade(box.topLeft(), box.topRight());
  shade.setColorAt(0, colours.main);
  shade.setColorAt(0.35, colours.light);
  shade.setColorAt(1, colours.main);
  painter.setPen(QPen(colours.dark, line));
  painter.setBrush(shade);
  painter.drawPath(body);
  // The bands between the stacked disks.
  painter.setBrush(Qt::NoBrush);
  for (qreal fraction : {0.36, 0.62}) {
    QRectF band = top.translated(0, (box.height() - capHeight) * fraction);
    painter.drawArc(band, 180 * 16, 180 * 16);
  }
  painter.setBrush(colours.light);
  painter.drawEllipse(top);
}

void DrawSheet(QPainter& painter, const QRectF& sheet, const Colours& colours, qreal line) {
  painter.setPen(QPen(QColor(0x40, 0x40, 0x40), line));
  painter.setBrush(Qt::white);
  painter.drawRect(sheet);
  const qreal header = sheet.height() * 0.24;
  painter.fillRect(QRectF(sheet.left() + line / 2, sheet.top() + line / 2, sheet.width() - line, header), colours.dark);
  painter.setPen(QPen(QColor(0x90, 0x90, 0x90), line * 0.75));
  const qreal rows = 3;
  for (int i = 1; i < rows; ++i) {
    const qreal y = sheet.top() + header + (sheet.height() - header) * i / rows;
    painter.drawLine(QPointF(sheet.left() + line, y), QPointF(sheet.right() - line, y));
  }
  const qreal x = sheet.left() + sheet.width() * 0.42;
  painter.drawLine(QPointF(x, sheet.top() + header), QPointF(x, sheet.bottom() - line));
}

// At 16 pixels the picture is drawn pixel by pixel: h light, c main, C dark colour.
constexpr art::Pattern<16> kSmall{{
    "..CCCCCCCC......",
    ".ChhhhhhhhC.....",
    "ChhhhhhhhhhC....",
    "CcCCCCCCCCcC....",
    "CchhcccccccC....",
    "CchhcccccccC....",
    "CcCCCCCCCCcC....",
    "Cchhccckkkkkkkkk",
    "CchhccckCCCCCCCk",
    "CcCCCCCkwwwGwwwk",
    "CchhccckGGGGGGGk",
    "CchhccckwwwGwwwk",
    "CchhccckGGGGGGGk",
    ".CchhcckwwwGwwwk",
    "..CCCCCkwwwGwwwk",
    ".......kkkkkkkkk",
}};
static_assert(kSmall.Rectangular());

QColor SmallColour(char letter, const void* context) {
  const Colours& colours = *static_cast<const Colours*>(context);
  return letter == 'h' ? colours.light : letter == 'c' ? colours.main : letter == 'C' ? colours.dark : QColor();
}

}  // namespace

QImage MainIconImage(int iconId, int size) {
  if (size == 16) {
    QImage image = art::Transparent(16, 16);
    const Colours colours = ColoursOf(iconId);
    art::Paint(image, kSmall, 0, 0, &SmallColour, &colours);
    return image;
  }
  QImage image = art::Transparent(size, size);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const Colours colours = ColoursOf(iconId);
  const qreal s = size;
  const qreal line = std::max<qreal>(1.0, s / 24.0);
  DrawCylinder(painter, QRectF(s * 0.06, s * 0.04, s * 0.64, s * 0.80), colours, line);
  DrawSheet(painter, QRectF(s * 0.46 + line / 2, s * 0.48 + line / 2, s * 0.50 - line, s * 0.48 - line), colours, line);
  return image;
}

QIcon MainIcon(int iconId) {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(MainIconImage(iconId, size)));
  return icon;
}

std::vector<int> MainIconIds() {
  return {IDR_MAINFRAME, IDI_ICON_GREEN, IDI_ICON_RED, IDI_ICON_BLUE};
}
