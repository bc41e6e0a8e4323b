// Keyboard, mouse, wheel, the auto-scroll timer, the title tip and drag and drop.
#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "grid/GridCellCheck.h"
#include "grid/GridCtrl.h"
#include "grid/TitleTip.h"

namespace {

bool IsTypedCharacter(const QKeyEvent* e) {
  const QString text = e->text();
  return text.size() == 1 && text.at(0).isPrint();
}

}  // namespace

// ---------------------------------------------------------------- keyboard

bool CGridCtrl::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    const bool tab = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
    if (tab && m_bHandleTabKey && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      HideTitleTip();
      const bool forward = ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier);
      // At the very end the key is passed on and the focus leaves the grid.
      if (IsValid(m_idCurrentCell) && HandleTab(forward)) {
        ke->accept();
        return true;
      }
    }
  }
  return QAbstractScrollArea::event(e);
}

bool CGridCtrl::HandleTab(bool forward) {
  const CellId current = m_idCurrentCell;
  if (!IsValid(current)) return false;
  CellId next = current;
  if (forward) {
    const int col = NextVisibleCol(current.col, 1);
    if (col >= 0) {
      next.col = col;
    } else {
      const int row = NextVisibleRow(current.row, 1);
      const int first = NextVisibleCol(m_nFixedCols - 1, 1);
      if (row < 0 || first < 0) return false;
      next = CellId(row, first);
    }
  } else {
    const int col = NextVisibleCol(current.col, -1);
    if (col >= m_nFixedCols) {
      next.col = col;
    } else {
      const int row = NextVisibleRow(current.row, -1);
      const int last = NextVisibleCol(GetColumnCount(), -1);
      if (row < m_nFixedRows || last < m_nFixedCols) return false;
      next = CellId(row, last);
    }
  }
  MoveFocusTo(next.row, next.col, false);
  return true;
}

void CGridCtrl::HandleNavigationKey(int key, Qt::KeyboardModifiers mods) {
  const CellId current = m_idCurrentCell;
  if (!IsValid(current)) return;
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  CellId next = current;
  const int firstRow = NextVisibleRow(m_nFixedRows - 1, 1);
  const int lastRow = NextVisibleRow(GetRowCount(), -1);
  const int firstCol = NextVisibleCol(m_nFixedCols - 1, 1);
  const int lastCol = NextVisibleCol(GetColumnCount(), -1);
  switch (key) {
    case Qt::Key_Right: {
      const int col = NextVisibleCol(current.col, 1);
      if (col >= 0) next.col = col;
      break;
    }
    case Qt::Key_Left: {
      const int col = NextVisibleCol(current.col, -1);
      if (col >= m_nFixedCols) next.col = col;
      break;
    }
    case Qt::Key_Down: {
      const int row = NextVisibleRow(current.row, 1);
      if (row >= 0) next.row = row;
      break;
    }
    case Qt::Key_Up: {
      const int row = NextVisibleRow(current.row, -1);
      if (row >= m_nFixedRows) next.row = row;
      break;
    }
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
      const bool down = key == Qt::Key_PageDown;
      const int oldTop = m_nTopRow;
      const int page = std::max(1, LastFullyVisibleRow() - m_nTopRow + 1);
      SetTopRow(down ? m_nTopRow + page : std::max(m_nFixedRows, m_nTopRow - page));
      const int moved = m_nTopRow - oldTop;
      if (moved == 0) {
        next.row = down ? lastRow : firstRow;
      } else {
        int row = std::clamp(current.row + moved, m_nFixedRows, GetRowCount() - 1);
        if (m_rowHeights[static_cast<std::size_t>(row)] == 0) {
          const int visible = NextVisibleRow(row, down ? 1 : -1);
          row = visible >= m_nFixedRows ? visible : NextVisibleRow(row, down ? -1 : 1);
        }
        if (row >= m_nFixedRows) next.row = row;
      }
      break;
    }
    case Qt::Key_Home:
      horizontalScrollBar()->setValue(0);
      if (firstCol >= 0) next.col = firstCol;
      if (ctrl && firstRow >= 0) next.row = firstRow;
      break;
    case Qt::Key_End:
      horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
      if (lastCol >= m_nFixedCols) next.col = lastCol;
      if (ctrl && lastRow >= m_nFixedRows) next.row = lastRow;
      break;
    default:
      return;
  }
  if (next.row < 0 || next.col < 0) return;
  if (next != current) MoveFocusTo(next.row, next.col, shift);
}

