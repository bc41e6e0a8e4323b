#pragma once
// Reading a widget's picture as a person would see it: saved to a PNG file and read back, and the
// ink drawn in a rectangle of it.
#include <QImage>
#include <QRect>
#include <string>

class QWidget;

namespace testsupport {

// Pixels of a drawn thing (text, a triangle) in a rectangle: those that differ clearly from the
// rectangle's background, its most frequent colour. Selected, coloured and plain cells alike.
int InkPixels(const QImage& image, const QRect& rect);

// A PNG file read back in a format whose pixels compare as RGB; null when it cannot be read.
QImage ReadPicture(const std::string& path);

}  // namespace testsupport
