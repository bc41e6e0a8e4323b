// The layout and the fill of the result grid from real recordsets: rows, detail rows, the row
// limit, column kinds, NULL, binary and locale-formatted values, and open failures.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellNumericEx.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/dbgrid/DbGridTestSupport.h"

using namespace dbgridtest;

namespace {

using Texts = std::vector<std::string>;

class DbGridFill : public testing::TestWithParam<TestDb> {
 protected:
  void SetUp() override {
    EnsureApp();
    db_ = std::make_unique<ScratchDb>(
        GetParam(), std::vector<std::string>{"qg_values", "qg_many", "qg_made", "qg_dates", "qg_widths"});
    const TestDb& d = GetParam();
    db_->Run({"CREATE TABLE qg_values (id INTEGER PRIMARY KEY, name VARCHAR(20), n INTEGER, x " + d.doubleType +
                  ", dt DATE, flag BOOLEAN, raw " + d.blobType + ")",
              "INSERT INTO qg_values VALUES (1, 'one', 1234567, 3.5, '2003-02-01', TRUE, NULL)",
              "INSERT INTO qg_values VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL)"});
  }

  void Open(const GridOptions& options, const std::string& sql) {
    window_ = std::make_unique<GridWindow>(options);
    ASSERT_TRUE(window_->Run(db_->ConnectionString(), sql));
  }
  CDbGridCtrl& Grid() { return window_->Grid(); }
  int First() { return Grid().GetFirstDataRow(); }

  void TearDown() override {
    window_.reset();
    db_.reset();
  }

  std::unique_ptr<ScratchDb> db_;
  std::unique_ptr<GridWindow> window_;
};

TEST_P(DbGridFill, RowsFollowTheDetailAndFilterSettings) {
  GridOptions options;
  Open(options, "SELECT id, name FROM qg_values ORDER BY id");
  EXPECT_EQ(Grid().GetFilterRow(), -2);
  EXPECT_EQ(First(), 1);
  EXPECT_EQ(Grid().GetRowCount(), 3);
  EXPECT_EQ(Grid().GetFixedRowCount(), 1);
  EXPECT_EQ(Grid().GetFixedColumnCount(), 1);
  EXPECT_EQ(Grid().GetColumnCount(), 3);

  options.viewDetails = true;
  options.useFilters = true;
  Open(options, "SELECT id, name FROM qg_values ORDER BY id");
  EXPECT_EQ(Grid().GetDetailRowCount(), 4);
  EXPECT_EQ(Grid().GetFilterRow(), 5);
  EXPECT_EQ(First(), 6);
  EXPECT_EQ(Grid().GetRowCount(), 8);
  EXPECT_EQ(Grid().GetFixedRowCount(), 5);
  EXPECT_EQ(Grid().GetCellText(1, 0), "Type");
  EXPECT_EQ(Grid().GetCellText(4, 0), "AutoIncr");
  EXPECT_EQ(Grid().GetCellText(3, 2), "true");  // name may be null
  EXPECT_EQ(Grid().GetCellBackColour(2, 1), RGB(230, 230, 230));
  EXPECT_EQ(Grid().GetCellBackColour(5, 2), RGB(220, 255, 220));
  EXPECT_EQ(Grid().GetCellText(6, 1), "1");

  options.viewExtendedDetails = true;
  Open(options, "SELECT id, name FROM qg_values ORDER BY id");
  EXPECT_EQ(Grid().GetDetailRowCount(), 11);
  EXPECT_EQ(First(), 13);
  EXPECT_EQ(Grid().GetCellText(8, 0), "Key");
  EXPECT_EQ(Grid().GetCellText(11, 0), "AutoIncr");
  EXPECT_EQ(Grid().GetCellText(13, 2), "one");
}

TEST_P(DbGridFill, NullsShowTheLabelExceptInDateColumnsAndArePinkWhenColouring) {
  GridOptions options;
  options.colorize = true;
  Open(options, "SELECT id, name, n, x, dt, flag FROM qg_values ORDER BY id");
  const int row = First() + 1;
  EXPECT_EQ(Grid().GetCellText(row, 2), "<null>");
  EXPECT_EQ(Grid().GetCellText(row, 3), "<null>");
  EXPECT_EQ(Grid().GetCellText(row, 4), "<null>");
  EXPECT_EQ(Grid().GetCellText(row, 5), "");
  for (int col = 2; col <= 6; ++col) EXPECT_EQ(Grid().GetCellBackColour(row, col), RGB(255, 200, 200)) << col;
  auto* number = dynamic_cast<CGridCellNumericEx*>(Grid().GetCell(row, 4));
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->GetNumber(), 0.0);
  // Values keep the column's colour.
  EXPECT_EQ(Grid().GetCellBackColour(First(), 4), RGB(255, 255, 235));
  EXPECT_EQ(Grid().GetCellBackColour(First(), 2), RGB(235, 255, 255));
}

