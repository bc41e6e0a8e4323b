#pragma once
// Where a grid keeps its cells: one CellSlot per cell, found by row and column. A store either
// owns every slot (OwnedCellStore) or makes the slots of some rows only when they are asked for,
// from a source that holds the values (the result grid's recordset), and may forget such rows
// again. The grid asks for a slot each time it needs one and never keeps slot pointers past the
// operation at hand.
#include <cstddef>
#include <functional>
#include <vector>

#include "grid/CellSlot.h"

class GridCellStore {
 public:
  // Gives a new slot what the grid wants in a fresh cell (its fixed flags, or an object of the
  // grid's default class).
  using SlotInit = std::function<void(int row, int col, CellSlot& slot)>;

  GridCellStore() = default;
  GridCellStore(const GridCellStore&) = delete;
  GridCellStore& operator=(const GridCellStore&) = delete;
  virtual ~GridCellStore() = default;

  // The grid sets this once, when the store is installed.
  virtual void SetSlotInit(SlotInit init) { m_init = std::move(init); }

  int RowCount() const { return m_rows; }
  int ColumnCount() const { return m_cols; }

  // The slot of a cell inside the counts. It stays valid while rows and columns stay and no other
  // row is asked for: a store that makes rows on demand may forget rows it can make again when it
  // makes a new one.
  virtual CellSlot& At(int row, int col) = 0;
  // Grows or shrinks to `rows` rows, new slots made by the init. Returns the rows there afterwards:
  // fewer than asked when memory ran out (the rows made so far stay).
  virtual int SetRowCount(int rows) = 0;
  // Changes the column count, keeping the first columns of every row; new slots made by the init.
  // False, and nothing changed, when memory runs out.
  virtual bool SetColumnCount(int cols) = 0;
  // Calls `visit` with each row whose slots the store holds now, for work that concerns every
  // stored cell (flags, colours): rows not held get the current state when they are made.
  virtual void ForEachHeldRow(const std::function<void(int row)>& visit) = 0;
  // Row `first + i` takes the cells of row `first + order[i]` (order a permutation). False, and
  // nothing changed, for a store whose rows follow their source's order.
  virtual bool ReorderRows(int first, const std::vector<int>& order) = 0;
  // Slots held now, and the heap bytes of their texts: the grid's share of memory.
  virtual std::size_t HeldSlotCount() const = 0;

 protected:
  void InitSlot(int row, int col, CellSlot& slot) const {
    if (m_init) m_init(row, col, slot);
  }

  int m_rows = 0;
  int m_cols = 0;

 private:
  SlotInit m_init;
};
