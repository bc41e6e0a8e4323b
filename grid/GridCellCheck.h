#pragma once
// A check box with a flag of its own (initially off) drawn at the left of the cell, its text
// after it unless the text is just the flag ("0" or "1"). A click in the check box, or Enter or
// Space on the focus cell, flips the flag when the grid is editable and the cell not read-only,
// and commits the text "%d" of the new flag through the grid's editor-end path, as if it had
// been typed and ended with a blank.
#include "grid/GridCell.h"

class CGridCellCheck : public CGridCell {
  GRID_CELL_DECLARE(CGridCellCheck)

 public:
  bool GetCheck() const { return m_checked; }
  void SetCheck(bool checked) { m_checked = checked; }
  // "1" and "0" also set the flag, so a refused edit restores it with the text.
  void SetText(std::string_view text) override;
  // Flips the flag as a user's click does (nothing when the cell cannot be edited).
  void ToggleByUser(const CellId& cell);

  bool Draw(QPainter& painter, int row, int col, const QRect& rect, bool erase = true) override;
  QRect GetTextRect(const QRect& rect) const override;
  QSize GetCellExtent() const override;
  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  bool CanEdit(const QRect&, const QPoint&, int) const override { return false; }
  void OnClick(const CellId& cell, const QPoint& point) override;

  // The square of the check box at the left of a cell rectangle.
  QRect CheckArea(const QRect& rect) const;

 protected:
  std::string GetDisplayText() const override;

 private:
  bool m_checked = false;
};
