// Counts, cells and their classes, state, focus and selection rules of the plain grid.
#include <gtest/gtest.h>

#include <QScrollBar>

#include <cmath>

#include "GridTestSupport.h"
#include "grid/GridCellCheck.h"
#include "grid/GridCellInteger.h"

using gridtest::GridWindow;

namespace {

// A class outside the cell family.
const GridCellClass& NotACell() {
  static const GridCellClass info{"CNotACell", nullptr, []() -> CGridCellBase* { return nullptr; }};
  return info;
}

}  // namespace

TEST(GridModel, CountsClampAndMarkFixedCells) {
  GridWindow w(5, 4, 1, 1);
  CGridCtrl& g = *w.grid;
  EXPECT_EQ(g.GetCellState(0, 2) & (kCellFixed | kCellFixedRow), kCellFixed | kCellFixedRow);
  EXPECT_EQ(g.GetCellState(3, 0) & (kCellFixed | kCellFixedCol), kCellFixed | kCellFixedCol);
  EXPECT_EQ(g.GetCellState(3, 3) & kCellFixed, 0u);
  EXPECT_TRUE(g.SetFixedRowCount(2));
  EXPECT_TRUE(g.GetCellState(1, 2) & kCellFixedRow);
  EXPECT_TRUE(g.SetFixedRowCount(7));  // grows the row count
  EXPECT_EQ(g.GetRowCount(), 7);
  EXPECT_TRUE(g.SetRowCount(3));  // fixed count follows down
  EXPECT_EQ(g.GetFixedRowCount(), 3);
  EXPECT_FALSE(g.SetRowCount(-1));
  EXPECT_FALSE(g.SetColumnWidth(9, 10));
  EXPECT_FALSE(g.SetColumnWidth(1, -5));
  EXPECT_FALSE(g.SetRowHeight(0, -1));
  EXPECT_EQ(g.GetColumnWidth(9), -1);
}

TEST(GridModel, FixedCellsReturnToDefaultColoursWhenTheyChangeSides) {
  GridWindow w(4, 3, 1, 0);
  CGridCtrl& g = *w.grid;
  g.SetCellBackColour(2, 1, RGB(1, 2, 3));
  g.SetCellTextColour(2, 1, RGB(4, 5, 6));
  g.SetCellBackColour(3, 1, RGB(1, 2, 3));
  g.SetFixedRowCount(3);
  EXPECT_EQ(g.GetCellBackColour(2, 1), CLR_DEFAULT);
  EXPECT_EQ(g.GetCellTextColour(2, 1), CLR_DEFAULT);
  EXPECT_EQ(g.GetCellBackColour(3, 1), RGB(1, 2, 3)) << "rows that stay as they are keep their colours";
}

TEST(GridModel, OutOfRangeCellOperationsDoNothing) {
  GridWindow w(2, 2, 0, 0);
  CGridCtrl& g = *w.grid;
  EXPECT_FALSE(g.SetCellText(2, 0, "x"));
  EXPECT_FALSE(g.SetCellText(0, -1, "x"));
  EXPECT_EQ(g.GetCellText(5, 5), "");
  EXPECT_EQ(g.GetCell(2, 2), nullptr);
  EXPECT_FALSE(g.SetCellState(-1, 0, kCellReadOnly));
  EXPECT_FALSE(g.SetCellBackColour(0, 2, 0));
  EXPECT_FALSE(g.SetCellType(9, 0, &CGridCellInteger::ClassInfo()));
}

TEST(GridModel, SetCellTypeTakesOverPropertiesAndRefusesForeignClasses) {
  GridWindow w(3, 3, 1, 1);
  CGridCtrl& g = *w.grid;
  g.SetCellText(1, 1, "42");
  g.SetCellBackColour(1, 1, RGB(9, 9, 9));
  g.SetCellState(1, 1, kCellReadOnly);
  g.SetCellData(1, 1, 7);
  ASSERT_TRUE(g.SetCellType(1, 1, &CGridCellInteger::ClassInfo()));
  auto* cell = dynamic_cast<CGridCellInteger*>(g.GetCell(1, 1));
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->GetInteger(), 42);
  EXPECT_EQ(cell->GetBackColour(), RGB(9, 9, 9));
  EXPECT_EQ(cell->GetData(), 7);
  EXPECT_TRUE(g.GetCellState(1, 1) & kCellReadOnly);

  EXPECT_FALSE(g.SetCellType(1, 1, nullptr));
  EXPECT_FALSE(g.SetCellType(1, 1, &NotACell()));
  EXPECT_FALSE(g.SetCellType(1, 1, &CGridCellBase::ClassInfo())) << "abstract";
  EXPECT_EQ(g.GetCellClass(1, 1), &CGridCellInteger::ClassInfo());
  EXPECT_STREQ(g.GetCell(1, 1)->GetClassName(), "CGridCellInteger");

  // Back to plain text: the cell keeps its text and becomes compact again.
  ASSERT_TRUE(g.SetCellType(1, 1, &CGridCell::ClassInfo()));
  EXPECT_EQ(g.GetCellText(1, 1), "42");
  EXPECT_EQ(g.GetCellData(1, 1), 7);
}

