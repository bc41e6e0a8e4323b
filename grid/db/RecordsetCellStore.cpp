#include "grid/db/RecordsetCellStore.h"

#include <algorithm>

CellSlot& RecordsetCellStore::At(int row, int col) {
  if (row < m_firstDataRow) return m_owned.At(row, col);
  auto it = m_made.find(row);
  Row& cells = it != m_made.end() ? it->second : MakeRow(row);
  return cells[static_cast<std::size_t>(col)];
}

RecordsetCellStore::Row& RecordsetCellStore::MakeRow(int row) {
  if (m_made.size() >= kMadeRowLimit) ForgetRemakeableRows();
  Row& cells = m_made[row];
  cells = Row(static_cast<std::size_t>(m_cols));
  for (int col = 0; col < m_cols; ++col) InitSlot(row, col, cells[static_cast<std::size_t>(col)]);
  if (m_maker) {
    try {
      m_maker(row);
    } catch (...) {
      // A row half made is not kept: the next request tries again.
      m_made.erase(row);
      throw;
    }
  }
  return m_made[row];
}

bool RecordsetCellStore::KeepsOwnState(const Row& cells) {
  return std::any_of(cells.begin(), cells.end(),
                     [](const CellSlot& slot) { return slot.Object() || (slot.State() & kCellModified); });
}

void RecordsetCellStore::ForgetRemakeableRows() {
  for (auto it = m_made.begin(); it != m_made.end();) {
    if (KeepsOwnState(it->second))
      ++it;
    else
      it = m_made.erase(it);
  }
}

void RecordsetCellStore::ForgetDataRows(int keepRow) {
  for (auto it = m_made.begin(); it != m_made.end();) {
    if (it->first == keepRow)
      ++it;
    else
      it = m_made.erase(it);
  }
}

int RecordsetCellStore::SetRowCount(int rows) {
  const int owned = m_owned.SetRowCount(std::min(rows, m_firstDataRow));
  if (owned < std::min(rows, m_firstDataRow)) {
    m_rows = owned;
  } else {
    m_rows = rows;
  }
  for (auto it = m_made.begin(); it != m_made.end();) {
    if (it->first >= m_rows)
      it = m_made.erase(it);
    else
      ++it;
  }
  return m_rows;
}

bool RecordsetCellStore::SetColumnCount(int cols) {
  if (!m_owned.SetColumnCount(cols)) return false;
  m_cols = cols;
  // Made rows are made again with the new columns.
  m_made.clear();
  return true;
}

void RecordsetCellStore::SetFirstDataRow(int row) {
  if (row == m_firstDataRow) return;
  m_firstDataRow = std::max(row, 0);
  // Rows that change side start afresh: owned rows become data rows made on demand, data rows
  // become owned rows with fresh slots.
  const int owned = std::min(m_rows, m_firstDataRow);
  const int made = m_owned.SetRowCount(owned);
  for (auto it = m_made.begin(); it != m_made.end();) {
    if (it->first < m_firstDataRow)
      it = m_made.erase(it);
    else
      ++it;
  }
  if (made < owned) m_rows = made;
}

void RecordsetCellStore::ForEachHeldRow(const std::function<void(int row)>& visit) {
  const int owned = std::min(m_rows, m_firstDataRow);
  for (int row = 0; row < owned; ++row) visit(row);
  std::vector<int> rows;
  rows.reserve(m_made.size());
  for (const auto& entry : m_made) rows.push_back(entry.first);
  std::sort(rows.begin(), rows.end());
  for (int row : rows) visit(row);
}

std::size_t RecordsetCellStore::HeldSlotCount() const {
  return m_owned.HeldSlotCount() + m_made.size() * static_cast<std::size_t>(m_cols);
}