void CGridCtrl::keyPressEvent(QKeyEvent* e) {
  HideTitleTip();
  if (!IsValid(m_idCurrentCell)) {
    QAbstractScrollArea::keyPressEvent(e);
    return;
  }
  const int key = e->key();
  const Qt::KeyboardModifiers mods = e->modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  if (ctrl && (key == Qt::Key_C || key == Qt::Key_Insert)) {
    CopyToClipboard();
  } else if (ctrl && key == Qt::Key_X) {
    CutToClipboard();
  } else if (ctrl && key == Qt::Key_V) {
    PasteFromClipboard();
  } else if (ctrl && key == Qt::Key_A) {
    SelectAllCommand();
  } else if (shift && key == Qt::Key_Insert) {
    PasteFromClipboard();
  } else if (key == Qt::Key_Delete) {
    ClearSelectedCells();
  } else if (key == Qt::Key_F2) {
    StartEdit(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(-1, -1), Qt::Key_F2);
  } else if (key == Qt::Key_Right || key == Qt::Key_Left || key == Qt::Key_Down || key == Qt::Key_Up ||
             key == Qt::Key_PageDown || key == Qt::Key_PageUp || key == Qt::Key_Home || key == Qt::Key_End) {
    HandleNavigationKey(key, mods);
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    OnChar(Qt::Key_Return);
  } else if (key == Qt::Key_Backspace) {
    OnChar(Qt::Key_Backspace);
  } else if (key == Qt::Key_Escape) {
    e->ignore();  // dialogs close on it
    return;
  } else if (!ctrl && !(mods & Qt::AltModifier) && IsTypedCharacter(e)) {
    OnChar(e->text().at(0).unicode());
  } else {
    QAbstractScrollArea::keyPressEvent(e);
    return;
  }
  e->accept();
}

void CGridCtrl::OnChar(int key) {
  const CellId focus = m_idCurrentCell;
  if (!IsValid(focus)) return;
  if (GetCellClass(focus.row, focus.col) == &CGridCellCheck::ClassInfo() && (key == Qt::Key_Return || key == ' ')) {
    static_cast<CGridCellCheck*>(GetCell(focus.row, focus.col))->ToggleByUser(focus);
    return;
  }
  const bool selecting = m_MouseMode == MouseMode::SelectCells || m_MouseMode == MouseMode::SelectRow ||
                         m_MouseMode == MouseMode::SelectCol || m_MouseMode == MouseMode::SelectAll;
  if (selecting || key == Qt::Key_Escape || (key == Qt::Key_Tab && m_bHandleTabKey)) return;
  StartEdit(focus.row, focus.col, QPoint(-1, -1), key);
}

// ---------------------------------------------------------------- mouse

int CGridCtrl::ColumnBorderAt(const QPoint& point) const {
  if (point.y() >= GetFixedRowHeight()) return -1;
  const int cols = GetColumnCount();
  // The nearest border wins; a hidden column's border belongs to the nearest visible one at
  // its left.
  int best = -1, bestDistance = m_nResizeCaptureRange + 1;
  for (int col = 0; col < cols; ++col) {
    const int w = m_colWidths[static_cast<std::size_t>(col)];
    if (w <= 0) continue;
    const int right = ColumnLeft(col) + w;
    if (col >= m_nFixedCols && right <= GetFixedColumnWidth()) continue;
    const int distance = std::abs(point.x() - right);
    if (distance <= m_nResizeCaptureRange && distance < bestDistance) {
      best = col;
      bestDistance = distance;
    }
  }
  return best;
}

