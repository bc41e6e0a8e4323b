// A picture of the result grid with a filter applied and a sort indicator, written to the folder
// named by QELVO_DBGRID_SHOTS (the test is skipped without it).
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTest>
#include <cstdlib>

#include "tests/dbgrid/DbGridTestSupport.h"

using namespace dbgridtest;

TEST(DbGridScreenshot, FilteredAndSorted) {
  const char* folder = std::getenv("QELVO_DBGRID_SHOTS");
  if (!folder || !*folder) GTEST_SKIP() << "QELVO_DBGRID_SHOTS names no folder";
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
  window.TypeFilter(2, "b");
  window.Click(0, 4);
  window.Click(0, 4);
  window.Click(window.Grid().GetFirstDataRow() + 1, 2);
  const std::string path = std::string(folder) + "/dbgrid-filtered-sorted.png";
  ASSERT_TRUE(window.Window().grab().save(QString::fromStdString(path)));
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
