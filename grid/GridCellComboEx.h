#pragma once
// A cell that picks one of a list of items (integer value, text). The selected value is the
// cell's data value and its text the item's text. The editor is a drop-down list opened at once.
#include <memory>
#include <string>
#include <vector>

#include "grid/GridCell.h"

struct GridComboItem {
  std::intptr_t value = 0;
  std::string text;
};

class CGridCellComboEx : public CGridCell {
  GRID_CELL_DECLARE(CGridCellComboEx)

 public:
  void AddItem(std::intptr_t value, const std::string& text);
  // Shares one list among many cells.
  void SetItems(std::shared_ptr<const std::vector<GridComboItem>> items);
  const std::vector<GridComboItem>& GetItems() const;
  void ClearItems() { m_items.reset(); }
  // The value of the item with this text; false when there is none.
  bool FindValue(std::string_view text, std::intptr_t& value) const;

  // Selecting a value shows its item's text (an unknown value keeps the text).
  void SetData(std::intptr_t data) override;
  // An item's text selects that item; other texts are kept as they are.
  void SetText(std::string_view text) override;
  // Empty or an item's text.
  bool ValidateEdit(std::string_view text) override;
  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  void CopyPropertiesFrom(const CGridCellBase& other) override;

 private:
  std::shared_ptr<const std::vector<GridComboItem>> m_items;
};
