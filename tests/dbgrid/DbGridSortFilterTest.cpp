// Sorting by header clicks and filtering through the filter row, driven with the mouse and the
// keyboard on a real database (SQLite, and PostgreSQL when QELVO_TEST_PG names one).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "platform/framework/ScriptedPrompts.h"
#include "tests/dbgrid/DbGridTestSupport.h"

using namespace dbgridtest;

namespace {

// Grid columns: 1 id, 2 Customer Name, 3 F3, 4 qty, 5 F5, 6 price, 7 active, 8 d.
constexpr int kName = 2, kF3 = 3, kQty = 4, kF5 = 5, kPrice = 6, kActive = 7, kDate = 8;

class DbGridSortFilter : public testing::TestWithParam<TestDb> {
 protected:
  void SetUp() override {
    EnsureApp();
    db_ = std::make_unique<ScratchDb>(GetParam(), std::vector<std::string>{"qg_orders"});
    db_->Run(
        {"CREATE TABLE qg_orders (id INTEGER PRIMARY KEY, \"Customer Name\" VARCHAR(40), \"F3\" VARCHAR(10), "
         "qty INTEGER, \"F5\" INTEGER, price " +
             GetParam().doubleType + ", active BOOLEAN, d DATE)",
         "INSERT INTO qg_orders VALUES (1, 'abc corp', 'c', 10, 3, 1.5, TRUE, '2003-01-31')",
         "INSERT INTO qg_orders VALUES (2, 'Abcdef', 'a', 1500, 1, 2.25, FALSE, '2003-02-01')",
         "INSERT INTO qg_orders VALUES (3, 'O''Brien', 'e', 5, 5, NULL, TRUE, '2003-02-05')",
         "INSERT INTO qg_orders VALUES (4, 'xyz', 'b', 5, 2, 1234.5, FALSE, '2003-02-06')",
         "INSERT INTO qg_orders VALUES (5, NULL, 'd', NULL, 4, 3.0, TRUE, NULL)"});
    GridOptions options;
    options.useFilters = true;
    options.sortable = true;
    window_ = std::make_unique<GridWindow>(options);
  }

  void TearDown() override {
    window_.reset();
    db_.reset();
  }

  CDbGridCtrl& Grid() { return window_->Grid(); }
  void Run() { ASSERT_TRUE(window_->Run(db_->ConnectionString(), kQuery)); }
  std::vector<std::string> Ids() { return window_->Column(1); }

