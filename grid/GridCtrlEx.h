#pragma once
// CGridCtrlEx: the grid every table of this system uses. Adds a kind and a definition per column
// applied to the cells of each row, turns the grid's notifications into overridable calls on the
// grid itself, moves the focus after an accepted edit, and has a one-time setup (Initialize).
#include <cstdint>
#include <vector>

#include "grid/GridColumnDef.h"
#include "grid/GridCtrl.h"

class CGridCtrlEx : public CGridCtrl {
  Q_OBJECT

 public:
  enum MoveAfterEdit : int { kMoveNone = 0, kMoveDown = 1, kMoveRight = 2 };

  explicit CGridCtrlEx(QWidget* parent = nullptr);

  // The kind whose cell class has the cell's class name (1..7), else 0 (also out of range).
  int GetCellType(int row, int col) const;
  // Replaces the cell by one of the kind's class; kind 0 (or an unknown kind) leaves it.
  bool SetCellTypeByKind(int row, int col, int kind);
  // The integer of a CGridCellInteger cell; 0 for any other cell or out of range.
  std::int64_t GetCellInteger(int row, int col) const;

  // Column count = list size; definitions stored; widths fill the client width in proportion to
  // the nominal widths but never below them; headers into row 0 when there is a fixed row.
  bool SetColumns(const std::vector<GridColumnDef>& defs);
  bool SetColumnDef(int col, const GridColumnDef& def);
  // The definition of a column (a made-up one for a column that has none); null out of range.
  const GridColumnDef* GetColumnDef(int col);
  const std::vector<GridColumnDef>& GetColumnDefs();
  bool HideColumn(int col);
  // Gives the cells of `row` the class, limits, formats, state and colours of their columns.
  bool ApplyColumnDefsToRow(int row);
  // The same for the rows from `firstRow` to `lastRow`: cells that are alike before (the fresh
  // cells of new rows) are given their column's outcome once, computed for the first of them.
  bool ApplyColumnDefsToRows(int firstRow, int lastRow);
  // Background of the cells of `row` from `fromCol` to the last; true when every cell took it.
  bool SetRowBackColour(int row, int fromCol, COLORREF colour);
  void SetMoveAfterEdit(int mode) { m_moveAfterEdit = mode; }
  int GetMoveAfterEdit() const { return m_moveAfterEdit; }
  // The one-time setup after creation: no border, one row that is fixed, not editable, the
  // button-face colour behind the cells, single whole-row selection, no focus highlighting.
  void Initialize();

  // ---- Overridable operations, in slot order.
  // Out of range: clears the selection; else selects the whole row, puts the focus on it (the
  // focus column, or 0) and scrolls it into view when asked.
  virtual void SelectRow(int row, bool ensureVisible);
  // Called for every cell before it is destroyed; returns its data value.
  virtual std::intptr_t GetCellDataHook(int row, int col);
  virtual void OnGridClick(int row, int col);                          // moves the focus
  virtual void OnGridSelChanging(int row, int col, long long count);   // nothing
  virtual void OnGridEndSelChange(int row, int col, long long count);  // moves the focus
  virtual bool OnGridBeginEdit(int row, int col);                      // true
  virtual bool OnGridEndEdit(int row, int col);                        // true
  virtual bool KeepFocusAfterEdit(const CellId& cell);                 // false

 protected:
  void OnNotifyReflect(GridNotify& n) override;
  void DestroyCell(int row, int col) override;
  // After an accepted edit of `cell`: keep the focus there or move it by the mode.
  void MoveFocusAfterEdit(const CellId& cell);

 private:
  // One definition per column: missing ones made up, surplus ones dropped.
  void SyncColumnDefs();
  // Gives one cell its column's class, limits, formats, state and colours.
  void ApplyColumnDefToCell(int row, int col, const GridColumnDef& def);

  std::vector<GridColumnDef> m_columnDefs;
  int m_moveAfterEdit = kMoveNone;
};