int CGridCtrl::RowBorderAt(const QPoint& point) const {
  if (point.x() >= GetFixedColumnWidth()) return -1;
  int best = -1, bestDistance = m_nResizeCaptureRange + 1;
  int y = 0;
  auto consider = [&](int row) {
    const int h = m_rowHeights[static_cast<std::size_t>(row)];
    if (h <= 0) return;
    y += h;
    const int distance = std::abs(point.y() - y);
    if (distance <= m_nResizeCaptureRange && distance < bestDistance) {
      best = row;
      bestDistance = distance;
    }
  };
  for (int row = 0; row < m_nFixedRows; ++row) consider(row);
  for (int row = m_nTopRow; row < GetRowCount() && y <= ViewHeight(); ++row) consider(row);
  return best;
}

void CGridCtrl::mousePressEvent(QMouseEvent* e) {
  HideTitleTip();
  if (e->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(e);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  const QPoint point = e->position().toPoint();
  m_LeftClickDownPoint = m_LastMousePoint = point;
  m_LeftClickDownCell = GetCellFromPt(point);
  m_MouseMode = MouseMode::Nothing;

  if (m_bAllowColumnResize) {
    const int col = ColumnBorderAt(point);
    if (col >= 0) {
      m_MouseMode = MouseMode::SizingColumn;
      m_resizeIndex = col;
      viewport()->setCursor(Qt::SplitHCursor);
      return;
    }
  }
  if (m_bAllowRowResize) {
    const int row = RowBorderAt(point);
    if (row >= 0) {
      m_MouseMode = MouseMode::SizingRow;
      m_resizeIndex = row;
      viewport()->setCursor(Qt::SplitVCursor);
      return;
    }
  }
  const CellId cell = m_LeftClickDownCell;
  if (!IsValid(cell)) return;
  QRect rect;
  if (GetCellRect(cell.row, cell.col, rect)) CellForRead(cell.row, cell.col)->OnClickDown(cell, point - rect.topLeft());

  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  if (cell == m_idCurrentCell && !ctrl && !shift && IsCellEditable(cell.row, cell.col)) {
    m_MouseMode = MouseMode::PrepareEdit;
    return;
  }
  if (m_bAllowDragAndDrop && !ctrl && !shift && IsCellSelected(cell.row, cell.col) &&
      !IsCellFixed(cell.row, cell.col)) {
    m_MouseMode = MouseMode::PrepareDrag;
    return;
  }

  m_bCtrlSelecting = ctrl && m_bEnableSelection && !m_bSingleRowSelection;
  m_prevSelection = m_bCtrlSelecting ? m_selection : GridSelection();
  const bool fixedRow = cell.row < m_nFixedRows, fixedCol = cell.col < m_nFixedCols;
  SendNotify(kNotifySelChanging, cell.row, cell.col);
  if (fixedRow && fixedCol) {
    m_MouseMode = MouseMode::SelectAll;
    SelectAllCells();
  } else if (fixedRow) {
    if (m_bSortOnClick) {
      const bool ascending = cell.col == m_nSortColumn ? !m_bSortAscending : true;
      SortTextItems(cell.col, ascending);
    }
    if (m_bFixedRowSelection && !m_bRowMode) {
      m_MouseMode = MouseMode::SelectCol;
      if (!shift || m_SelectionStartCell.col < m_nFixedCols) m_SelectionStartCell = CellId(m_nFixedRows, cell.col);
      SelectColumns(cell);
      const int row = IsValid(m_idCurrentCell) ? m_idCurrentCell.row : m_nFixedRows;
      SetFocusCell(row, cell.col);
    }
  } else if (fixedCol) {
    if (m_bFixedColumnSelection) {
      m_MouseMode = MouseMode::SelectRow;
      if (!shift || m_SelectionStartCell.row < m_nFixedRows) m_SelectionStartCell = CellId(cell.row, m_nFixedCols);
      SelectRows(cell);
      const int col = IsValid(m_idCurrentCell) ? m_idCurrentCell.col : m_nFixedCols;
      SetFocusCell(cell.row, col);
    }
  } else {
    m_MouseMode = m_bRowMode ? MouseMode::SelectRow : MouseMode::SelectCells;
    if (!shift || !IsValid(m_SelectionStartCell)) m_SelectionStartCell = cell;
    OnSelecting(cell);
    SetFocusCell(cell);
  }
  SendNotify(kNotifySelChanged, cell.row, cell.col);
  StartAutoScroll();
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* e) {
  const QPoint point = e->position().toPoint();
  if (!(e->buttons() & Qt::LeftButton)) {
    if (m_MouseMode != MouseMode::Nothing) return;
    const bool colBorder = m_bAllowColumnResize && ColumnBorderAt(point) >= 0;
    const bool rowBorder = !colBorder && m_bAllowRowResize && RowBorderAt(point) >= 0;
    if (colBorder)
      viewport()->setCursor(Qt::SplitHCursor);
    else if (rowBorder)
      viewport()->setCursor(Qt::SplitVCursor);
    else
      viewport()->unsetCursor();
    UpdateTitleTip(point);
    return;
  }
  m_LastMousePoint = point;
  switch (m_MouseMode) {
    case MouseMode::SizingColumn: {
      // A column never becomes narrower than the grab distance.
      const int width = std::max(m_nResizeCaptureRange, point.x() - ColumnLeft(m_resizeIndex));
      SetColumnWidth(m_resizeIndex, width);
      break;
    }
    case MouseMode::SizingRow: {
      int top = 0;
      if (m_resizeIndex < m_nFixedRows) {
        for (int r = 0; r < m_resizeIndex; ++r) top += m_rowHeights[static_cast<std::size_t>(r)];
      } else {
        top = GetFixedRowHeight();
        for (int r = m_nTopRow; r < m_resizeIndex; ++r) top += m_rowHeights[static_cast<std::size_t>(r)];
      }
      SetRowHeight(m_resizeIndex, std::max(m_nResizeCaptureRange, point.y() - top));
      break;
    }
    case MouseMode::PrepareEdit:
    case MouseMode::PrepareDrag:
      if ((point - m_LeftClickDownPoint).manhattanLength() >= QApplication::startDragDistance()) {
        if (m_MouseMode == MouseMode::PrepareDrag) {
          m_MouseMode = MouseMode::Nothing;
          StartDrag();
        } else {
          // Dragging from the focus cell selects instead of editing.
          m_MouseMode = m_bRowMode ? MouseMode::SelectRow : MouseMode::SelectCells;
          m_SelectionStartCell = m_LeftClickDownCell;
          StartAutoScroll();
        }
      }
      break;
    case MouseMode::SelectAll:
    case MouseMode::SelectCol:
    case MouseMode::SelectRow:
    case MouseMode::SelectCells: {
      // Over the fixed rows or columns the selection reaches the first scrolled cell.
      const QPoint clamped(std::max(point.x(), m_MouseMode == MouseMode::SelectRow ? point.x() : GetFixedColumnWidth()),
                           std::max(point.y(), m_MouseMode == MouseMode::SelectCol ? point.y() : GetFixedRowHeight()));
      const CellId cell = GetCellFromPt(clamped);
      if (!IsValid(cell) || cell == m_idCurrentCell) break;
      OnSelecting(cell);
      if (m_MouseMode == MouseMode::SelectCells || m_MouseMode == MouseMode::SelectRow) SetFocusCell(cell);
      break;
    }
    case MouseMode::Nothing:
      break;
  }
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint point = e->position().toPoint();
  if (e->button() == Qt::RightButton) {
    const CellId cell = GetCellFromPt(point);
    SendNotify(kNotifyRightClick, cell.row, cell.col);
    return;
  }
  if (e->button() != Qt::LeftButton) {
    QAbstractScrollArea::mouseReleaseEvent(e);
    return;
  }
  StopAutoScroll();
  const MouseMode mode = m_MouseMode;
  m_MouseMode = MouseMode::Nothing;
  m_bCtrlSelecting = false;
  m_prevSelection.Clear();
  if (mode == MouseMode::SizingColumn || mode == MouseMode::SizingRow) {
    viewport()->unsetCursor();
    m_resizeIndex = -1;
    ResetScrollBars();
  } else {
    const CellId down = m_LeftClickDownCell;
    const CellId cell = GetCellFromPt(point);
    QRect rect;
    if (IsValid(cell) && GetCellRect(cell.row, cell.col, rect))
      CellForRead(cell.row, cell.col)->OnClick(cell, point - rect.topLeft());
    if (mode == MouseMode::PrepareEdit && cell == down) {
      StartEdit(cell.row, cell.col, point, kEditKeyMouse);
    } else if (IsValid(down)) {
      SendNotify(kNotifyClick, down.row, down.col);
    }
  }
  const int id = m_id;
  QMetaObject::invokeMethod(
      this, [this, id] { emit Command(id); }, Qt::QueuedConnection);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const QPoint point = e->position().toPoint();
  StopAutoScroll();
  m_MouseMode = MouseMode::Nothing;
  if (m_bAllowColumnResize) {
    const int col = ColumnBorderAt(point);
    if (col >= 0) {
      AutoSizeColumn(col);
      return;
    }
  }
  if (m_bAllowRowResize) {
    const int row = RowBorderAt(point);
    if (row >= 0) {
      AutoSizeRow(row);
      return;
    }
  }
  const CellId cell = GetCellFromPt(point);
  if (!IsValid(cell)) return;
  if (!IsCellFixed(cell.row, cell.col) && IsCellEditable(cell.row, cell.col))
    StartEdit(cell.row, cell.col, point, kEditKeyMouse);
  SendNotify(kNotifyDoubleClick, cell.row, cell.col);
}

void CGridCtrl::wheelEvent(QWheelEvent* e) {
  HideTitleTip();
  m_wheelRemainder += e->angleDelta().y();
  const int notches = m_wheelRemainder / 120;
  m_wheelRemainder %= 120;
  if (notches != 0) {
    if (m_nRowsPerWheelNotch == -1) {
      const int page = std::max(1, LastFullyVisibleRow() - m_nTopRow + 1);
      ScrollRows(-notches * page);
    } else {
      ScrollRows(-notches * m_nRowsPerWheelNotch);
    }
  }
  if (e->angleDelta().x() != 0) {
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(bar->value() - e->angleDelta().x() / 120 * bar->singleStep());
  }
  e->accept();
}

// ---------------------------------------------------------------- auto-scroll

void CGridCtrl::StartAutoScroll() {
  m_autoScrollTimer.start(m_nAutoScrollPeriod, this);
}

void CGridCtrl::StopAutoScroll() {
  m_autoScrollTimer.stop();
}

void CGridCtrl::timerEvent(QTimerEvent* e) {
  if (e->timerId() == m_autoScrollTimer.timerId())
    OnAutoScrollTick();
  else
    QAbstractScrollArea::timerEvent(e);
}

void CGridCtrl::OnAutoScrollTick() {
  if (m_MouseMode != MouseMode::SelectCells && m_MouseMode != MouseMode::SelectRow &&
      m_MouseMode != MouseMode::SelectCol && m_MouseMode != MouseMode::SelectAll) {
    return;
  }
  // One row or column per tick while the mouse is outside the cell area.
  const QPoint p = m_LastMousePoint;
  QPoint inside(std::max(p.x(), GetFixedColumnWidth()), std::max(p.y(), GetFixedRowHeight()));
  bool scrolled = false;
  if (p.y() >= ViewHeight()) {
    ScrollRows(1);
    inside.setY(ViewHeight() - 1);
    scrolled = true;
  } else if (p.y() < GetFixedRowHeight() && m_nTopRow > m_nFixedRows) {
    ScrollRows(-1);
    inside.setY(GetFixedRowHeight());
    scrolled = true;
  }
  QScrollBar* hbar = horizontalScrollBar();
  if (p.x() >= ViewWidth()) {
    const CellId first = GetCellFromPt(QPoint(GetFixedColumnWidth(), GetFixedRowHeight()));
    hbar->setValue(hbar->value() + std::max(1, first.col >= 0 ? GetColumnWidth(first.col) : hbar->singleStep()));
    inside.setX(ViewWidth() - 1);
    scrolled = true;
  } else if (p.x() < GetFixedColumnWidth() && hbar->value() > 0) {
    hbar->setValue(hbar->value() - hbar->singleStep());
    inside.setX(GetFixedColumnWidth());
    scrolled = true;
  }
  if (!scrolled) return;
  CellId cell = GetCellFromPt(inside);
  if (!IsValid(cell)) return;
  if (m_MouseMode == MouseMode::SelectCells || m_MouseMode == MouseMode::SelectRow) {
    // The last fully shown row, so the selection never ends on a half-visible one.
    const int last = LastFullyVisibleRow();
    if (p.y() >= ViewHeight() && last >= m_nFixedRows) cell.row = last;
    OnSelecting(cell);
    SetFocusCell(cell);
  } else {
    OnSelecting(cell);
  }
}

// ---------------------------------------------------------------- focus, title tip

void CGridCtrl::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  viewport()->update();
}

