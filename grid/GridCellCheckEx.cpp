#include "grid/GridCellCheckEx.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstdlib>

#include "grid/CellSlot.h"
#include "grid/CellTypeProfile.h"
#include "grid/GridCtrl.h"
#include "grid/InPlaceCheck.h"
#include "text/TextUtil.h"

GRID_CELL_IMPLEMENT(CGridCellCheckEx, CGridCell)

namespace {

QSize IndicatorSize(const QWidget* widget) {
  const QStyle* style = widget ? widget->style() : QApplication::style();
  return {style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget),
          style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, widget)};
}

}  // namespace

QRect CGridCellCheckEx::CheckArea(const QRect& rect) {
  const QSize size = IndicatorSize(nullptr).boundedTo(rect.size());
  return QRect(rect.left() + (rect.width() - size.width()) / 2, rect.top() + (rect.height() - size.height()) / 2,
               size.width(), size.height());
}

void CGridCellCheckEx::SetText(std::string_view text) {
  const std::string trimmed = Trim(std::string(text));
  m_data = trimmed.empty() ? 0 : std::strtoll(trimmed.c_str(), nullptr, 10);
}

bool CGridCellCheckEx::ValidateEdit(std::string_view text) {
  const std::string trimmed = Trim(std::string(text));
  if (trimmed.empty()) return true;
  char* end = nullptr;
  std::strtoll(trimmed.c_str(), &end, 10);
  return end && *end == '\0';
}

bool CGridCellCheckEx::Draw(QPainter& painter, int row, int col, const QRect& rect, bool erase) {
  const QColor fg = DrawBackground(painter, row, col, rect, erase);
  Q_UNUSED(fg);
  CGridCtrl* grid = GetGrid();
  QStyleOptionButton opt;
  opt.rect = CheckArea(rect);
  opt.state = (GetCheck() ? QStyle::State_On : QStyle::State_Off);
  if (!grid || grid->IsEditable()) opt.state |= QStyle::State_Enabled;
  if (grid) opt.palette = grid->palette();
  QStyle* style = grid ? grid->style() : QApplication::style();
  style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &painter, grid);
  return true;
}

QRect CGridCellCheckEx::GetTextRect(const QRect& rect) const {
  return QRect(rect.topLeft(), QSize(0, rect.height()));
}

QSize CGridCellCheckEx::GetCellExtent() const {
  const QSize box = IndicatorSize(GetGrid());
  const int margin = GetMargin();
  return {box.width() + 2 * margin, box.height() + 2 * margin};
}

bool CGridCellCheckEx::Edit(int row, int col, const QRect& rect, const QPoint&, int id, int key) {
  CGridCtrl* grid = GetGrid();
  if (!grid) return false;
  auto* editor = new InPlaceCheck(grid, row, col, CheckArea(rect), id, key, GetCheck());
  editor->Open();
  return true;
}

bool CGridCellCheckEx::SaveToSlot(CellSlot& slot) const {
  // The text of this class is its state: only the data value needs keeping.
  if (&GetRuntimeClass() != &ClassInfo() || m_image >= 0 || m_style > 0xFFFF) return false;
  CellTypeProfile profile;
  profile.cls = &ClassInfo();
  profile.valueIsData = true;
  slot.SetTypedValue(CellTypePool::Intern(profile), static_cast<std::uint64_t>(m_data));
  slot.SetState(m_state);
  slot.SetStyle(static_cast<std::uint16_t>(m_style));
  return true;
}

void CGridCellCheckEx::LoadFromSlot(const CellSlot& slot) {
  LoadCommonFromSlot(slot);
  m_text.clear();
  m_data = static_cast<std::intptr_t>(slot.Value());
}
