// Auto-sizing, fitting the columns to the window, and sorting rows by a column's text.
#include <QFontMetrics>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <unordered_map>

#include "grid/GridCtrl.h"

namespace {

// Measures the single-line texts of plain cells quickly, exactly:
// - the sum of the characters' advances, with some slack, bounds a text's width from above, so a
//   text whose bound stays below the widest width found so far needs no shaping at all;
// - when the font's digits are all alike (same advance, no kerning with any neighbour), texts
//   that differ only in their digits are equally wide: ids, amounts and dates are shaped once
//   per pattern.
class TextWidthMeasurer {
 public:
  explicit TextWidthMeasurer(const QFont& font) : m_metrics(font), m_exact(font) {
    for (int c = 0; c < 128; ++c)
      m_advance[c] = c < 0x20 ? -1 : m_metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    m_digitsAlike = DigitsAlike(font);
  }
  // The text's width when it may exceed `widest`, else a value not above `widest`.
  int Width(std::string_view text, int widest) {
    long long bound = 0;
    bool digits = false;
    for (unsigned char c : text) {
      if (c >= 128 || m_advance[c] < 0) return Exact(text);
      bound += m_advance[c];
      digits = digits || (c >= '0' && c <= '9');
    }
    if (bound + bound / 32 + 2 < widest) return 0;
    if (!digits || !m_digitsAlike) return Exact(text);
    std::string pattern(text);
    for (char& c : pattern)
      if (c >= '1' && c <= '9') c = '0';
    auto it = m_patterns.find(pattern);
    if (it != m_patterns.end()) return it->second;
    const int width = Exact(pattern);
    if (m_patterns.size() < 100000) m_patterns.emplace(std::move(pattern), width);
    return width;
  }

 private:
  int Exact(std::string_view text) const {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Rounded up: a fraction of a pixel short is enough for the painter to elide the text.
    return static_cast<int>(std::ceil(m_exact.horizontalAdvance(s)));
  }
  static bool DigitsAlike(const QFont& font) {
    const QFontMetricsF f(font);
    const qreal zero = f.horizontalAdvance(QLatin1Char('0'));
    for (char d = '1'; d <= '9'; ++d)
      if (f.horizontalAdvance(QLatin1Char(d)) != zero) return false;
    // Kerning is by pairs: every digit next to every printable character, on both sides.
    for (int c = 0x20; c < 0x7F; ++c) {
      const QChar other(static_cast<char16_t>(c));
      const qreal before = f.horizontalAdvance(QString(other) + QLatin1Char('0'));
      const qreal after = f.horizontalAdvance(QString(QLatin1Char('0')) + other);
      for (char d = '1'; d <= '9'; ++d) {
        if (f.horizontalAdvance(QString(other) + QLatin1Char(d)) != before) return false;
        if (f.horizontalAdvance(QString(QLatin1Char(d)) + other) != after) return false;
      }
    }
    return true;
  }

  QFontMetrics m_metrics;
  QFontMetricsF m_exact;
  int m_advance[128];
  bool m_digitsAlike = false;
  std::unordered_map<std::string, int> m_patterns;
};

}  // namespace

bool CGridCtrl::AutoSizeColumn(int col, int style, bool reset) {
  if (col < 0 || col >= GetColumnCount() || m_colWidths[static_cast<std::size_t>(col)] == 0) return false;
  if (style == kAutoSizeDefault) style = m_nAutoSizeColumnStyle;
  int width = reset ? 0 : m_colWidths[static_cast<std::size_t>(col)];
  const int from = (style & kAutoSizeHeader) ? 0 : m_nFixedRows;
  const int to = (style & kAutoSizeData) ? GetRowCount() : m_nFixedRows;
  // Plain compact cells share few looks (style and fixed flags): one measurer each.
  std::map<std::uint32_t, std::unique_ptr<TextWidthMeasurer>> measurers;
  for (int row = from; row < to; ++row) {
    const CellSlot* slot = Slot(row, col);
    if (slot->IsPlain()) {
      const CGridCell* cell = LoadScratch(*slot);
      if (cell->GetFormat() & DT_SINGLELINE) {
        const std::uint32_t key =
            (static_cast<std::uint32_t>(slot->Style()) << 8) | (slot->State() & kCellFixed ? 0x60 & slot->State() : 0);
        auto& measurer = measurers[key];
        if (!measurer) measurer = std::make_unique<TextWidthMeasurer>(cell->GetFont());
        const int margins = 2 * cell->GetMargin();
        width = std::max(width, measurer->Width(slot->Text(), width - margins) + margins);
        continue;
      }
    }
    width = std::max(width, CellForRead(row, col)->GetCellExtent().width());
  }
  if (from == 0 && m_nFixedRows > 0) width = std::max(width, HeaderExtentWidth(col));
  if (width <= 0) return false;
  // The grid line takes the last pixel of the column.
  if (m_nGridLines & kGridLinesVert) ++width;
  return SetColumnWidth(col, width);
}

int CGridCtrl::HeaderExtentWidth(int col) const {
  if (GetRowCount() == 0 || m_nFixedRows == 0 || col < 0 || col >= GetColumnCount()) return 0;
  const CGridCellBase* header = CellForRead(0, col);
  int width = header->GetCellExtent().width();
  if (col == m_nSortColumn) width += CGridCellBase::SortArrowRoom(header->GetFont(), header->GetMargin());
  return width;
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
    // The store moves the cells; a store whose rows follow a data source cannot.
    if (!m_store->ReorderRows(first, order)) return false;
    std::vector<int> heights(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
      heights[static_cast<std::size_t>(i)] = m_rowHeights[static_cast<std::size_t>(first + i)];
    for (int i = 0; i < count; ++i)
      m_rowHeights.Set(static_cast<std::size_t>(first + i),
                       heights[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])]);
  }
  m_nSortColumn = col;
  m_bSortAscending = ascending;
  m_bottomRowCache = -2;
  ResetScrollBars();
  viewport()->update();
  return true;
}
