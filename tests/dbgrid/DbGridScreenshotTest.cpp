// A picture of the result grid with a filter applied and a sort indicator, written to the folder
// named by QELVO_DBGRID_SHOTS (the system's temporary folder without it), and checked where it
// must show the filter, the sort triangle and the values.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <cstdlib>

#include "tests/dbgrid/DbGridTestSupport.h"
#include "tests/support/gui/PictureInk.h"

using namespace dbgridtest;
using testsupport::InkPixels;

namespace {
// A cell's rectangle in the window's picture, without its grid lines.
QRect CellInShot(GridWindow& window, int row, int col) {
  QRect rect;
  EXPECT_TRUE(window.Grid().GetCellRect(row, col, rect)) << row << "," << col;
  return rect.translated(window.Grid().viewport()->mapTo(&window.Window(), QPoint(0, 0))).adjusted(1, 1, -2, -2);
}

QImage Picture(GridWindow& window) {
  return window.Window().grab().toImage().convertToFormat(QImage::Format_RGB32);
}
}  // namespace

TEST(DbGridScreenshot, FilteredAndSorted) {
  const char* named = std::getenv("QELVO_DBGRID_SHOTS");
  const std::string folder = named && *named ? named : QDir::tempPath().toStdString();
  EnsureApp();
  ScratchDb db(TestDbs().front(), {});
  db.Run(
      {"CREATE TABLE orders (id INTEGER PRIMARY KEY, customer VARCHAR(40), city VARCHAR(30), qty INTEGER, "
       "price NUMERIC(10,2), paid BOOLEAN, ordered DATE, note TEXT)",
       "INSERT INTO orders VALUES (1, 'Abbott Ltd', 'Leeds', 12, 19.90, TRUE, '2003-01-31', 'first order')",
       "INSERT INTO orders VALUES (2, 'Brandt GmbH', 'Bremen', 1500, 2.25, FALSE, '2003-02-01', NULL)",
       "INSERT INTO orders VALUES (3, 'Brennan & Sons', 'Cork', 5, NULL, TRUE, '2003-02-05', 'call first')",
       "INSERT INTO orders VALUES (4, 'Bruni S.p.A.', 'Torino', 40, 1234.50, FALSE, '2003-02-06', NULL)",
       "INSERT INTO orders VALUES (5, 'Carvalho', 'Porto', 7, 3.00, TRUE, NULL, 'late')",
       "INSERT INTO orders VALUES (6, 'Bayer & Co', 'Köln', 300, 99.99, TRUE, '2003-03-01', NULL)"});
  GridOptions options;
  options.useFilters = true;
  options.colorize = true;
  options.displayRecno = true;
  options.useThousandSeparator = true;
  GridWindow window(options, "<null>", {820, 300});
  ASSERT_TRUE(window.Run(db.ConnectionString(), "SELECT * FROM orders"));
  const QRect sortHeader = CellInShot(window, 0, 4);
  const QRect headerEnd(sortHeader.right() - 14, sortHeader.top(), 14, sortHeader.height());
  const int headerEndBefore = InkPixels(Picture(window), headerEnd);
  window.TypeFilter(2, "b");
  window.Click(0, 4);
  window.Click(0, 4);
  window.Click(window.Grid().GetFirstDataRow() + 1, 2);
  ASSERT_EQ(window.DataRowCount(), 4);
  const QImage saved = testsupport::SavedPicture(window.Window(), folder + "/dbgrid-filtered-sorted.png");
  ASSERT_FALSE(saved.isNull());
  const QRect filterCell = CellInShot(window, window.Grid().GetFilterRow(), 2);
  EXPECT_EQ(QColor(saved.pixel(filterCell.right() - 1, filterCell.bottom() - 1)), QColor(220, 255, 220));
  EXPECT_GT(InkPixels(saved, filterCell), 3) << "the typed filter text";
  EXPECT_EQ(InkPixels(saved, CellInShot(window, window.Grid().GetFilterRow(), 3)), 0);
  EXPECT_GT(InkPixels(saved, headerEnd), headerEndBefore + 5) << "the sort triangle";
  const int first = window.Grid().GetFirstDataRow();
  for (int row = first; row < first + 4; ++row)
    EXPECT_GT(InkPixels(saved, CellInShot(window, row, 2)), 10) << "row " << row;
}

TEST(DbGridScreenshot, CellBeingEditedInPlace) {
  const char* folder = std::getenv("QELVO_DBGRID_SHOTS");
  if (!folder || !*folder) GTEST_SKIP() << "QELVO_DBGRID_SHOTS names no folder";
  EnsureApp();
  ScratchDb db(TestDbs().front(), {});
  db.Run({"CREATE TABLE customers (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(30), since DATE)",
          "INSERT INTO customers VALUES (1, 'Abbott Ltd', 'Leeds', '2003-01-31')",
          "INSERT INTO customers VALUES (2, 'Brandt GmbH', 'Bremen', '2003-02-01')",
          "INSERT INTO customers VALUES (3, 'Carvalho', 'Porto', NULL)"});
  GridOptions options;
  options.moveCursorAfterEdit = 1;
  GridWindow window(options, "<null>", {620, 200});
  window.Grid().SetEditable(true);
  ASSERT_TRUE(window.Run(db.ConnectionString(), "SELECT * FROM customers ORDER BY id"));
  const int row = window.Grid().GetFirstDataRow() + 1;
  window.Click(row, 3);
  window.Click(row, 3);
  QWidget* editor = window.Grid().GetEditor();
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, "Hamburg");
  Settle();
  const std::string path = std::string(folder) + "/dbgrid-cell-edited.png";
  ASSERT_TRUE(window.Window().grab().save(QString::fromStdString(path)));
  QTest::keyClick(editor, Qt::Key_Escape);
}
