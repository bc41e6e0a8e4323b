#pragma once
// A text cell with a small square button, as wide as a scroll bar, at its left edge. A click on
// the button, when the grid is editable, the cell not read-only and the begin-edit notification
// (-105) allows it, sends the end-edit notification (-106) without any editing, so that the owner
// can react (with a dialog of its own, say). The text is edited as in a plain cell.
#include "grid/GridCell.h"

class CGridCellTextWithButton : public CGridCell {
  GRID_CELL_DECLARE(CGridCellTextWithButton)

 public:
  bool Draw(QPainter& painter, int row, int col, const QRect& rect, bool erase = true) override;
  QRect GetTextRect(const QRect& rect) const override;
  QSize GetCellExtent() const override;
  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  bool CanEdit(const QRect& rect, const QPoint& point, int key) const override;
  void OnClick(const CellId& cell, const QPoint& point) override;

  // The button's square inside a cell rectangle.
  static QRect ButtonArea(const QRect& rect);
};