TEST_P(DbGridFill, ValuesShowInTheirCellsInTheUsersLocale) {
  ScopedUserLocale italian("it_IT.UTF-8");
  GridOptions options;
  options.useThousandSeparator = true;
  Open(options, "SELECT n, x, dt, flag FROM qg_values ORDER BY id");
  const int row = First();
  EXPECT_EQ(Grid().GetCellText(row, 1), "1.234.567");
  EXPECT_EQ(Grid().GetCellInteger(row, 1), 1234567);
  EXPECT_EQ(Grid().GetCellText(row, 2), "3,50");
  EXPECT_EQ(Grid().GetCellText(row, 3), "01/02/2003");
  EXPECT_EQ(Grid().GetCellType(row, 4), gctCheckbox);
  EXPECT_NE(Grid().GetCellData(row, 4), 0);
  EXPECT_EQ(Grid().GetCellData(row + 1, 4), 0);
  // Values and NULLs alike fill the cells without making cell objects.
  for (int col = 1; col <= 4; ++col) {
    EXPECT_EQ(Grid().GetCellObject(row, col), nullptr) << col;
    EXPECT_EQ(Grid().GetCellObject(row + 1, col), nullptr) << col;
  }
}

TEST_P(DbGridFill, DatesShowFourDigitYearsSoCenturiesStayApart) {
  db_->Run({"CREATE TABLE qg_dates (id INTEGER PRIMARY KEY, d DATE)", "INSERT INTO qg_dates VALUES (1, '0753-04-21')",
            "INSERT INTO qg_dates VALUES (2, '1953-04-21')", "INSERT INTO qg_dates VALUES (3, '2053-04-21')"});
  Open(GridOptions{}, "SELECT d FROM qg_dates ORDER BY id");
  EXPECT_EQ(window_->Column(1), (Texts{"21/04/0753", "21/04/1953", "21/04/2053"}));
}

TEST_P(DbGridFill, BinaryValuesShowTheirBytesInHex) {
  // PostgreSQL has no X'..' literal for bytea.
  db_->Run({GetParam().family == "PostgreSQL" ? "UPDATE qg_values SET raw = '\\x0aff'::bytea WHERE id = 1"
                                              : "UPDATE qg_values SET raw = X'0AFF' WHERE id = 1"});
  GridOptions options;
  options.colorize = true;
  Open(options, "SELECT raw FROM qg_values ORDER BY id");
  EXPECT_EQ(Grid().GetCellText(First(), 1), "0a ff ");
  // A long binary column is of no kind: its cells stay plain text cells in the kind-0 colour.
  EXPECT_EQ(Grid().GetCellType(First(), 1), gctText);
  EXPECT_EQ(Grid().GetColumnDef(1)->kind, gctUnknown);
  EXPECT_EQ(Grid().GetCellBackColour(First(), 1), RGB(255, 235, 255));
}

TEST_P(DbGridFill, KeyColumnsAreStarred) {
  Open(GridOptions{}, "SELECT id, name FROM qg_values");
  EXPECT_EQ(Grid().GetCellText(0, 1), "*id");
  EXPECT_EQ(Grid().GetCellText(0, 2), "name");
}

TEST_P(DbGridFill, MaxDataRowsShowsTheTopRowsAndSaysSoInTheCorner) {
  db_->Run({"CREATE TABLE qg_many (k INTEGER)"});
  // Each back end's own way to count to 1000 (MariaDB: its sequence engine's table).
  const std::string name = GetParam().family;
  db_->Run({name == "PostgreSQL" ? "INSERT INTO qg_many SELECT generate_series(1, 1000)"
            : name == "MariaDB"
                ? "INSERT INTO qg_many SELECT seq FROM seq_1_to_1000"
                : "INSERT INTO qg_many WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000) "
                  "SELECT x FROM c"});
  GridOptions options;
  options.useFilters = true;
  options.maxDataRows = 100;
  Open(options, "SELECT k FROM qg_many ORDER BY k");
  EXPECT_EQ(window_->DataRowCount(), 100);
  EXPECT_EQ(Grid().GetCellText(0, 0), "top 100 rows");
  EXPECT_EQ(Grid().GetCellBackColour(0, 0), RGB(255, 200, 200));
  EXPECT_EQ(Grid().GetCellText(Grid().GetRowCount() - 1, 1), "100");

  // A filter that leaves fewer rows than the limit shows them all and clears the corner.
  window_->TypeFilter(1, "7");
  EXPECT_EQ(window_->DataRowCount(), 1);
  EXPECT_EQ(Grid().GetCellText(0, 0), "");

  for (int limit : {0, 1000}) {
    options.maxDataRows = limit;
    Open(options, "SELECT k FROM qg_many ORDER BY k");
    EXPECT_EQ(window_->DataRowCount(), 1000) << limit;
    EXPECT_EQ(Grid().GetCellText(0, 0), "") << limit;
    EXPECT_EQ(Grid().GetCellBackColour(0, 0), CLR_DEFAULT) << limit;
  }
}

