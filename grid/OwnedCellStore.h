#pragma once
// The store of a grid that owns its data: every cell's slot in one row-major block.
#include "grid/GridCellStore.h"

class OwnedCellStore : public GridCellStore {
 public:
  CellSlot& At(int row, int col) override {
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_cols) + static_cast<std::size_t>(col)];
  }
  int SetRowCount(int rows) override;
  bool SetColumnCount(int cols) override;
  void ForEachHeldRow(const std::function<void(int row)>& visit) override;
  bool ReorderRows(int first, const std::vector<int>& order) override;
  std::size_t HeldSlotCount() const override { return m_cells.size(); }

 private:
  std::vector<CellSlot> m_cells;
};
