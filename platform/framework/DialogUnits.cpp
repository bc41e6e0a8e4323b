#include "platform/framework/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>
#include <cmath>

namespace {
int MulDivRounded(int value, int numerator, int denominator) {
  return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}
}  // namespace

DialogUnits::DialogUnits() : DialogUnits(QApplication::font()) {}

DialogUnits::DialogUnits(const QFont& font) {
  QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseX_ = (width / 26 + 1) / 2;
  baseY_ = metrics.height();
  if (baseX_ < 1) baseX_ = 1;
  if (baseY_ < 1) baseY_ = 1;
}

int DialogUnits::X(int dluX) const {
  return MulDivRounded(dluX, baseX_, 4);
}
int DialogUnits::Y(int dluY) const {
  return MulDivRounded(dluY, baseY_, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  const int left = X(x);
  const int top = Y(y);
  return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}