  static constexpr const char* kQuery = "SELECT * FROM qg_orders ORDER BY id";
  std::unique_ptr<ScratchDb> db_;
  std::unique_ptr<GridWindow> window_;
};

using Texts = std::vector<std::string>;

TEST_P(DbGridSortFilter, HeaderClicksSortAscendingThenFlipThenKeepTheDirectionOnANewColumn) {
  Run();
  TraceCapture trace;
  window_->Click(0, kF3);
  EXPECT_EQ(window_->Column(kF3), (Texts{"a", "b", "c", "d", "e"}));
  window_->Click(0, kF3);
  EXPECT_EQ(window_->Column(kF3), (Texts{"e", "d", "c", "b", "a"}));
  window_->Click(0, kF5);
  EXPECT_EQ(window_->Column(kF5), (Texts{"5", "4", "3", "2", "1"}));
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::SortRecordset() : criteria : "), (Texts{"[F3] ASC", "[F3] DESC", "[F5] DESC"}));
  EXPECT_EQ(Grid().GetSortColumn(), kF5);
  EXPECT_FALSE(Grid().GetSortAscending());
}

TEST_P(DbGridSortFilter, TheCornerClickRemovesTheIndicatorButKeepsTheOrder) {
  Run();
  window_->Click(0, kF5);
  const Texts sorted = Ids();
  window_->Click(0, 0);
  EXPECT_EQ(Grid().GetSortColumn(), -1);
  EXPECT_TRUE(Grid().GetSortAscending());
  EXPECT_EQ(Ids(), sorted);
}

TEST_P(DbGridSortFilter, TextFilterIsATrimmedCaseBlindPrefixMatch) {
  Run();
  TraceCapture trace;
  window_->TypeFilter(kName, "  abc  ");
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::FilterRecordset() : criteria is "), (Texts{"[Customer Name] like 'abc%'"}));
  EXPECT_EQ(Ids(), (Texts{"1", "2"}));
  EXPECT_EQ(Grid().GetCellImage(Grid().GetFilterRow(), 0), kDbGridImageFilterOn);

  window_->TypeFilter(kName, "o'b");
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::FilterRecordset() : criteria is ").back(), "[Customer Name] like 'o''b%'");
  EXPECT_EQ(Ids(), (Texts{"3"}));
}

TEST_P(DbGridSortFilter, SelectAllInAFilterCellSelectsItsText) {
  Run();
  window_->TypeFilter(kF3, "b");
  ASSERT_EQ(Ids(), (Texts{"4"}));
  // On the filter cell without an editor: Ctrl+A opens it with the whole text selected, so that
  // typing replaces the filter.
  Grid().SetFocusCell(Grid().GetFilterRow(), kF3);
  QTest::keyClick(&Grid(), Qt::Key_A, Qt::ControlModifier);
  auto* editor = qobject_cast<QLineEdit*>(Grid().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->selectedText().toStdString(), "b");
  QTest::keyClicks(editor, QStringLiteral("c"));
  QTest::keyClick(editor, Qt::Key_Return);
  Settle();
  EXPECT_EQ(Grid().GetCellText(Grid().GetFilterRow(), kF3), "c");
  EXPECT_EQ(Ids().size(), 1u);

  // With the editor open, the Edit menu's Select All takes its text too.
  Grid().SetFocusCell(Grid().GetFilterRow(), kF3);
  window_->Click(Grid().GetFilterRow(), kF3);
  editor = qobject_cast<QLineEdit*>(Grid().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(editor->hasSelectedText());
  EXPECT_TRUE(Grid().IsCommandEnabled(kCmdEditSelectAll));
  EXPECT_TRUE(Grid().OnCommand(kCmdEditSelectAll));
  EXPECT_EQ(editor->selectedText().toStdString(), "c");
  EXPECT_EQ(Grid().GetEditor(), editor) << "the edit goes on";

  // A data cell keeps Select All's meaning: every cell.
  QTest::keyClick(editor, Qt::Key_Escape);
  Settle();
  Grid().SetFocusCell(Grid().GetFirstDataRow(), kF3);
  QTest::keyClick(&Grid(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Grid().GetEditor(), nullptr);
  EXPECT_GT(Grid().GetSelectedCount(), 1);
}

TEST_P(DbGridSortFilter, FiltersOfTwoColumnsAreJoinedWithAnd) {
  Run();
  TraceCapture trace;
  window_->TypeFilter(kQty, "5");
  EXPECT_EQ(Ids(), (Texts{"3", "4"}));
  window_->TypeFilter(kF3, "e");
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::FilterRecordset() : criteria is ").back(), "F3 like 'e%' AND qty=5");
  EXPECT_EQ(Ids(), (Texts{"3"}));
}

TEST_P(DbGridSortFilter, NumericFilterDropsTheItalianGrouping) {
  ScopedUserLocale italian("it_IT.UTF-8");
  Run();
  TraceCapture trace;
  window_->TypeFilter(kPrice, "1.234,5");
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::FilterRecordset() : criteria is ").back(), "price=1234,5");
  EXPECT_EQ(Ids(), (Texts{"4"}));
  EXPECT_EQ(window_->Column(kPrice), (Texts{"1234,50"}));
}

TEST_P(DbGridSortFilter, CheckBoxFilterTakesNonZeroAsChecked) {
  Run();
  TraceCapture trace;
  window_->TypeFilter(kActive, "1");
  EXPECT_EQ(Ids(), (Texts{"1", "3", "5"}));
  window_->TypeFilter(kActive, "no");
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::FilterRecordset() : criteria is "), (Texts{"active<>0", "active=0"}));
  EXPECT_EQ(Ids(), (Texts{"2", "4"}));
}

TEST_P(DbGridSortFilter, DateFilterIsNormalisedAndCoversWholeDays) {
  Run();
  TraceCapture trace;
  const int filterRow = Grid().GetFilterRow();
  window_->TypeFilter(kDate, "1/2/2003; 5/2/2003");
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::FilterRecordset() : criteria is ").back(),
            "d >= '2003-02-01' AND d <= '2003-02-05 23:59:59'");
  EXPECT_EQ(Grid().GetCellText(filterRow, kDate), "01/02/2003 05/02/2003");
  EXPECT_EQ(Ids(), (Texts{"2", "3"}));

  window_->TypeFilter(kDate, "6.2.03");
  EXPECT_EQ(Grid().GetCellText(filterRow, kDate), "06/02/2003");
  EXPECT_EQ(Ids(), (Texts{"4"}));

  // Not a date: the text stays and says why; no condition is left, so every row comes back.
  QSignalSpy refused(&Grid(), &CDbGridCtrl::FilterRefused);
  window_->TypeFilter(kDate, "someday");
  EXPECT_EQ(Grid().GetCellText(filterRow, kDate), "someday");
  ASSERT_EQ(refused.count(), 1);
  EXPECT_EQ(refused.at(0).at(0).toString().toStdString(), "Filter on d: \"someday\" is not a date (day/month/year).");
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::FilterRecordset() : criteria is ").back(), "");
  EXPECT_EQ(Ids().size(), 5u);
  EXPECT_EQ(Grid().GetCellImage(filterRow, 0), kDbGridImageNoFilter);
}

TEST_P(DbGridSortFilter, ClearingTheLastFilterTextTurnsTheMarkerOff) {
  Run();
  window_->TypeFilter(kF3, "b");
  ASSERT_EQ(Ids(), (Texts{"4"}));
  window_->TypeFilter(kF3, "");
  EXPECT_EQ(Ids().size(), 5u);
  EXPECT_EQ(Grid().GetCellImage(Grid().GetFilterRow(), 0), kDbGridImageNoFilter);
}

TEST_P(DbGridSortFilter, AClickOnTheFilterRowMarkerClearsEveryFilter) {
  Run();
  window_->TypeFilter(kF3, "b");
  window_->TypeFilter(kQty, "5");
  ASSERT_EQ(Ids(), (Texts{"4"}));
  window_->Click(Grid().GetFilterRow(), 0);
  EXPECT_EQ(Ids().size(), 5u);
  EXPECT_EQ(Grid().GetCellText(Grid().GetFilterRow(), kF3), "");
  EXPECT_EQ(Grid().GetCellText(Grid().GetFilterRow(), kQty), "");
  EXPECT_EQ(Grid().GetCellImage(Grid().GetFilterRow(), 0), kDbGridImageNoFilter);
}

TEST_P(DbGridSortFilter, AFilterRemovesTheIndicatorSoTheNextClickKeepsTheDirection) {
  Run();
  TraceCapture trace;
  window_->Click(0, kF3);
  ASSERT_EQ(Grid().GetSortColumn(), kF3);
  window_->TypeFilter(kQty, "5");
  EXPECT_EQ(Grid().GetSortColumn(), -1);
  EXPECT_EQ(window_->Column(kF3), (Texts{"b", "e"}));  // still sorted
  window_->Click(0, kF3);
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::SortRecordset() : criteria : "), (Texts{"[F3] ASC", "[F3] ASC"}));
  EXPECT_EQ(Grid().GetSortColumn(), kF3);
}

TEST_P(DbGridSortFilter, ARejectedFilterKeepsTheRowsAndTheMarkerWithoutAMessage) {
  PromptCapture prompts;
  Run();
  window_->TypeFilter(kF3, "b");
  ASSERT_EQ(Ids(), (Texts{"4"}));
  QSignalSpy refused(&Grid(), &CDbGridCtrl::FilterRefused);
  window_->TypeFilter(kQty, "many");
  EXPECT_EQ(Ids(), (Texts{"4"}));
  EXPECT_EQ(Grid().GetCellImage(Grid().GetFilterRow(), 0), kDbGridImageFilterOn);
  EXPECT_TRUE(prompts.Prompts().Messages().empty());
  // The status bar gets the reason instead.
  ASSERT_EQ(refused.count(), 1);
  EXPECT_EQ(refused.at(0).at(0).toString().left(20).toStdString(), "Filter not applied: ");
  EXPECT_GT(refused.at(0).at(0).toString().size(), 20);
  EXPECT_EQ(Grid().GetCellText(Grid().GetFilterRow(), kQty), "many");
}

TEST_P(DbGridSortFilter, RerunningTheQueryAppliesTheSortAndTheFilterTextsAgain) {
  Run();
  window_->TypeFilter(kQty, "5");
  window_->Click(0, kF5);
  ASSERT_EQ(Ids(), (Texts{"4", "3"}));
  TraceCapture trace;
  Run();
  EXPECT_EQ(Grid().GetCellText(Grid().GetFilterRow(), kQty), "5");
  EXPECT_EQ(Ids(), (Texts{"4", "3"}));
  EXPECT_EQ(trace.Quoted("CDbGridCtrl::SortRecordset() : criteria : "), (Texts{"[F5] ASC"}));
  EXPECT_EQ(Grid().GetCellImage(Grid().GetFilterRow(), 0), kDbGridImageFilterOn);
}

TEST_P(DbGridSortFilter, TheSelectedRowIsTheRecordsetsCurrentRecord) {
  Run();
  window_->Click(0, kF3);  // sorted: ids 2 4 1 5 3
  const int row = Grid().GetFirstDataRow() + 3;
  window_->Click(row, kQty);
  EXPECT_EQ(Grid().GetRecordset()->GetFieldValueIdx(0), "5");
  EXPECT_EQ(Grid().GetCellText(row, 1), "5");
  ASSERT_TRUE(Grid().FindRowByKey(4));
  EXPECT_EQ(Grid().GetRecordset()->GetFieldValueIdx(0), "4");
  EXPECT_EQ(Grid().GetFocusCell().row, Grid().GetFirstDataRow() + 1);
  EXPECT_FALSE(Grid().FindRowByKey(99));
}

TEST_P(DbGridSortFilter, FilterCellsAlwaysTakeTypingDataCellsOnlyWithInPlaceEditOn) {
  Run();
  ASSERT_FALSE(Grid().IsEditable());
  EXPECT_TRUE(Grid().IsCellEditable(Grid().GetFilterRow(), kF3));
  const int row = Grid().GetFirstDataRow();
  window_->Click(row, kF3);
  window_->Click(row, kF3);
  EXPECT_EQ(Grid().GetEditor(), nullptr);
  EXPECT_FALSE(Grid().GetFrameFocusCell());
  Grid().SetEditable(true);
  EXPECT_TRUE(Grid().GetFrameFocusCell());
  window_->Click(row, kF3);
  ASSERT_NE(Grid().GetEditor(), nullptr);
  // Escape leaves the cell and the database as they were.
  QTest::keyClick(Grid().GetEditor(), Qt::Key_Escape);
  Settle();
  EXPECT_EQ(Grid().GetCellText(row, kF3), "c");
  Grid().SetEditable(false);
  EXPECT_FALSE(Grid().GetFrameFocusCell());
  // The focus frame shows where typing goes: on a filter cell always.
  window_->Click(Grid().GetFilterRow(), kF3);
  EXPECT_TRUE(Grid().GetFrameFocusCell());
}

TEST_P(DbGridSortFilter, SortAndFilterTellTheOwnerBeforeAndAfter) {
  Run();
  QSignalSpy sortChanging(&Grid(), &CDbGridCtrl::SortChanging), sortChanged(&Grid(), &CDbGridCtrl::SortChanged);
  QSignalSpy filterChanging(&Grid(), &CDbGridCtrl::FilterChanging);
  QSignalSpy filterChanged(&Grid(), &CDbGridCtrl::FilterChanged);
  window_->Click(0, kQty);
  EXPECT_EQ(sortChanging.count(), 1);
  EXPECT_EQ(sortChanged.count(), 1);
  window_->TypeFilter(kF3, "a");
  EXPECT_EQ(filterChanging.count(), 1);
  EXPECT_EQ(filterChanged.count(), 1);
  // A refused filter is announced but never reported as changed.
  window_->TypeFilter(kQty, "many");
  EXPECT_EQ(filterChanging.count(), 2);
  EXPECT_EQ(filterChanged.count(), 1);
}

TEST_P(DbGridSortFilter, ReopenRunsTheSameTextOnTheSameConnection) {
  Run();
  db_->Run({"DELETE FROM qg_orders WHERE id = 2"});
  ASSERT_TRUE(Grid().ReopenRecordset());
  Grid().Update(false);
  EXPECT_EQ(Ids(), (Texts{"1", "3", "4", "5"}));
  EXPECT_EQ(Grid().GetConnectionString(), db_->ConnectionString());
  ASSERT_TRUE(Grid().OpenRecordset(kQuery));
  EXPECT_EQ(Grid().GetConnectionString(), "");
  EXPECT_EQ(Grid().GetSql(), kQuery);
}

// The filter-row toggle and the configuration editor change the options of a grid that shows a
// result: the first data row moves, and what was sorted and filtered must stay so.
TEST_P(DbGridSortFilter, NewOptionsLayTheGridOutAgainAndKeepSortAndFilter) {
  Run();
  window_->TypeFilter(kQty, "5");
  window_->Click(0, kF5);
  ASSERT_EQ(Ids(), (Texts{"4", "3"}));
  GridOptions options = Grid().GetOptions();
  options.viewDetails = true;
  Grid().SetOptions(options);
  Grid().Update(false);  // a run without a connection string only refreshes
  EXPECT_EQ(Grid().GetFirstDataRow(), 6);
  EXPECT_EQ(Grid().GetCellText(1, 0), "Type");
  EXPECT_EQ(Grid().GetCellText(Grid().GetFilterRow(), kQty), "5");
  EXPECT_EQ(Ids(), (Texts{"4", "3"}));
  EXPECT_EQ(Grid().GetCellImage(Grid().GetFilterRow(), 0), kDbGridImageFilterOn);

  // Without the filter row the filter goes too: nothing on screen could remove it.
  options.useFilters = false;
  Grid().SetOptions(options);
  Grid().Update(false);
  EXPECT_EQ(Grid().GetFirstDataRow(), 5);
  EXPECT_EQ(Ids(), (Texts{"2", "4", "1", "5", "3"}));
}

TEST_P(DbGridSortFilter, TurningTheFilterRowOnDoesNotTurnARecordIntoAFilter) {
  GridOptions options = Grid().GetOptions();
  options.useFilters = false;
  Grid().SetOptions(options);
  Run();
  ASSERT_EQ(Ids().size(), 5u);
  options.useFilters = true;
  Grid().SetOptions(options);
  Run();
  EXPECT_EQ(Ids().size(), 5u);
  EXPECT_EQ(Grid().GetCellText(Grid().GetFilterRow(), kF3), "");

  // The same when the grid is only laid out again over the rows it shows, without an open.
  options.useFilters = false;
  Grid().SetOptions(options);
  Grid().Update(false);
  options.useFilters = true;
  Grid().SetOptions(options);
  Grid().Update(false);
  EXPECT_EQ(Grid().GetCellText(Grid().GetFilterRow(), kF3), "");
  EXPECT_EQ(Ids().size(), 5u);
  Run();
  EXPECT_EQ(Ids().size(), 5u) << "a record's text in the filter row became a filter";
}

INSTANTIATE_TEST_SUITE_P(Databases, DbGridSortFilter, testing::ValuesIn(TestDbs()), TestDbName);

}  // namespace
