#include "grid/GridCellTextWithButton.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "grid/GridCtrl.h"
#include "grid/InPlaceEdit.h"

GRID_CELL_IMPLEMENT(CGridCellTextWithButton, CGridCell)

QRect CGridCellTextWithButton::ButtonArea(const QRect& rect) {
  const int extent = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int side = std::min({extent, rect.height(), rect.width()});
  return QRect(rect.left(), rect.top() + (rect.height() - side) / 2, side, side);
}

bool CGridCellTextWithButton::Draw(QPainter& painter, int row, int col, const QRect& rect, bool erase) {
  const QColor fg = DrawBackground(painter, row, col, rect, erase);
  DrawContent(painter, row, col, GetTextRect(rect), fg);
  CGridCtrl* grid = GetGrid();
  QStyleOptionButton opt;
  opt.rect = ButtonArea(rect);
  opt.state = QStyle::State_Raised;
  if (!grid || (grid->IsEditable() && !IsReadOnly())) opt.state |= QStyle::State_Enabled;
  if (grid) opt.palette = grid->palette();
  opt.text = QStringLiteral("…");
  QStyle* style = grid ? grid->style() : QApplication::style();
  style->drawControl(QStyle::CE_PushButton, &opt, &painter, grid);
  return true;
}

QRect CGridCellTextWithButton::GetTextRect(const QRect& rect) const {
  QRect text = rect;
  text.setLeft(ButtonArea(rect).right() + 1);
  return text;
}

QSize CGridCellTextWithButton::GetCellExtent() const {
  QSize size = CGridCell::GetCellExtent();
  size.rwidth() += QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return size;
}

bool CGridCellTextWithButton::CanEdit(const QRect& rect, const QPoint& point, int key) const {
  // A click on the button is the button's, not the editor's.
  return !(key == kEditKeyMouse && ButtonArea(rect).contains(point));
}

bool CGridCellTextWithButton::Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) {
  if (!CanEdit(rect, point, key)) return false;
  return CGridCell::Edit(row, col, GetTextRect(rect), point, id, key);
}

void CGridCellTextWithButton::OnClick(const CellId& cell, const QPoint& point) {
  CGridCtrl* grid = GetGrid();
  QRect rect;
  if (!grid || !grid->GetCellRect(cell.row, cell.col, rect)) return;
  if (!ButtonArea(QRect(QPoint(0, 0), rect.size())).contains(point)) return;
  if (!grid->IsCellEditable(cell.row, cell.col)) return;
  if (grid->SendNotify(kNotifyBeginEdit, cell.row, cell.col) < 0) return;
  grid->SendNotify(kNotifyEndEdit, cell.row, cell.col);
}