TEST_P(DbGridFill, RecordNumbersAndColumnWidths) {
  GridOptions options;
  options.displayRecno = true;
  options.minColWidth = 5;
  Open(options, "SELECT id, name FROM qg_values ORDER BY id");
  EXPECT_EQ(window_->Column(0), (Texts{"1", "2"}));
  EXPECT_EQ(Grid().GetColumnDef(1)->width, 10);
  // The last column takes the free width of the window.
  EXPECT_EQ(Grid().GetVirtualWidth(), Grid().viewport()->width());

  options.maxColWidth = 30;
  options.expandLastColumn = false;
  Open(options, "SELECT id, name FROM qg_values ORDER BY id");
  for (int col = 0; col < Grid().GetColumnCount(); ++col) EXPECT_LE(Grid().GetColumnWidth(col), 30);
}

// Every text the grid shows in column `col`, header included, fits its cell without an
// ellipsis, measured as painting measures it (the sort arrow takes its room in the header).
void ExpectColumnFits(const CDbGridCtrl& grid, int col) {
  const int line = grid.GetGridLines() == kGridLinesNone ? 0 : 1;
  for (int row = 0; row < std::min(grid.GetRowCount(), CDbGridCtrl::kAutoSizeRowLimit); ++row) {
    const CGridCellBase* cell = grid.GetCellForRead(row, col);
    const std::string text = cell->GetText();
    if (text.empty()) continue;
    const bool fixed = row < grid.GetFixedRowCount() || col < grid.GetFixedColumnCount();
    int room = grid.GetColumnWidth(col) - (fixed ? 0 : line) - 2 * cell->GetMargin();
    if (row == 0 && grid.GetSortColumn() == col)
      room -= CGridCellBase::SortArrowRoom(cell->GetFont(), cell->GetMargin());
    const QFontMetrics fm(cell->GetFont());
    const QString shown = QString::fromStdString(text);
    EXPECT_EQ(fm.elidedText(shown, Qt::ElideRight, room).toStdString(), text)
        << "row " << row << ", column " << col << " is cut at width " << grid.GetColumnWidth(col);
  }
}

TEST_P(DbGridFill, AutoSizedColumnsFitTheShownTextsAlsoAfterASort) {
  ScopedUserLocale italian("it_IT.UTF-8");
  db_->Run({"CREATE TABLE qg_widths (id INTEGER PRIMARY KEY, nm VARCHAR(20), n INTEGER, amount DECIMAL(12,2))",
            "INSERT INTO qg_widths VALUES (1, 'Al', 7, 1.5)",
            "INSERT INTO qg_widths VALUES (2, 'Nemo', 2873000, 2850000.25)",
            "INSERT INTO qg_widths VALUES (3, 'Wim', 12, 3)"});
  GridOptions options;
  options.useThousandSeparator = true;
  options.displayRecno = true;
  options.expandLastColumn = false;
  Open(options, "SELECT id, nm, n, amount FROM qg_widths ORDER BY id");
  ASSERT_EQ(Grid().GetColumnCount(), 5);
  EXPECT_EQ(window_->Column(3)[1], "2.873.000");
  for (int col = 0; col < 5; ++col) ExpectColumnFits(Grid(), col);
  // The sorted column's header gains the arrow; every column keeps fitting its new top rows.
  for (int col = 1; col < 5; ++col) {
    window_->Click(0, col);
    window_->Click(0, col);
    ASSERT_EQ(Grid().GetSortColumn(), col);
    for (int c = 0; c < 5; ++c) ExpectColumnFits(Grid(), c);
  }
}

