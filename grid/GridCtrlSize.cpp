// Auto-sizing, fitting the columns to the window, and sorting rows by a column's text.
#include <QScrollBar>
#include <algorithm>
#include <numeric>

#include "grid/GridCtrl.h"

bool CGridCtrl::AutoSizeColumn(int col, int style, bool reset) {
  if (col < 0 || col >= GetColumnCount() || m_colWidths[static_cast<std::size_t>(col)] == 0) return false;
  if (style == kAutoSizeDefault) style = m_nAutoSizeColumnStyle;
  int width = reset ? 0 : m_colWidths[static_cast<std::size_t>(col)];
  const int from = (style & kAutoSizeHeader) ? 0 : m_nFixedRows;
  const int to = (style & kAutoSizeData) ? GetRowCount() : m_nFixedRows;
  for (int row = from; row < to; ++row) width = std::max(width, CellForRead(row, col)->GetCellExtent().width());
  if (width <= 0) return false;
  // The grid line takes the last pixel of the column.
  if (m_nGridLines & kGridLinesVert) ++width;
  return SetColumnWidth(col, width);
}

bool CGridCtrl::AutoSizeRow(int row, bool reset) {
  if (row < 0 || row >= GetRowCount()) return false;
  int height = reset ? 0 : m_rowHeights[static_cast<std::size_t>(row)];
  for (int col = 0; col < GetColumnCount(); ++col)
    if (m_colWidths[static_cast<std::size_t>(col)] > 0)
      height = std::max(height, CellForRead(row, col)->GetCellExtent().height());
  if (height <= 0) return false;
  if (m_nGridLines & kGridLinesHorz) ++height;
  return SetRowHeight(row, height);
}

void CGridCtrl::AutoSizeColumns(int style) {
  for (int col = 0; col < GetColumnCount(); ++col) AutoSizeColumn(col, style);
}

void CGridCtrl::AutoSizeRows() {
  for (int row = 0; row < GetRowCount(); ++row) AutoSizeRow(row);
}

void CGridCtrl::AutoSize(int style) {
  AutoSizeColumns(style);
  AutoSizeRows();
}

void CGridCtrl::FitColumnsToWidth(bool includeFixed) {
  std::vector<int> columns;
  for (int col = includeFixed ? 0 : m_nFixedCols; col < GetColumnCount(); ++col)
    if (m_colWidths[static_cast<std::size_t>(col)] > 0) columns.push_back(col);
  if (columns.empty()) return;
  const long long free = ViewWidth() - GetVirtualWidth();
  const auto n = static_cast<long long>(columns.size());
  const long long each = free / n;
  long long rest = free % n;  // negative when the columns are too wide
  for (int col : columns) {
    long long width = m_colWidths[static_cast<std::size_t>(col)] + each;
    if (rest > 0) {
      ++width;
      --rest;
    } else if (rest < 0) {
      --width;
      ++rest;
    }
    m_colWidths[static_cast<std::size_t>(col)] = static_cast<int>(std::max<long long>(1, width));
  }
  ResetScrollBars();
  viewport()->update();
}

void CGridCtrl::ExpandLastColumn() {
  int last = -1;
  for (int col = GetColumnCount() - 1; col >= 0; --col)
    if (m_colWidths[static_cast<std::size_t>(col)] != 0) {
      last = col;
      break;
    }
  if (last < 0) return;
  const long long extra = ViewWidth() - GetVirtualWidth();
  if (extra > 0) SetColumnWidth(last, m_colWidths[static_cast<std::size_t>(last)] + static_cast<int>(extra));
}

bool CGridCtrl::SortTextItems(int col, bool ascending) {
  if (col < 0 || col >= GetColumnCount()) return false;
  StopEdit();
  const int first = m_nFixedRows;
  const int count = GetRowCount() - first;
  if (count > 1) {
    std::vector<std::string> keys(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) keys[static_cast<std::size_t>(i)] = GetCellText(first + i, col);
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      const std::string& ka = keys[static_cast<std::size_t>(a)];
      const std::string& kb = keys[static_cast<std::size_t>(b)];
      return ascending ? ka < kb : kb < ka;
    });
    std::vector<std::unique_ptr<CellSlot[]>> rows(static_cast<std::size_t>(count));
    std::vector<int> heights(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      const auto from = static_cast<std::size_t>(first + order[static_cast<std::size_t>(i)]);
      rows[static_cast<std::size_t>(i)] = std::move(m_rows[from]);
      heights[static_cast<std::size_t>(i)] = m_rowHeights[from];
    }
    for (int i = 0; i < count; ++i) {
      m_rows[static_cast<std::size_t>(first + i)] = std::move(rows[static_cast<std::size_t>(i)]);
      m_rowHeights[static_cast<std::size_t>(first + i)] = heights[static_cast<std::size_t>(i)];
    }
  }
  m_nSortColumn = col;
  m_bSortAscending = ascending;
  m_bottomRowCache = -2;
  ResetScrollBars();
  viewport()->update();
  return true;
}