TEST(GridModel, ModifiedMarksAndSortIndicatorReset) {
  GridWindow w(4, 4, 1, 1);
  CGridCtrl& g = *w.grid;
  g.SetSortColumn(2);
  g.SetSortAscending(false);
  g.SetCellText(1, 3, "other column");
  EXPECT_EQ(g.GetSortColumn(), 2);
  EXPECT_TRUE(g.GetModified(1, 3));
  g.SetModified(false, 2, 2);  // not modified, but in the sort column
  EXPECT_EQ(g.GetSortColumn(), -1);
  EXPECT_FALSE(g.GetSortAscending()) << "the direction is kept";
  g.SetSortColumn(1);
  g.SetRowCount(6);
  EXPECT_EQ(g.GetSortColumn(), -1) << "a count change marks the whole grid";
  EXPECT_TRUE(g.GetModified());
  g.SetModified(false);
  EXPECT_FALSE(g.GetModified(1, 3));
}

TEST(GridModel, FocusIsNeverFixedAndClearsWithItsRow) {
  GridWindow w(5, 5, 1, 1);
  CGridCtrl& g = *w.grid;
  g.SetFocusCell(0, 0);
  EXPECT_EQ(g.GetFocusCell(), CellId(1, 1));
  const CellId previous = g.SetFocusCell(4, 4);
  EXPECT_EQ(previous, CellId(1, 1));
  EXPECT_TRUE(g.GetCellState(4, 4) & kCellFocused);
  g.SetFocusCell(-1, -1);
  EXPECT_EQ(g.GetFocusCell(), CellId());
  g.SetFocusCell(4, 4);
  g.SetRowCount(4);
  EXPECT_EQ(g.GetFocusCell(), CellId());
}

TEST(GridModel, SelectionFollowsRangesStateAndShrinking) {
  GridWindow w(10, 5, 1, 1);
  CGridCtrl& g = *w.grid;
  g.SelectRange(2, 1, 4, 3);
  EXPECT_EQ(g.GetSelectedCount(), 9);
  EXPECT_EQ(g.GetSelectionRange(), CellRange(2, 1, 4, 3));
  EXPECT_TRUE(g.GetCellState(3, 2) & kCellSelected);
  g.SetCellState(3, 2, 0);
  EXPECT_FALSE(g.IsCellSelected(3, 2));
  EXPECT_EQ(g.GetSelectedCount(), 8);
  g.SetCellState(8, 4, kCellSelected);
  EXPECT_EQ(g.GetSelectedCount(), 9);
  g.SetRowCount(4);
  EXPECT_EQ(g.GetSelectionRange(), CellRange(2, 1, 3, 3));
  g.SelectAllCells();
  EXPECT_EQ(g.GetSelectionRange(), CellRange(1, 1, 3, 4));
  g.SetRowSelectionMode(true);
  EXPECT_EQ(g.GetSelectedCount(), 0);
  g.EnableSelection(false);
  g.SelectRange(1, 1, 2, 2);
  EXPECT_EQ(g.GetSelectedCount(), 0);
}