TEST_P(DbGridFill, LongResultsFitTheirLastRecordNumberAndTheRowsASortBringsUp) {
  // More rows than auto-size measures: the record numbers grow to five digits only at the end,
  // and the wide names are in rows that only a descending sort brings to the top.
  db_->Run({"CREATE TABLE qg_widths (id INTEGER PRIMARY KEY, nm VARCHAR(40))"});
  std::string insert = "INSERT INTO qg_widths VALUES (1, 'a')";
  for (int i = 2; i <= 10050; ++i)
    insert +=
        ", (" + std::to_string(i) + ", '" + (i > 9500 && i < 9900 ? std::string(30, 'W') : std::string("b")) + "')";
  db_->Run({insert});
  GridOptions options;
  options.displayRecno = true;
  options.expandLastColumn = false;
  Open(options, "SELECT id * 1000 AS id, nm FROM qg_widths ORDER BY id");
  const int last = Grid().GetRowCount() - 1;
  ASSERT_EQ(Grid().GetCellText(last, 0), "10050");
  const CGridCellBase* number = Grid().GetCellForRead(last, 0);
  const int room = Grid().GetColumnWidth(0) - 2 * number->GetMargin();
  EXPECT_EQ(QFontMetrics(number->GetFont()).elidedText(QStringLiteral("10050"), Qt::ElideRight, room).toStdString(),
            "10050")
      << "the last record number fits";
  window_->Click(0, 1);
  window_->Click(0, 1);
  ASSERT_FALSE(Grid().GetSortAscending());
  EXPECT_EQ(window_->Column(1).front(), "10050000");
  for (int c = 0; c < 3; ++c) ExpectColumnFits(Grid(), c);
}

TEST_P(DbGridFill, AStatementWithoutRowsLeavesOnlyTheHeader) {
  GridOptions options;
  options.useFilters = true;
  Open(options, "CREATE TABLE qg_made (a INTEGER)");
  EXPECT_LE(window_->DataRowCount(), 0);
  EXPECT_EQ(Grid().GetColumnCount(), 1);
  // Sorting, filtering and selecting on it do nothing.
  window_->Click(0, 0);
  EXPECT_EQ(Grid().BuildFilterCriteria(), "");
}