void CGridCtrl::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  HideTitleTip();
  viewport()->update();
}

bool CGridCtrl::viewportEvent(QEvent* e) {
  if (e->type() == QEvent::Leave) HideTitleTip();
  return QAbstractScrollArea::viewportEvent(e);
}

void CGridCtrl::HideTitleTip() {
  m_titleTipCell = CellId();
  if (m_titleTip) m_titleTip->hide();
}

void CGridCtrl::UpdateTitleTip(const QPoint& point) {
  const CellId cell = GetCellFromPt(point);
  if (cell == m_titleTipCell) return;
  HideTitleTip();
  if (!m_bTitleTips || !IsValid(cell) || m_pEditor || !QApplication::activeWindow()) return;
  QRect rect;
  if (!GetCellRect(cell.row, cell.col, rect)) return;
  const CGridCellBase* c = CellForRead(cell.row, cell.col);
  const std::string text = c->GetText();
  if (text.empty()) return;
  const QRect textRect = c->GetTextRect(rect);
  if (c->GetCellExtent().width() - (rect.width() - textRect.width()) <= textRect.width()) return;
  if (!m_titleTip) m_titleTip = new TitleTip(this);
  m_titleTipCell = cell;
  m_titleTip->Show(viewport()->mapToGlobal(textRect.topLeft()), textRect.height(), QString::fromStdString(text),
                   c->GetFont());
}

