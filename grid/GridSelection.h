#pragma once
// The selected cells of a grid as a set of disjoint rectangles. Selecting whole rows, columns or
// the whole grid costs one rectangle however many cells it holds, and no two cells share a key,
// whatever the row count.
#include <vector>

#include "grid/GridDefs.h"

class GridSelection {
 public:
  void Clear() { m_ranges.clear(); }
  bool IsEmpty() const { return m_ranges.empty(); }
  void Add(const CellRange& range);     // union (invalid ranges are ignored)
  void Remove(const CellRange& range);  // difference
  void Add(const GridSelection& other);
  bool Contains(int row, int col) const;
  long long Count() const;
  CellRange Bounds() const;  // invalid when empty
  // Drops every cell at or beyond the given counts.
  void ClipTo(int rowCount, int colCount);
  const std::vector<CellRange>& Ranges() const { return m_ranges; }

 private:
  std::vector<CellRange> m_ranges;
};
