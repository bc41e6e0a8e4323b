#pragma once
// The optional looks of a cell (format, colours, font, margin, text limits), shared: every
// distinct combination is stored once in a process-wide pool and cells keep only its number.
// Number 0 is "nothing set", so a cell that set nothing pays nothing. The pool only grows; it
// belongs to the user-interface thread like every widget.
#include <QFont>
#include <cstdint>
#include <optional>

#include "grid/GridDefs.h"

struct CellStyle {
  unsigned format = kFormatDefault;  // kFormatDefault: the default cell's
  COLORREF textColour = CLR_DEFAULT;
  COLORREF backColour = CLR_DEFAULT;
  int margin = -1;              // -1: the default cell's
  std::uint32_t maxLength = 0;  // 0: no limit
  bool longText = false;        // edited in a multi-line editor
  std::optional<QFont> font;    // none: the default cell's

  bool operator==(const CellStyle& other) const;
};

namespace CellStylePool {
// The number of a combination, adding it when new.
std::uint32_t Intern(const CellStyle& style);
// The combination of a number (number 0 and unknown numbers give the empty combination).
const CellStyle& Get(std::uint32_t id);
// How many combinations the pool holds (number 0 included).
std::size_t Size();
}  // namespace CellStylePool
