#pragma once
// Dialog units: geometry in quarters of the dialog font's average character width (x) and
// eighths of its height (y), so a form designed in them fits its texts whatever font the desktop
// uses. The base units are measured as the classic dialog manager does: the average width of
// the 52 letters A-Z a-z (halved and rounded), and the font's line height.
#include <QFont>
#include <QRect>
#include <QSize>

class DialogUnits {
 public:
  // The application's default font (the dialog font of every form and dialog here).
  DialogUnits();
  explicit DialogUnits(const QFont& font);
  // Explicit base units, for tests and fixed layouts.
  DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

  int BaseX() const { return baseX_; }
  int BaseY() const { return baseY_; }

  // Rounded to nearest, as the dialog manager maps rectangles.
  int X(int dluX) const;
  int Y(int dluY) const;
  QSize ToPixels(QSize dlu) const { return {X(dlu.width()), Y(dlu.height())}; }
  // x, y, width, height in dialog units to a pixel rectangle (edges mapped, then the size taken).
  QRect ToPixels(int x, int y, int width, int height) const;

 private:
  int baseX_;
  int baseY_;
};