TEST_P(DbGridFill, AFailedOpenIsReportedOnceAndLeavesTheGridEmpty) {
  PromptCapture prompts;
  window_ = std::make_unique<GridWindow>(GridOptions{});
  EXPECT_FALSE(window_->Run(db_->ConnectionString(), "SELECT x FROM qg_nowhere"));
  ASSERT_EQ(prompts.Prompts().Messages().size(), 1u);
  const MessageBoxRequest& box = prompts.Prompts().Messages()[0];
  EXPECT_EQ(box.type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_NE(box.text.find("qg_nowhere"), std::string::npos) << box.text;
  EXPECT_EQ(Grid().GetRowCount(), 1);
  EXPECT_EQ(Grid().GetColumnCount(), 1);
  EXPECT_FALSE(Grid().GetRecordset()->IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Databases, DbGridFill, testing::ValuesIn(TestDbs()), TestDbName);

// SQLite keeps any value in any column; the grid shows what is there instead of a wrong 0.
TEST(DbGridSqlite, ValuesOfAnotherTypeThanTheColumnShowAsTheyAre) {
  EnsureApp();
  ScopedUserLocale italian("it_IT.UTF-8");
  ScratchDb db(TestDbs().front(), {});
  db.Run({"CREATE TABLE t (n INTEGER, x DOUBLE, d DATETIME)", "INSERT INTO t VALUES ('abc', '12.5', 1700000000)",
          "INSERT INTO t VALUES (2.5, 'n/a', 'soon')", "INSERT INTO t VALUES (7, 1, '2003-02-01 10:20:30')"});
  GridOptions options;
  options.dateFormat = 4;
  GridWindow window(options);
  ASSERT_TRUE(window.Run(db.ConnectionString(), "SELECT n, x, d FROM t"));
  EXPECT_EQ(window.Column(1), (Texts{"abc", "2,5", "7"}));
  EXPECT_EQ(window.Column(2), (Texts{"12,50", "n/a", "1,00"}));
  EXPECT_EQ(window.Column(3), (Texts{"1700000000", "soon", "01/02/2003 10:20:30"}));
}

// Sizing measures the top rows only, so a million-row result opens without measuring every cell.
TEST(DbGridSqlite, ColumnsFitTheWidestTextOfTheTopRows) {
  EnsureApp();
  ScratchDb db(TestDbs().front(), {});
  db.Run({"CREATE TABLE t (a VARCHAR(80), b VARCHAR(80))",
          "INSERT INTO t WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1500) "
          "SELECT CASE x WHEN 5 THEN 'a rather long text near the top' ELSE 'x' END, "
          "CASE x WHEN 1400 THEN 'a rather long text far below the top' ELSE 'x' END FROM c"});
  GridOptions options;
  options.expandLastColumn = false;
  options.autoSizeStyle = 3;
  GridWindow window(options);
  ASSERT_TRUE(window.Run(db.ConnectionString(), "SELECT a, b FROM t"));
  const QFontMetrics metrics(window.Grid().GetDefaultCell(false, false)->GetFont());
  EXPECT_GE(window.Grid().GetColumnWidth(1), metrics.horizontalAdvance("a rather long text near the top"));
  EXPECT_LT(window.Grid().GetColumnWidth(2), metrics.horizontalAdvance("a rather long text far"));
}

TEST(DbGridSqlite, DiagnosticsTraceEachStep) {
  EnsureApp();
  ScratchDb db(TestDbs().front(), {});
  db.Run({"CREATE TABLE t (a INTEGER)", "INSERT INTO t VALUES (1)"});
  GridWindow window(GridOptions{});
  TraceCapture trace;
  ASSERT_TRUE(window.Run(db.ConnectionString(), "SELECT a FROM t"));
  EXPECT_EQ(trace.Lines(),
            (Texts{"CDbGridCtrl::OpenRecordset()", "CDbGridCtrl::Update()", "CDbGridCtrl::LayoutGridAfterRecorset()",
                   "CDbGridCtrl::SetRowCountAfterRecorset()", "CDbGridCtrl::FillGridDataFromRecordset()"}));
  trace.Clear();
  window.Grid().SetDiagnostics(false);
  window.Grid().Update(true);
  EXPECT_TRUE(trace.Lines().empty());
}

TEST(DbGridValues, VariantToGridCellByCellKind) {
  EnsureApp();
  CGridCtrlEx grid;
  grid.SetRowCount(2);
  grid.SetColumnCount(6);
  grid.SetCellTypeByKind(1, 1, gctInteger);
  grid.SetCellTypeByKind(1, 2, gctNumericEx);
  grid.SetCellTypeByKind(1, 3, gctDate);
  grid.SetCellTypeByKind(1, 4, gctButtonText);
  CDbGridCtrl::SetNullLabel("-");
  CDbGridCtrl::VariantToGridCell(ado::Variant::Bytes(std::string("\x0a\xff", 2)), grid, 1, 0);
  EXPECT_EQ(grid.GetCellText(1, 0), "0a ff ");
  CDbGridCtrl::VariantToGridCell(ado::Variant(std::int64_t{-42}), grid, 1, 1);
  EXPECT_EQ(grid.GetCellInteger(1, 1), -42);
  CDbGridCtrl::VariantToGridCell(ado::Variant(), grid, 1, 1);
  EXPECT_EQ(grid.GetCellText(1, 1), "-");
  CDbGridCtrl::VariantToGridCell(ado::Variant(ado::Decimal::Parse("12.3456").value()), grid, 1, 2);
  EXPECT_EQ(grid.GetCellText(1, 2), "12.35");
  CDbGridCtrl::VariantToGridCell(ado::Variant::Date(37653.5), grid, 1, 3);
  auto* date = dynamic_cast<CGridCellDateTimeEx*>(grid.GetCell(1, 3));
  ASSERT_NE(date, nullptr);
  EXPECT_EQ(date->GetDateTime(), (GridDateTime{2003, 2, 1, 12, 0, 0}));
  CDbGridCtrl::VariantToGridCell(ado::Variant::Null(), grid, 1, 3);
  EXPECT_EQ(date->GetStatus(), CGridCellDateTimeEx::Status::Null);
  CDbGridCtrl::VariantToGridCell(ado::Variant("text"), grid, 1, 4);
  EXPECT_EQ(grid.GetCellText(1, 4), "???");
  // A value with no text form leaves the cell empty and the fill going.
  CDbGridCtrl::VariantToGridCell(ado::Variant::OfType(ado::VT_DISPATCH), grid, 1, 5);
  EXPECT_EQ(grid.GetCellText(1, 5), "");
  CDbGridCtrl::SetNullLabel("");
  // Positions out of range are ignored.
  CDbGridCtrl::VariantToGridCell(ado::Variant("x"), grid, 7, 7);
}

}  // namespace
