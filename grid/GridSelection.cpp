#include "grid/GridSelection.h"

void GridSelection::Add(const CellRange& range) {
  if (!range.IsValid()) return;
  Remove(range);
  m_ranges.push_back(range);
}

void GridSelection::Add(const GridSelection& other) {
  for (const CellRange& r : other.m_ranges) Add(r);
}

void GridSelection::Remove(const CellRange& cut) {
  if (!cut.IsValid()) return;
  std::vector<CellRange> kept;
  kept.reserve(m_ranges.size() + 4);
  for (const CellRange& r : m_ranges) {
    if (!r.Intersects(cut)) {
      kept.push_back(r);
      continue;
    }
    const CellRange in = r.Intersect(cut);
    // Up to four pieces: the rows above and below the cut, then left and right of it.
    if (r.minRow < in.minRow) kept.emplace_back(r.minRow, r.minCol, in.minRow - 1, r.maxCol);
    if (in.maxRow < r.maxRow) kept.emplace_back(in.maxRow + 1, r.minCol, r.maxRow, r.maxCol);
    if (r.minCol < in.minCol) kept.emplace_back(in.minRow, r.minCol, in.maxRow, in.minCol - 1);
    if (in.maxCol < r.maxCol) kept.emplace_back(in.minRow, in.maxCol + 1, in.maxRow, r.maxCol);
  }
  m_ranges.swap(kept);
}

bool GridSelection::Contains(int row, int col) const {
  for (const CellRange& r : m_ranges)
    if (r.Contains(row, col)) return true;
  return false;
}

long long GridSelection::Count() const {
  long long n = 0;
  for (const CellRange& r : m_ranges) n += r.CellCount();
  return n;
}

CellRange GridSelection::Bounds() const {
  if (m_ranges.empty()) return {};
  CellRange b = m_ranges.front();
  for (const CellRange& r : m_ranges) {
    b.minRow = std::min(b.minRow, r.minRow);
    b.minCol = std::min(b.minCol, r.minCol);
    b.maxRow = std::max(b.maxRow, r.maxRow);
    b.maxCol = std::max(b.maxCol, r.maxCol);
  }
  return b;
}

void GridSelection::ClipTo(int rowCount, int colCount) {
  std::vector<CellRange> kept;
  for (const CellRange& r : m_ranges) {
    CellRange c = r.Intersect(CellRange(0, 0, rowCount - 1, colCount - 1));
    if (c.IsValid()) kept.push_back(c);
  }
  m_ranges.swap(kept);
}
