// The result grid's two cell stores on real databases: cells made from the recordset when asked
// for, and cells copied into the grid at each fill. Both must show, sort, filter, edit, copy, print
// and export the same values; the recordset-backed one must hold no copy of the records.
#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <fstream>
#include <tuple>

#include "data/ado/BackgroundRelease.h"
#include "data/ado/Recordset.h"
#include "export/CsvExport.h"
#include "export/ExportUi.h"
#include "grid/GridColumnDef.h"
#include "tests/dbgrid/DbGridTestSupport.h"
#include "tests/dbgrid/RecordEditTestSupport.h"

using namespace dbgridtest;

namespace {

using Texts = std::vector<std::string>;
using StoreParam = std::tuple<TestDb, DbGridStorage>;

constexpr int kId = 1;
constexpr int kName = 2;
constexpr int kQty = 3;

const char* StorageName(DbGridStorage storage) {
  return storage == DbGridStorage::Recordset ? "RecordsetCells" : "OwnedCells";
}

std::string StoreParamName(const testing::TestParamInfo<StoreParam>& info) {
  return std::get<0>(info.param).name + "_" + StorageName(std::get<1>(info.param));
}

class QuietExportUi : public ExportUi {
 public:
  void ResetStatusPanes() override {}
  void SetRecordCountPane(const std::string&) override {}
  void SetElapsedPane(long) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void ShowMessage(const std::string&, MessageIcon, const std::string&) override {}
};

class DbGridStorageSuite : public testing::TestWithParam<StoreParam> {
 protected:
  void SetUp() override {
    EnsureApp();
    db_ = std::make_unique<ScratchDb>(std::get<0>(GetParam()), std::vector<std::string>{"qs_items"});
    db_->Run({"CREATE TABLE qs_items (id INTEGER PRIMARY KEY, name VARCHAR(20), qty INTEGER)",
              "INSERT INTO qs_items VALUES (1, 'pear', 3)", "INSERT INTO qs_items VALUES (2, 'apple', NULL)",
              "INSERT INTO qs_items VALUES (3, NULL, 10)", "INSERT INTO qs_items VALUES (4, 'fig', 7)"});
  }
  void TearDown() override {
    window_.reset();
    db_.reset();
  }
  void Open(GridOptions options) {
    window_ = std::make_unique<GridWindow>(options, "<null>", QSize{900, 420}, std::get<1>(GetParam()));
    ASSERT_EQ(Grid().GetStorage(), std::get<1>(GetParam()));
    ASSERT_TRUE(window_->Run(db_->ConnectionString(), "SELECT id, name, qty FROM qs_items ORDER BY id"));
  }
  CDbGridCtrl& Grid() { return window_->Grid(); }
  int Row(int i) { return Grid().GetFirstDataRow() + i; }

