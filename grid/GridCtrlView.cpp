// Geometry, scrolling and painting. Everything here walks only the rows and columns on screen.
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "grid/GridColour.h"
#include "grid/GridCtrl.h"

int CGridCtrl::ViewHeight() const {
  return viewport()->height();
}

int CGridCtrl::ViewWidth() const {
  return viewport()->width();
}

int CGridCtrl::GetLeftOffset() const {
  return horizontalScrollBar()->value();
}

int CGridCtrl::NextVisibleRow(int row, int step) const {
  for (int r = row + step; r >= 0 && r < GetRowCount(); r += step)
    if (m_rowHeights[static_cast<std::size_t>(r)] > 0) return r;
  return -1;
}

int CGridCtrl::NextVisibleCol(int col, int step) const {
  for (int c = col + step; c >= 0 && c < GetColumnCount(); c += step)
    if (m_colWidths[static_cast<std::size_t>(c)] > 0) return c;
  return -1;
}

int CGridCtrl::ColumnLeft(int col) const {
  int x = 0;
  for (int c = 0; c < col && c < m_nFixedCols; ++c) x += m_colWidths[static_cast<std::size_t>(c)];
  if (col < m_nFixedCols) return x;
  x -= GetLeftOffset();
  for (int c = m_nFixedCols; c < col; ++c) x += m_colWidths[static_cast<std::size_t>(c)];
  return x;
}

int CGridCtrl::MaxTopRow() const {
  const int rows = GetRowCount();
  if (rows <= m_nFixedRows) return m_nFixedRows;
  const int room = ViewHeight() - GetFixedRowHeight();
  int used = 0;
  int top = rows;
  for (int row = rows - 1; row >= m_nFixedRows; --row) {
    const int h = m_rowHeights[static_cast<std::size_t>(row)];
    if (used + h > room) break;
    used += h;
    top = row;
  }
  if (top == rows) top = rows - 1;  // the last row alone is taller than the view
  return std::max(top, m_nFixedRows);
}

int CGridCtrl::BottomRow() const {
  if (m_bottomRowCache != -2) return m_bottomRowCache;
  int y = GetFixedRowHeight();
  int last = -1;
  const int h = ViewHeight();
  for (int row = m_nTopRow; row < GetRowCount() && y < h; ++row) {
    y += m_rowHeights[static_cast<std::size_t>(row)];
    last = row;
  }
  m_bottomRowCache = last;
  return last;
}

bool CGridCtrl::RowMayBeOnScreen(int row) const {
  return row < m_nFixedRows || (row >= m_nTopRow && row <= BottomRow());
}

int CGridCtrl::LastFullyVisibleRow() const {
  int y = GetFixedRowHeight();
  int last = -1;
  const int h = ViewHeight();
  for (int row = m_nTopRow; row < GetRowCount(); ++row) {
    y += m_rowHeights[static_cast<std::size_t>(row)];
    if (y > h) break;
    last = row;
  }
  return last;
}

void CGridCtrl::ResetScrollBars() {
  QScrollBar* vbar = verticalScrollBar();
  const int maxTop = MaxTopRow();
  if (m_nTopRow > maxTop) m_nTopRow = maxTop;
  if (m_nTopRow < m_nFixedRows) m_nTopRow = m_nFixedRows;
  {
    const QSignalBlocker block(vbar);
    vbar->setRange(0, std::max(0, maxTop - m_nFixedRows));
    int visible = 0;
    int y = GetFixedRowHeight();
    for (int row = m_nTopRow; row < GetRowCount() && y < ViewHeight(); ++row, ++visible)
      y += m_rowHeights[static_cast<std::size_t>(row)];
    vbar->setPageStep(std::max(1, visible - 1));
    vbar->setValue(m_nTopRow - m_nFixedRows);
  }
  QScrollBar* hbar = horizontalScrollBar();
  long long scrollable = 0;
  for (int col = m_nFixedCols; col < GetColumnCount(); ++col) scrollable += m_colWidths[static_cast<std::size_t>(col)];
  const int room = ViewWidth() - GetFixedColumnWidth();
  const long long maxOffset = std::max<long long>(0, scrollable - std::max(room, 0));
  hbar->setRange(0, static_cast<int>(std::min<long long>(maxOffset, INT_MAX)));
  hbar->setPageStep(std::max(1, room));
  m_bottomRowCache = -2;
}

void CGridCtrl::SetTopRow(int row) {
  row = std::clamp(row, m_nFixedRows, std::max(m_nFixedRows, MaxTopRow()));
  if (row == m_nTopRow) return;
  m_nTopRow = row;
  m_bottomRowCache = -2;
  {
    const QSignalBlocker block(verticalScrollBar());
    verticalScrollBar()->setValue(row - m_nFixedRows);
  }
  HideTitleTip();
  viewport()->update();
}

