#pragma once
// Conversions between the grid's COLORREF values and Qt colours.
#include <QColor>

#include "grid/GridDefs.h"

inline QColor ToQColor(COLORREF c) {
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF ToColorRef(const QColor& c) {
  return RGB(c.red(), c.green(), c.blue());
}
