#pragma once
// Small pictures written as rows of palette letters, one letter per pixel ('.' transparent),
// plus a few drawing helpers for what is easier as code. Internal to the resources library.
#include <QColor>
#include <QImage>
#include <array>
#include <cstddef>
#include <string_view>

namespace art {

// The palette every picture shares, so the toolbar looks of one piece.
QColor PaletteColour(char letter);

template <std::size_t Rows>
struct Pattern {
  std::array<std::string_view, Rows> rows;
  // All rows as wide as the first: checked at compile time where the pattern is declared.
  constexpr bool Rectangular() const {
    for (std::string_view row : rows)
      if (row.size() != rows[0].size()) return false;
    return true;
  }
};

// Paints the pattern with its top-left corner at (x, y); '.' leaves pixels as they are. Letters
// the palette lacks are asked of `extra` (a picture's own colours).
template <std::size_t Rows>
void Paint(QImage& image, const Pattern<Rows>& pattern, int x = 0, int y = 0,
           QColor (*extra)(char, const void*) = nullptr, const void* context = nullptr) {
  for (std::size_t row = 0; row < Rows; ++row)
    for (std::size_t column = 0; column < pattern.rows[row].size(); ++column) {
      const char letter = pattern.rows[row][column];
      const int px = x + static_cast<int>(column);
      const int py = y + static_cast<int>(row);
      if (letter == '.' || !image.rect().contains(px, py)) continue;
      QColor colour = PaletteColour(letter);
      if (colour.alpha() == 0 && extra) colour = extra(letter, context);
      image.setPixelColor(px, py, colour);
    }
}

QImage Transparent(int width, int height);

}  // namespace art
