#pragma once
// The result grid's cell store. Rows above the first data row (header, details, filter row) are
// owned as in any grid. Data rows hold no cells: a data row's slots are made when the grid first
// asks for one of them (painting, measuring, editing, copying, printing) by the row maker, which
// gives them the column's looks and the record's values, and are forgotten again when many rows
// have been made. A made row that holds something the maker could not make again (a cell object,
// a cell marked modified: a typed text the database refused, an open editor) is kept.
#include <cstddef>
#include <functional>
#include <unordered_map>
#include <vector>

#include "grid/GridCellStore.h"
#include "grid/OwnedCellStore.h"

class RecordsetCellStore : public GridCellStore {
 public:
  // Fills a data row whose slots have just been made by the grid's init; it reaches the cells
  // through the grid (which finds them made) and must not ask for other data rows.
  using RowMaker = std::function<void(int row)>;
  // Made rows kept at most before forgetting the ones that can be made again: a few screens.
  static constexpr std::size_t kMadeRowLimit = 4096;

  explicit RecordsetCellStore(RowMaker maker) : m_maker(std::move(maker)) {}

  void SetSlotInit(SlotInit init) override {
    m_owned.SetSlotInit(init);
    GridCellStore::SetSlotInit(std::move(init));
  }
  CellSlot& At(int row, int col) override;
  int SetRowCount(int rows) override;
  bool SetColumnCount(int cols) override;
  void ForEachHeldRow(const std::function<void(int row)>& visit) override;
  bool ReorderRows(int, const std::vector<int>&) override { return false; }
  std::size_t HeldSlotCount() const override;

  // Rows from `row` on are data rows. Rows that stop being data rows get owned fresh slots.
  void SetFirstDataRow(int row);
  int GetFirstDataRow() const { return m_firstDataRow; }
  // Forgets every made data row (the records or their order changed) except `keepRow`.
  void ForgetDataRows(int keepRow = -1);
  // Data rows made now.
  std::size_t MadeRowCount() const { return m_made.size(); }

 private:
  using Row = std::vector<CellSlot>;
  Row& MakeRow(int row);
  // Forgets the made rows that keep nothing the maker could not make again.
  void ForgetRemakeableRows();
  static bool KeepsOwnState(const Row& cells);

  RowMaker m_maker;
  OwnedCellStore m_owned;  // rows [0, min(rows, first data row))
  std::unordered_map<int, Row> m_made;
  int m_firstDataRow = 0;
};
