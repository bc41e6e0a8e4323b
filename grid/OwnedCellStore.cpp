#include "grid/OwnedCellStore.h"

#include <algorithm>
#include <new>

int OwnedCellStore::SetRowCount(int rows) {
  const auto cols = static_cast<std::size_t>(m_cols);
  if (rows <= m_rows) {
    m_cells.resize(static_cast<std::size_t>(rows) * cols);
    m_rows = rows;
    // Memory goes back once most rows are gone (a filter, a new query).
    if (m_cells.size() < m_cells.capacity() / 2) m_cells.shrink_to_fit();
    return m_rows;
  }
  try {
    // The exact size for a grid filled at once; room to spare for one that grows row by row.
    const std::size_t need = static_cast<std::size_t>(rows) * cols;
    if (need > m_cells.capacity()) m_cells.reserve(std::max(need, m_cells.capacity() + m_cells.capacity() / 8));
    for (int row = m_rows; row < rows; ++row) {
      for (std::size_t col = 0; col < cols; ++col) {
        m_cells.emplace_back();
        InitSlot(row, static_cast<int>(col), m_cells.back());
      }
      ++m_rows;
    }
  } catch (const std::bad_alloc&) {
    // The rows made so far stay.
    m_cells.resize(static_cast<std::size_t>(m_rows) * cols);
  }
  return m_rows;
}

bool OwnedCellStore::SetColumnCount(int cols) {
  // The new cells are made first, so that running out of memory changes nothing.
  const int keep = std::min(m_cols, cols);
  const auto width = static_cast<std::size_t>(cols);
  std::vector<CellSlot> widened;
  try {
    widened.resize(static_cast<std::size_t>(m_rows) * width);
    for (int row = 0; row < m_rows; ++row)
      for (int col = m_cols; col < cols; ++col)
        InitSlot(row, col, widened[static_cast<std::size_t>(row) * width + static_cast<std::size_t>(col)]);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int row = 0; row < m_rows; ++row) {
    CellSlot* cells = &widened[static_cast<std::size_t>(row) * width];
    for (int col = 0; col < keep; ++col) cells[col] = std::move(At(row, col));
  }
  m_cells = std::move(widened);
  m_cols = cols;
  return true;
}

void OwnedCellStore::ForEachHeldRow(const std::function<void(int row)>& visit) {
  for (int row = 0; row < m_rows; ++row) visit(row);
}

bool OwnedCellStore::ReorderRows(int first, const std::vector<int>& order) {
  // Rows move into place cycle by cycle through one row of room.
  const auto cols = static_cast<std::size_t>(m_cols);
  const int count = static_cast<int>(order.size());
  std::vector<CellSlot> held(cols);
  std::vector<bool> placed(order.size(), false);
  auto rowAt = [&](int i) { return m_cells.begin() + static_cast<std::ptrdiff_t>((first + i) * cols); };
  for (int start = 0; start < count; ++start) {
    if (placed[static_cast<std::size_t>(start)]) continue;
    std::move(rowAt(start), rowAt(start) + static_cast<std::ptrdiff_t>(cols), held.begin());
    int i = start;
    for (;;) {
      placed[static_cast<std::size_t>(i)] = true;
      const int from = order[static_cast<std::size_t>(i)];
      if (from == start) {
        std::move(held.begin(), held.end(), rowAt(i));
        break;
      }
      std::move(rowAt(from), rowAt(from) + static_cast<std::ptrdiff_t>(cols), rowAt(i));
      i = from;
    }
  }
  return true;
}