  std::unique_ptr<ScratchDb> db_;
  std::unique_ptr<GridWindow> window_;
};

TEST_P(DbGridStorageSuite, TypedCellsShowTheirValuesLooksAndNulls) {
  GridOptions options;
  options.colorize = true;
  options.displayRecno = true;
  Open(options);
  EXPECT_EQ(window_->Column(kId), (Texts{"1", "2", "3", "4"}));
  EXPECT_EQ(window_->Column(kName), (Texts{"pear", "apple", "<null>", "fig"}));
  EXPECT_EQ(window_->Column(kQty), (Texts{"3", "<null>", "10", "7"}));
  EXPECT_EQ(window_->Column(0), (Texts{"1", "2", "3", "4"}));
  EXPECT_EQ(Grid().GetCellType(Row(0), kId), gctInteger);
  EXPECT_EQ(Grid().GetCellInteger(Row(2), kQty), 10);
  EXPECT_EQ(Grid().GetCellType(Row(0), kName), gctText);
  EXPECT_TRUE(Grid().GetCellFormat(Row(0), kQty) & DT_RIGHT);
  EXPECT_EQ(Grid().GetCellBackColour(Row(1), kQty), RGB(255, 200, 200));
  EXPECT_EQ(Grid().GetCellBackColour(Row(0), kQty), GetColumnTypeInfo(gctInteger).colour);
  EXPECT_TRUE(Grid().GetCellState(Row(0), 0) & kCellFixed);
  EXPECT_FALSE(Grid().GetModified(Row(0), kName));
}

TEST_P(DbGridStorageSuite, SortingAndFilteringReReadTheRowsThroughTheRecordset) {
  GridOptions options;
  options.useFilters = true;
  options.displayRecno = true;
  Open(options);
  window_->Click(0, kId);
  window_->Click(0, kId);  // descending
  EXPECT_EQ(window_->Column(kId), (Texts{"4", "3", "2", "1"}));
  EXPECT_EQ(window_->Column(kName), (Texts{"fig", "<null>", "apple", "pear"}));
  window_->TypeFilter(kName, "p");
  EXPECT_EQ(window_->Column(kId), (Texts{"1"}));
  EXPECT_EQ(window_->Column(kQty), (Texts{"3"}));
  EXPECT_EQ(window_->Column(0), (Texts{"1"}));
  window_->TypeFilter(kName, "");
  EXPECT_EQ(window_->Column(kId), (Texts{"4", "3", "2", "1"}));
}

TEST_P(DbGridStorageSuite, AnEditIsWrittenBackAndShownAfterASort) {
  Open(GridOptions{});
  Grid().SetEditable(true);
  TypeIntoCell(*window_, Row(1), kName, "plum");
  EXPECT_EQ(ReadBack(db_->ConnectionString(), "SELECT name FROM qs_items WHERE id = 2"), "plum");
  EXPECT_EQ(Grid().GetCellText(Row(1), kName), "plum");
  window_->Click(0, kId);
  window_->Click(0, kId);
  EXPECT_EQ(window_->Column(kName), (Texts{"fig", "<null>", "plum", "pear"}));
}

TEST_P(DbGridStorageSuite, CopyPrintAndCsvExportReadTheShownValues) {
  Open(GridOptions{});
  window_->Click(0, kId);
  window_->Click(0, kId);
  Grid().SelectRange(Row(0), kId, Row(1), kQty);
  EXPECT_EQ(Grid().BuildSelectionText(), "4\tfig\t7\r\n3\t<null>\t10");

  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("grid.pdf"));
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    Grid().Print(printer);
  }
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString printed = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(printed.contains(QStringLiteral("apple"))) << printed.toStdString();
  EXPECT_LT(printed.indexOf(QStringLiteral("fig")), printed.indexOf(QStringLiteral("pear"))) << printed.toStdString();

  // The export reads the recordset in the order the grid shows.
  const std::string csv = dir.filePath(QStringLiteral("rows.csv")).toStdString();
  QuietExportUi ui;
  Grid().GetRecordset()->MoveFirst();
  ASSERT_TRUE(WriteCsvFile(csv, *Grid().GetRecordset(), ",", ui));
  std::ifstream in(csv);
  std::string line;
  Texts ids;
  std::getline(in, line);  // the header
  while (std::getline(in, line))
    if (!line.empty()) ids.push_back(line.substr(0, line.find(',')));
  EXPECT_EQ(ids, window_->Column(kId));
}

TEST_P(DbGridStorageSuite, MakingRowsLeavesTheSelectedRecordCurrent) {
  Open(GridOptions{});
  window_->Click(Row(2), kName);
  ASSERT_EQ(Grid().GetRecordset()->GetFieldVariantIdx(0).ToText(), "3");
  Grid().Update(false);  // every row read again
  EXPECT_EQ(window_->Column(kQty), (Texts{"3", "<null>", "10", "7"}));
  Grid().viewport()->repaint();
  EXPECT_EQ(Grid().GetRecordset()->GetFieldVariantIdx(0).ToText(), "3");
}

INSTANTIATE_TEST_SUITE_P(Stores, DbGridStorageSuite,
                         testing::Combine(testing::ValuesIn(TestDbs()),
                                          testing::Values(DbGridStorage::OwnedCells, DbGridStorage::Recordset)),
                         StoreParamName);

// Every property of every data cell, as the grid reads it.
Texts Snapshot(CDbGridCtrl& grid) {
  Texts cells;
  for (int row = grid.GetFirstDataRow(); row < grid.GetRowCount(); ++row)
    for (int col = 0; col < grid.GetColumnCount(); ++col)
      cells.push_back(std::to_string(row) + "," + std::to_string(col) + " " + grid.GetCellText(row, col) + " | " +
                      std::to_string(grid.GetCellType(row, col)) + " " +
                      std::to_string(grid.GetCellBackColour(row, col)) + " " +
                      std::to_string(grid.GetCellTextColour(row, col)) + " " +
                      std::to_string(grid.GetCellFormat(row, col)) + " " + std::to_string(grid.GetCellData(row, col)) +
                      " " + std::to_string(grid.GetCellState(row, col) & ~(kCellSelected | kCellFocused)));
  return cells;
}

class DbGridStorage_ : public testing::TestWithParam<TestDb> {};

