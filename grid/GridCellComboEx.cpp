#include "grid/GridCellComboEx.h"

#include "grid/GridCtrl.h"
#include "grid/InPlaceList.h"
#include "text/TextUtil.h"

GRID_CELL_IMPLEMENT(CGridCellComboEx, CGridCell)

namespace {

const std::vector<GridComboItem>& NoItems() {
  static const std::vector<GridComboItem> none;
  return none;
}

}  // namespace

void CGridCellComboEx::AddItem(std::intptr_t value, const std::string& text) {
  auto items = std::make_shared<std::vector<GridComboItem>>(GetItems());
  items->push_back({value, text});
  m_items = std::move(items);
}

void CGridCellComboEx::SetItems(std::shared_ptr<const std::vector<GridComboItem>> items) {
  m_items = std::move(items);
}

const std::vector<GridComboItem>& CGridCellComboEx::GetItems() const {
  return m_items ? *m_items : NoItems();
}

bool CGridCellComboEx::FindValue(std::string_view text, std::intptr_t& value) const {
  for (const GridComboItem& item : GetItems())
    if (item.text == text) {
      value = item.value;
      return true;
    }
  return false;
}

void CGridCellComboEx::SetData(std::intptr_t data) {
  m_data = data;
  for (const GridComboItem& item : GetItems())
    if (item.value == data) {
      m_text.assign(item.text);
      return;
    }
}

void CGridCellComboEx::SetText(std::string_view text) {
  std::intptr_t value = 0;
  if (FindValue(text, value)) m_data = value;
  m_text.assign(text);
}

bool CGridCellComboEx::ValidateEdit(std::string_view text) {
  std::intptr_t value = 0;
  return Trim(std::string(text)).empty() || FindValue(text, value);
}

void CGridCellComboEx::CopyPropertiesFrom(const CGridCellBase& other) {
  if (const auto* combo = dynamic_cast<const CGridCellComboEx*>(&other)) m_items = combo->m_items;
  CGridCell::CopyPropertiesFrom(other);
}

bool CGridCellComboEx::Edit(int row, int col, const QRect& rect, const QPoint&, int id, int key) {
  CGridCtrl* grid = GetGrid();
  if (!grid) return false;
  auto* editor = new InPlaceList(grid, row, col, rect, id, key, GetItems(), m_data, GetFont());
  editor->Open();
  return true;
}
