#pragma once
// The class of a typed cell kept in compact form, with the settings of that class that shape its
// text (digits, decimals, grouping, display code). Shared like styles: every distinct combination
// is stored once in a process-wide pool, and a compact typed cell keeps only its number. The pool
// only grows; it belongs to the user-interface thread like every widget.
#include <cstdint>

#include "grid/GridCellClass.h"

struct CellTypeProfile {
  const GridCellClass* cls = nullptr;
  std::int16_t width = 0;
  std::int16_t decimals = 0;
  std::uint8_t code = 0;
  bool thousands = false;
  bool valueIsData = false;  // the compact value is the cell's data value (check boxes)

  bool operator==(const CellTypeProfile&) const = default;
};

namespace CellTypePool {
// The number of a combination, adding it when new.
std::uint32_t Intern(const CellTypeProfile& profile);
// The combination of a number (unknown numbers give an empty profile with no class).
const CellTypeProfile& Get(std::uint32_t id);
}  // namespace CellTypePool