TEST_P(DbGridStorage_, RecordsetCellsMatchOwnedCellsCellByCell) {
  EnsureApp();
  ScratchDb db(GetParam(), {"qs_typed"});
  const TestDb& d = GetParam();
  db.Run({"CREATE TABLE qs_typed (id INTEGER PRIMARY KEY, name VARCHAR(20), n INTEGER, x " + d.doubleType +
              ", dt DATE, flag BOOLEAN, raw " + d.blobType + ")",
          "INSERT INTO qs_typed VALUES (1, 'one', 1234567, 3.5, '2003-02-01', TRUE, NULL)",
          "INSERT INTO qs_typed VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL)",
          "INSERT INTO qs_typed VALUES (3, 'three', -5, -0.25, '1999-12-31', FALSE, NULL)"});
  GridOptions options;
  options.colorize = true;
  options.displayRecno = true;
  options.useFilters = true;
  options.viewDetails = true;
  GridWindow owned(options, "<null>", {900, 420}, DbGridStorage::OwnedCells);
  GridWindow made(options, "<null>", {900, 420}, DbGridStorage::Recordset);
  const std::string sql = "SELECT * FROM qs_typed ORDER BY id";
  ASSERT_TRUE(owned.Run(db.ConnectionString(), sql));
  ASSERT_TRUE(made.Run(db.ConnectionString(), sql));
  EXPECT_EQ(Snapshot(made.Grid()), Snapshot(owned.Grid()));
  for (int col = 0; col < owned.Grid().GetColumnCount(); ++col)
    EXPECT_EQ(made.Grid().GetColumnWidth(col), owned.Grid().GetColumnWidth(col)) << col;
  owned.Click(0, 3);
  made.Click(0, 3);
  EXPECT_EQ(Snapshot(made.Grid()), Snapshot(owned.Grid()));
}

INSTANTIATE_TEST_SUITE_P(Databases, DbGridStorage_, testing::ValuesIn(TestDbs()), TestDbName);

// The recordset-backed grid holds the cells of the rows it shows, not of the records.
TEST(DbGridStorageMemory, TheResultGridHoldsNoCopyOfTheRecords) {
  EnsureApp();
  TestDb sqlite = TestDbs().front();
  ASSERT_TRUE(sqlite.isSqlite);
  ScratchDb db(sqlite, {"qs_many"});
  db.Run({"CREATE TABLE qs_many (id INTEGER PRIMARY KEY, name VARCHAR(20), qty INTEGER)",
          "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 20000) "
          "INSERT INTO qs_many SELECT x, 'name ' || x, x % 97 FROM c"});
  const std::string sql = "SELECT * FROM qs_many ORDER BY id";
  GridWindow owned(GridOptions{}, "<null>", {900, 420}, DbGridStorage::OwnedCells);
  GridWindow made(GridOptions{}, "<null>", {900, 420}, DbGridStorage::Recordset);
  ASSERT_TRUE(owned.Run(db.ConnectionString(), sql));
  ASSERT_TRUE(made.Run(db.ConnectionString(), sql));
  Settle();
  const std::size_t cols = 4;
  EXPECT_EQ(made.Grid().GetRowCount(), 20001);
  EXPECT_GE(owned.Grid().GetCellStore().HeldSlotCount(), 20001 * cols);
  // The header and the rows on screen only.
  EXPECT_LE(made.Grid().GetCellStore().HeldSlotCount(), 100 * cols);

  // Reading every row keeps a bounded number of them made; a typed-over cell stays.
  made.Grid().SetCellText(made.Grid().GetFirstDataRow() + 5, kName, "typed");
  long long sum = 0;
  for (int row = made.Grid().GetFirstDataRow(); row < made.Grid().GetRowCount(); ++row)
    sum += made.Grid().GetCellInteger(row, kId);
  EXPECT_EQ(sum, 20000LL * 20001 / 2);
  EXPECT_LE(made.Grid().GetCellStore().HeldSlotCount(), (RecordsetCellStore::kMadeRowLimit + 2) * cols);
  EXPECT_EQ(made.Grid().GetCellText(made.Grid().GetFirstDataRow() + 5, kName), "typed");
  EXPECT_EQ(made.Grid().GetCellText(made.Grid().GetFirstDataRow() + 19999, kName), "name 20000");

  // Scrolled to the end, the last rows show their records.
  made.Grid().EnsureVisible(made.Grid().GetRowCount() - 1, kName);
  Settle();
  EXPECT_EQ(made.Grid().GetCellText(made.Grid().GetRowCount() - 1, kQty), std::to_string(20000 % 97));
}