void CGridCtrl::ScrollRows(int delta) {
  int row = m_nTopRow;
  const int step = delta < 0 ? -1 : 1;
  for (int i = 0; i < std::abs(delta); ++i) {
    const int next = NextVisibleRow(row, step);
    if (next < m_nFixedRows) break;
    row = next;
  }
  SetTopRow(row);
}

void CGridCtrl::scrollContentsBy(int, int) {
  const int top = m_nFixedRows + verticalScrollBar()->value();
  if (top != m_nTopRow) {
    m_nTopRow = top;
    m_bottomRowCache = -2;
  }
  HideTitleTip();
  if (m_pEditor) StopEdit();
  viewport()->update();
}

void CGridCtrl::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  m_bottomRowCache = -2;
  ResetScrollBars();
}

bool CGridCtrl::GetCellRect(int row, int col, QRect& rect) const {
  if (!IsValid(row, col)) return false;
  const int h = m_rowHeights[static_cast<std::size_t>(row)];
  const int w = m_colWidths[static_cast<std::size_t>(col)];
  if (h <= 0 || w <= 0) return false;
  int y = 0;
  if (row < m_nFixedRows) {
    for (int r = 0; r < row; ++r) y += m_rowHeights[static_cast<std::size_t>(r)];
  } else {
    if (row < m_nTopRow) return false;
    y = GetFixedRowHeight();
    for (int r = m_nTopRow; r < row; ++r) {
      y += m_rowHeights[static_cast<std::size_t>(r)];
      if (y >= ViewHeight()) return false;
    }
  }
  if (y >= ViewHeight()) return false;
  const int x = ColumnLeft(col);
  if (x >= ViewWidth()) return false;
  if (col >= m_nFixedCols && x + w <= GetFixedColumnWidth()) return false;
  const int line = m_nGridLines == kGridLinesNone ? 0 : 1;
  rect = QRect(x, y, std::max(1, w - line), std::max(1, h - line));
  return true;
}

bool CGridCtrl::IsCellVisible(int row, int col) const {
  QRect rect;
  return GetCellRect(row, col, rect);
}

CellId CGridCtrl::GetCellFromPt(const QPoint& point) const {
  if (point.x() < 0 || point.y() < 0 || point.x() >= ViewWidth() || point.y() >= ViewHeight()) return {};
  int row = -1;
  const int fixedHeight = GetFixedRowHeight();
  if (point.y() < fixedHeight) {
    int y = 0;
    for (int r = 0; r < m_nFixedRows; ++r) {
      y += m_rowHeights[static_cast<std::size_t>(r)];
      if (point.y() < y) {
        row = r;
        break;
      }
    }
  } else {
    int y = fixedHeight;
    for (int r = m_nTopRow; r < GetRowCount() && y <= point.y(); ++r) {
      y += m_rowHeights[static_cast<std::size_t>(r)];
      if (point.y() < y) {
        row = r;
        break;
      }
    }
  }
  int col = -1;
  const int fixedWidth = GetFixedColumnWidth();
  if (point.x() < fixedWidth) {
    int x = 0;
    for (int c = 0; c < m_nFixedCols; ++c) {
      x += m_colWidths[static_cast<std::size_t>(c)];
      if (point.x() < x) {
        col = c;
        break;
      }
    }
  } else {
    int x = fixedWidth - GetLeftOffset();
    for (int c = m_nFixedCols; c < GetColumnCount(); ++c) {
      x += m_colWidths[static_cast<std::size_t>(c)];
      if (point.x() < x) {
        col = c;
        break;
      }
    }
  }
  if (row < 0 || col < 0) return {};
  return {row, col};
}

void CGridCtrl::EnsureVisible(int row, int col) {
  if (!IsValid(row, col)) return;
  if (row >= m_nFixedRows && m_rowHeights[static_cast<std::size_t>(row)] > 0) {
    if (row < m_nTopRow) {
      SetTopRow(row);
    } else {
      const int room = ViewHeight() - GetFixedRowHeight();
      int bottom = 0;
      bool below = false;
      for (int r = m_nTopRow; r <= row; ++r) {
        bottom += m_rowHeights[static_cast<std::size_t>(r)];
        if (bottom > room) {
          below = true;
          break;
        }
      }
      if (below) {
        // The top row that shows `row` as the last row on screen.
        int used = m_rowHeights[static_cast<std::size_t>(row)];
        int top = row;
        for (int r = row - 1; r >= m_nFixedRows; --r) {
          const int h = m_rowHeights[static_cast<std::size_t>(r)];
          if (used + h > room) break;
          used += h;
          top = r;
        }
        SetTopRow(top);
      }
    }
  }
  if (col >= m_nFixedCols && m_colWidths[static_cast<std::size_t>(col)] > 0) {
    const int fixedWidth = GetFixedColumnWidth();
    int left = 0;
    for (int c = m_nFixedCols; c < col; ++c) left += m_colWidths[static_cast<std::size_t>(c)];
    const int right = left + m_colWidths[static_cast<std::size_t>(col)];
    const int room = ViewWidth() - fixedWidth;
    int offset = GetLeftOffset();
    if (left < offset)
      offset = left;
    else if (right - offset > room)
      offset = std::min(left, right - room);  // a column wider than the view shows its left part
    horizontalScrollBar()->setValue(offset);
  }
}

