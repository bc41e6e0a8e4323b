#include "grid/GridCellCheck.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "grid/GridCtrl.h"

GRID_CELL_IMPLEMENT(CGridCellCheck, CGridCell)

QRect CGridCellCheck::CheckArea(const QRect& rect) const {
  const QWidget* widget = GetGrid();
  const QStyle* style = widget ? widget->style() : QApplication::style();
  QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget),
             style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, widget));
  size = size.boundedTo(rect.size());
  return QRect(rect.left() + GetMargin(), rect.top() + (rect.height() - size.height()) / 2, size.width(),
               size.height());
}

namespace {

// "1" and "0" are the texts a click commits; they carry the flag with them.
void SyncFlag(bool& checked, std::string_view text) {
  if (text == "1") checked = true;
  if (text == "0") checked = false;
}

}  // namespace

void CGridCellCheck::SetText(std::string_view text) {
  CGridCell::SetText(text);
  SyncFlag(m_checked, text);
}

std::string CGridCellCheck::GetDisplayText() const {
  std::string text = GetText();
  return (text == "0" || text == "1") ? std::string() : text;
}

void CGridCellCheck::ToggleByUser(const CellId& cell) {
  CGridCtrl* grid = GetGrid();
  if (!grid || !grid->IsCellEditable(cell.row, cell.col)) return;
  const bool old = m_checked;
  const std::string oldText = GetText();
  const std::string newText = old ? "0" : "1";
  grid->OnEditorClosed(cell.row, cell.col, ' ', [&] {
    grid->CommitCellChange(
        cell.row, cell.col,
        [&] {
          m_checked = !old;
          m_text.assign(newText);
          return true;
        },
        [&] {
          m_checked = old;
          m_text.assign(oldText);
        },
        &newText);
  });
}

void CGridCellCheck::OnClick(const CellId& cell, const QPoint& point) {
  CGridCtrl* grid = GetGrid();
  QRect rect;
  if (!grid || !grid->GetCellRect(cell.row, cell.col, rect)) return;
  if (CheckArea(QRect(QPoint(0, 0), rect.size())).contains(point)) ToggleByUser(cell);
}

bool CGridCellCheck::Draw(QPainter& painter, int row, int col, const QRect& rect, bool erase) {
  const QColor fg = DrawBackground(painter, row, col, rect, erase);
  CGridCtrl* grid = GetGrid();
  QStyleOptionButton opt;
  opt.rect = CheckArea(rect);
  opt.state = QStyle::State_Enabled | (m_checked ? QStyle::State_On : QStyle::State_Off);
  if (grid) opt.palette = grid->palette();
  QStyle* style = grid ? grid->style() : QApplication::style();
  style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &painter, grid);
  DrawContent(painter, row, col, GetTextRect(rect), fg);
  return true;
}

QRect CGridCellCheck::GetTextRect(const QRect& rect) const {
  QRect text = rect;
  text.setLeft(CheckArea(rect).right() + 1);
  return text;
}

QSize CGridCellCheck::GetCellExtent() const {
  QSize size = CGridCell::GetCellExtent();
  const QWidget* widget = GetGrid();
  const QStyle* style = widget ? widget->style() : QApplication::style();
  size.rwidth() += style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget) + GetMargin();
  return size;
}

bool CGridCellCheck::Edit(int, int, const QRect&, const QPoint&, int, int) {
  return false;
}
