#pragma once
// A check box whose state is the cell's data value (checked when not 0), greyed while the grid
// is not editable. Its text is "1" or "0" after the state; setting a text sets the state from it
// read as an integer. Its editor is a check box placed on the check area: a Space that opened it
// toggles it at once, Escape restores the state, Tab, Enter and Escape end the edit, navigation
// keys always end it.
#include "grid/GridCell.h"

class CGridCellCheckEx : public CGridCell {
  GRID_CELL_DECLARE(CGridCellCheckEx)

 public:
  void SetText(std::string_view text) override;
  std::string GetText() const override { return m_data != 0 ? "1" : "0"; }
  bool GetCheck() const { return m_data != 0; }
  void SetCheck(bool checked) { m_data = checked ? 1 : 0; }

  bool Draw(QPainter& painter, int row, int col, const QRect& rect, bool erase = true) override;
  QRect GetTextRect(const QRect& rect) const override;
  QSize GetCellExtent() const override;
  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  // Empty or an integer.
  bool ValidateEdit(std::string_view text) override;

  // Compact form: the state (the data value) as the value.
  bool SaveToSlot(CellSlot& slot) const override;
  void LoadFromSlot(const CellSlot& slot) override;

  // The square of the check box inside a cell rectangle (centred).
  static QRect CheckArea(const QRect& rect);

 protected:
  std::string GetDisplayText() const override { return {}; }
};
