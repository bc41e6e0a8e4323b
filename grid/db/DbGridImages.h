#pragma once
// The result grid's image list "DbGridImages": 16-pixel images, index 0 "no filter" (an empty
// funnel outline), index 1 "filter active" (a filled funnel).
#include <QList>
#include <QPixmap>

inline constexpr int kDbGridImageNoFilter = 0;
inline constexpr int kDbGridImageFilterOn = 1;

QList<QPixmap> DbGridImages();