// ---------------------------------------------------------------- drag and drop

void CGridCtrl::StartDrag() {
  const CellId cell = m_LeftClickDownCell;
  SendNotify(kNotifyBeginDrag, cell.row, cell.col);
  auto* data = new QMimeData;
  data->setText(QString::fromStdString(BuildSelectionText()));
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
  if (action == Qt::MoveAction && IsEditable()) ClearSelectedCells();
}

void CGridCtrl::dragEnterEvent(QDragEnterEvent* e) {
  if (m_bAllowDragAndDrop && m_bEditable && e->mimeData()->hasText())
    e->acceptProposedAction();
  else
    e->ignore();
}

void CGridCtrl::dragMoveEvent(QDragMoveEvent* e) {
  const CellId cell = GetCellFromPt(e->position().toPoint());
  const bool ok = m_bAllowDragAndDrop && e->mimeData()->hasText() && IsValid(cell) &&
                  !IsCellFixed(cell.row, cell.col) && IsCellEditable(cell.row, cell.col);
  if (cell != m_dropTarget) {
    m_dropTarget = ok ? cell : CellId();
    viewport()->update();
  }
  if (ok)
    e->acceptProposedAction();
  else
    e->ignore();
}

void CGridCtrl::dragLeaveEvent(QDragLeaveEvent*) {
  m_dropTarget = CellId();
  viewport()->update();
}

void CGridCtrl::dropEvent(QDropEvent* e) {
  const CellId cell = GetCellFromPt(e->position().toPoint());
  m_dropTarget = CellId();
  if (m_bAllowDragAndDrop && e->mimeData()->hasText() && IsValid(cell) && !IsCellFixed(cell.row, cell.col) &&
      PasteText(cell, e->mimeData()->text().toStdString(), true)) {
    e->acceptProposedAction();
  } else {
    e->ignore();
  }
  viewport()->update();
}