CellRange CGridCtrl::GetVisibleNonFixedCellRange() const {
  const int bottom = BottomRow();
  int firstCol = -1, lastCol = -1;
  int x = GetFixedColumnWidth() - GetLeftOffset();
  for (int c = m_nFixedCols; c < GetColumnCount() && x < ViewWidth(); ++c) {
    x += m_colWidths[static_cast<std::size_t>(c)];
    if (x > GetFixedColumnWidth()) {
      if (firstCol < 0) firstCol = c;
      lastCol = c;
    }
  }
  if (bottom < m_nTopRow || firstCol < 0) return {};
  return {m_nTopRow, firstCol, bottom, lastCol};
}

// ---------------------------------------------------------------- painting

void CGridCtrl::paintEvent(QPaintEvent* e) {
  if (!m_bAllowDraw) return;
  QPainter painter(viewport());
  const QRect area = viewport()->rect();
  painter.fillRect(e->rect(), ToQColor(m_crGridBkColour));

  // Rows on screen: the fixed ones, then from the top row down to the bottom of the view.
  struct Span {
    int index, pos, size;
  };
  std::vector<Span> rows, cols;
  int y = 0;
  for (int r = 0; r < m_nFixedRows; ++r) {
    const int h = m_rowHeights[static_cast<std::size_t>(r)];
    if (h > 0) rows.push_back({r, y, h});
    y += h;
  }
  const int fixedHeight = y;
  for (int r = m_nTopRow; r < GetRowCount() && y < area.height(); ++r) {
    const int h = m_rowHeights[static_cast<std::size_t>(r)];
    if (h > 0) rows.push_back({r, y, h});
    y += h;
  }
  const int bottom = y;
  int x = 0;
  for (int c = 0; c < m_nFixedCols; ++c) {
    const int w = m_colWidths[static_cast<std::size_t>(c)];
    if (w > 0) cols.push_back({c, x, w});
    x += w;
  }
  const int fixedWidth = x;
  x -= GetLeftOffset();
  for (int c = m_nFixedCols; c < GetColumnCount() && x < area.width(); ++c) {
    const int w = m_colWidths[static_cast<std::size_t>(c)];
    if (w > 0 && x + w > fixedWidth) cols.push_back({c, x, w});
    x += w;
  }
  const int right = x;

  const int line = m_nGridLines == kGridLinesNone ? 0 : 1;
  const QRect scrollArea(fixedWidth, fixedHeight, area.width() - fixedWidth, area.height() - fixedHeight);
  for (const Span& r : rows) {
    for (const Span& c : cols) {
      const bool fixedRow = r.index < m_nFixedRows, fixedCol = c.index < m_nFixedCols;
      // Scrolled cells never paint over the fixed rows and columns.
      QRect clip = area;
      if (!fixedCol) clip.setLeft(fixedWidth);
      if (!fixedRow) clip.setTop(fixedHeight);
      QRect rect = (fixedRow || fixedCol) ? QRect(c.pos, r.pos, c.size, r.size)
                                          : QRect(c.pos, r.pos, std::max(1, c.size - line), std::max(1, r.size - line));
      const QRect visible = rect.intersected(clip);
      if (visible.isEmpty() || !visible.intersects(e->rect())) continue;
      painter.save();
      painter.setClipRect(visible);
      CellForRead(r.index, c.index)->Draw(painter, r.index, c.index, rect, true);
      painter.restore();
    }
  }

  if (line) {
    // Grid lines along the scrolled cells' right and bottom edges.
    painter.save();
    painter.setClipRect(scrollArea);
    painter.setPen(ToQColor(m_crGridLineColour));
    const int lineRight = std::min(right, area.width()) - 1;
    const int lineBottom = std::min(bottom, area.height()) - 1;
    if (m_nGridLines & kGridLinesHorz)
      for (const Span& r : rows)
        if (r.index >= m_nFixedRows) painter.drawLine(fixedWidth, r.pos + r.size - 1, lineRight, r.pos + r.size - 1);
    if (m_nGridLines & kGridLinesVert)
      for (const Span& c : cols)
        if (c.index >= m_nFixedCols) painter.drawLine(c.pos + c.size - 1, fixedHeight, c.pos + c.size - 1, lineBottom);
    painter.restore();
  }
}

void CGridCtrl::changeEvent(QEvent* e) {
  if (e->type() == QEvent::PaletteChange || e->type() == QEvent::ApplicationPaletteChange) {
    if (m_bGridBkFollowsSystem) m_crGridBkColour = ToColorRef(QApplication::palette().color(QPalette::Dark));
  }
  QAbstractScrollArea::changeEvent(e);
}