// A new result over a big one: the old rows are freed on the background thread, and the grid,
// painted, copied and read at once, shows only the new result (the sanitizer build sees any read
// of the freed rows).
TEST(DbGridStorageMemory, ANewResultFreesTheOldRowsOffThisThreadAndShowsOnlyItsOwn) {
  EnsureApp();
  TestDb sqlite = TestDbs().front();
  ASSERT_TRUE(sqlite.isSqlite);
  ScratchDb db(sqlite, {"qs_big"});
  db.Run({"CREATE TABLE qs_big (id INTEGER PRIMARY KEY, name VARCHAR(60), qty INTEGER)",
          "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 200000) "
          "INSERT INTO qs_big SELECT x, printf('row %050d', x), x % 97 FROM c"});
  GridWindow window(GridOptions{});
  ASSERT_TRUE(window.Run(db.ConnectionString(), "SELECT * FROM qs_big ORDER BY id"));
  CDbGridCtrl& grid = window.Grid();
  const std::size_t oldBytes = AdoRecordsetOf(*grid.GetRecordset())->MemoryBytes();
  ASSERT_GE(oldBytes, ado::kBackgroundReleaseBytes);
  grid.EnsureVisible(grid.GetRowCount() - 1, kName);
  Settle();
  const std::size_t releasedBefore = ado::BackgroundReleasedBytes();

  ASSERT_TRUE(window.Run(db.ConnectionString(), "SELECT * FROM qs_big WHERE id > 199990 ORDER BY id DESC"));
  window.Window().grab();
  grid.SelectAllCells();
  grid.CopyToClipboard();
  EXPECT_EQ(grid.GetRowCount(), grid.GetFirstDataRow() + 10);
  EXPECT_EQ(grid.GetCellText(grid.GetFirstDataRow(), kId), "200000");
  EXPECT_EQ(grid.GetCellText(grid.GetRowCount() - 1, kName), "row " + std::string(44, '0') + "199991");

  ado::WaitForBackgroundReleases();
  EXPECT_GE(ado::BackgroundReleasedBytes() - releasedBefore, oldBytes);
}

// Records that arrive after the fill (here one added through the recordset) join the grid as rows
// without disturbing the rows shown, their selection or their typed texts.
TEST_P(DbGridStorage_, SyncRowCountAddsTheRecordsReadableNowAndKeepsTheShownRows) {
  EnsureApp();
  ScratchDb db(GetParam(), {"qs_sync"});
  db.Run({"CREATE TABLE qs_sync (id INTEGER PRIMARY KEY, name VARCHAR(20))", "INSERT INTO qs_sync VALUES (1, 'one')",
          "INSERT INTO qs_sync VALUES (2, 'two')", "INSERT INTO qs_sync VALUES (3, 'three')"});
  GridWindow window(GridOptions{});
  ASSERT_TRUE(window.Run(db.ConnectionString(), "SELECT id, name FROM qs_sync ORDER BY id"));
  CDbGridCtrl& grid = window.Grid();
  const int first = grid.GetFirstDataRow();
  grid.SetCellText(first + 1, kName, "typed");
  grid.SelectRange(first, 1, first, 2);
  grid.SyncRowCountFromRecordset();
  EXPECT_EQ(grid.GetRowCount(), first + 3);

  DbRecordset& rs = *grid.GetRecordset();
  rs.AddNew();
  rs.SetFieldValue("id", std::string("4"));
  rs.SetFieldValue("name", std::string("four"));
  rs.Update();
  grid.SyncRowCountFromRecordset();
  EXPECT_EQ(grid.GetRowCount(), first + 4);
  EXPECT_EQ(grid.GetCellText(first + 3, kName), "four");
  EXPECT_EQ(grid.GetCellText(first + 3, kId), "4");
  EXPECT_FALSE(grid.GetModified(first + 3, kName));
  EXPECT_EQ(grid.GetCellText(first + 1, kName), "typed");
  EXPECT_EQ(grid.GetSelectedCount(), 2);

  // Within the row limit, which the corner then names.
  GridOptions limited;
  limited.maxDataRows = 4;
  grid.SetOptions(limited);
  grid.Update(true);
  rs.AddNew();
  rs.SetFieldValue("id", std::string("5"));
  rs.SetFieldValue("name", std::string("five"));
  rs.Update();
  grid.SyncRowCountFromRecordset();
  EXPECT_EQ(grid.GetRowCount(), grid.GetFirstDataRow() + 4);
  EXPECT_EQ(grid.GetCellText(0, 0), "top 4 rows");
}

}  // namespace