TEST(GridModel, DefaultCellsGiveWhatCellsDoNotSet) {
  GridWindow w(3, 3, 1, 1);
  CGridCtrl& g = *w.grid;
  const CGridDefaultCell* normal = g.GetDefaultCell(false, false);
  const CGridDefaultCell* fixed = g.GetDefaultCell(true, false);
  EXPECT_EQ(normal->GetFormat(), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
  EXPECT_GT(normal->GetWidth(), 40);
  EXPECT_NE(normal->GetBackColour(), fixed->GetBackColour()) << "window and button-face colours";
  EXPECT_EQ(g.GetCellFormat(1, 1), normal->GetFormat());
  EXPECT_EQ(g.GetCellBackColour(1, 1), CLR_DEFAULT);
  EXPECT_EQ(g.GetGridLineColour(), RGB(192, 192, 192));
  EXPECT_EQ(&g.GetCell(0, 1)->GetFont(), &fixed->GetFont());
}

TEST(GridModel, OptionsStartWithTheirDefaults) {
  GridWindow w(1, 1, 0, 0);
  const CGridCtrl& g = *w.grid;
  EXPECT_TRUE(g.IsEditable());
  EXPECT_FALSE(g.GetRowSelectionMode());
  EXPECT_FALSE(g.GetSingleRowSelection());
  EXPECT_TRUE(g.IsSelectable());
  EXPECT_FALSE(g.GetDragAndDrop());
  EXPECT_TRUE(g.GetHandleTabKey());
  EXPECT_TRUE(g.GetTrackFocusCell());
  EXPECT_TRUE(g.GetFrameFocusCell());
  EXPECT_FALSE(g.GetHeaderSort());
  EXPECT_TRUE(g.GetFixedRowSelection());
  EXPECT_TRUE(g.GetFixedColumnSelection());
  EXPECT_TRUE(g.GetColumnResize());
  EXPECT_TRUE(g.GetRowResize());
  EXPECT_EQ(g.GetAutoSizeStyle(), kAutoSizeBoth);
  EXPECT_EQ(g.GetResizeCaptureRange(), 3);
  EXPECT_EQ(g.GetAutoScrollPeriod(), 25);
  EXPECT_EQ(g.GetSortColumn(), -1);
  EXPECT_TRUE(g.GetSortAscending());
  EXPECT_EQ(g.GetGridLines(), kGridLinesBoth);
  EXPECT_EQ(g.objectName(), QStringLiteral("QelvoGridCtrl"));
}

TEST(GridModel, SizingFitsTextsAndTheWindow) {
  GridWindow w(4, 3, 1, 0, QSize(400, 200));
  gridtest::ShowActive(&w.window);
  CGridCtrl& g = *w.grid;
  g.SetCellText(2, 1, "a rather long text that needs room");
  EXPECT_TRUE(g.AutoSizeColumn(1));
  const int wide = g.GetColumnWidth(1);
  EXPECT_GT(wide, QFontMetrics(g.font()).horizontalAdvance(QStringLiteral("a rather long text that needs room")));
  EXPECT_TRUE(g.AutoSizeColumn(1, kAutoSizeHeader));
  EXPECT_LT(g.GetColumnWidth(1), wide) << "the header row alone";
  g.SetColumnWidth(2, 0);
  EXPECT_FALSE(g.AutoSizeColumn(2)) << "hidden columns are left alone";
  EXPECT_EQ(g.GetColumnWidth(2), 0);

  g.SetColumnWidth(0, 50);
  g.SetColumnWidth(1, 60);
  g.ExpandLastColumn();
  EXPECT_EQ(g.GetColumnWidth(1), g.viewport()->width() - 50) << "the last visible column takes the rest";

  g.SetColumnWidth(2, 10);
  const int before[] = {g.GetColumnWidth(0), g.GetColumnWidth(1), g.GetColumnWidth(2)};
  g.FitColumnsToWidth(true);
  EXPECT_EQ(g.GetVirtualWidth(), g.viewport()->width());
  const int grown = g.GetColumnWidth(2) - before[2];
  for (int c = 0; c < 2; ++c) EXPECT_LE(std::abs(g.GetColumnWidth(c) - before[c] - grown), 1) << "column " << c;
}

TEST(GridModel, HeaderSortOrdersRowsAndFlipsOnTheSecondClick) {
  GridWindow w(5, 2, 1, 0);
  gridtest::ShowActive(&w.window, w.grid);
  CGridCtrl& g = *w.grid;
  g.SetHeaderSort(true);
  const char* texts[] = {"pear", "apple", "fig", "kiwi"};
  for (int r = 1; r <= 4; ++r) g.SetCellText(r, 1, texts[r - 1]);
  gridtest::ClickCell(g, 0, 1);
  EXPECT_EQ(g.GetCellText(1, 1), "apple");
  EXPECT_EQ(g.GetCellText(4, 1), "pear");
  EXPECT_EQ(g.GetSortColumn(), 1);
  EXPECT_TRUE(g.GetSortAscending());
  gridtest::ClickCell(g, 0, 1);
  EXPECT_EQ(g.GetCellText(1, 1), "pear");
  EXPECT_FALSE(g.GetSortAscending());
}

TEST(GridModel, TextSortMovesWholeRowsWithTheirHeights) {
  GridWindow w(9, 3, 1, 0);
  CGridCtrl& g = *w.grid;
  const std::string keys = "hcagbfed";  // a permutation of several cycles
  for (int r = 1; r <= 8; ++r) {
    const std::string key(1, keys[static_cast<std::size_t>(r - 1)]);
    g.SetCellText(r, 0, key);
    g.SetCellText(r, 1, "row " + key + " with a text longer than twelve");
    g.SetCellData(r, 2, r);  // a cell object
    g.SetRowHeight(r, 10 + r);
  }
  ASSERT_TRUE(g.SortTextItems(0, true));
  for (int r = 1; r <= 8; ++r) {
    const std::string key = g.GetCellText(r, 0);
    EXPECT_EQ(key, std::string(1, static_cast<char>('a' + r - 1)));
    EXPECT_EQ(g.GetCellText(r, 1), "row " + key + " with a text longer than twelve");
    const int from = static_cast<int>(keys.find(key)) + 1;
    EXPECT_EQ(g.GetCellData(r, 2), from) << key;
    EXPECT_EQ(g.GetRowHeight(r), 10 + from) << key;
  }
  EXPECT_EQ(g.GetCellText(0, 0), "") << "the fixed row stays";
}

// Rows arriving from a source: appended without marking the grid modified, without dropping the
// sort indicator or the selection, and without a repaint while they are below the screen.
TEST(GridModel, GrowRowCountAppendsRowsQuietly) {
  GridWindow w(5, 3, 1, 1);
  CGridCtrl& g = *w.grid;
  gridtest::ShowActive(&w.window, w.grid);
  g.SetCellText(2, 1, "kept");
  g.SetModified(false);
  g.SetSortColumn(1);
  g.SelectRange(2, 1, 2, 2);
  ASSERT_TRUE(g.GrowRowCount(1000));
  EXPECT_EQ(g.GetRowCount(), 1000);
  EXPECT_EQ(g.GetSortColumn(), 1);
  EXPECT_FALSE(g.GetModified());
  EXPECT_EQ(g.GetCellText(2, 1), "kept");
  EXPECT_EQ(g.GetSelectedCount(), 2);
  EXPECT_TRUE(g.GetCellState(999, 0) & kCellFixed);
  EXPECT_FALSE(g.GrowRowCount(1000));

  struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++paints;
      return false;
    }
  } counter;
  gridtest::Settle();
  g.viewport()->installEventFilter(&counter);
  ASSERT_TRUE(g.GrowRowCount(2000));
  gridtest::Settle();
  EXPECT_EQ(counter.paints, 0) << "rows below the screen";
  EXPECT_EQ(g.verticalScrollBar()->maximum() > 1000, true);
  g.SetRowCount(3);
  gridtest::Settle();
  counter.paints = 0;
  ASSERT_TRUE(g.GrowRowCount(4));
  gridtest::Settle();
  EXPECT_GT(counter.paints, 0) << "a row that shows";
  g.viewport()->removeEventFilter(&counter);
}

TEST(GridSizing, AutoSizeMatchesTheWidestTextExactly) {
  GridWindow w(400, 2, 1, 0);
  CGridCtrl& g = *w.grid;
  const char* samples[] = {"12345.67", "99999.99", "Zürich 1", "a\nb", "WAVE 2024-01-01", "office 77", "1111111"};
  for (int r = 1; r < 400; ++r) g.SetCellText(r, 1, samples[r % 7] + std::string(r % 3, '8'));
  g.SetCellText(0, 1, "H");
  int widest = 0;
  // Fractional advances rounded up: a text a fraction of a pixel wider than its cell is elided.
  const QFontMetricsF fm(g.GetDefaultCell(false, false)->GetFont());
  for (int r = 1; r < 400; ++r) {
    QString text = QString::fromStdString(g.GetCellText(r, 1));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    widest = std::max(widest, static_cast<int>(std::ceil(fm.horizontalAdvance(text))));
  }
  ASSERT_TRUE(g.AutoSizeColumn(1, kAutoSizeData));
  EXPECT_EQ(g.GetColumnWidth(1), widest + 2 * g.GetDefaultCell(false, false)->GetMargin() + 1);
}
