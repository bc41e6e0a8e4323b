// A result of 200,000 rows arriving on the worker thread while the window shows them: rows on
// screen before the end, Stop (Esc in the grid or the query, the toolbar button) keeping a
// prefix and saying how many rows, a second Execute during a fetch, and closing during one.
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>

#include "grid/db/DbGridCtrl.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/StatusPaneText.h"

namespace e2e {
namespace {

constexpr long kRows = 200'000;
// Each row costs the database some work, so that the rows take a while to arrive.
const char* const kSlowQuery = "SELECT ID, Name, Qty, length(hex(randomblob(1000))) AS Noise FROM Big";

class FetchWhileShowingTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    db_ = data_.File("big.db");
    MakeSqliteDatabase(db_, {"CREATE TABLE Big (ID INTEGER PRIMARY KEY, Name VARCHAR(40), Qty INTEGER)",
                             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                                 std::to_string(kRows) + ") INSERT INTO Big SELECT i, 'Name ' || i, i % 100 FROM n",
                             "CREATE TABLE Small (ID INTEGER PRIMARY KEY, Name VARCHAR(40))",
                             "INSERT INTO Small VALUES (1, 'one'), (2, 'two')"});
  }

  // Starts the slow query and waits until the grid shows rows while more are still coming.
  Program& StartFetching() {
    Program& p = Start();
    p.TypeConnection(SqliteConnectionString(db_));
    p.TypeQuery(kSlowQuery);
    p.StartExecute();
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.DataRowCount() > 0 || !p.Bottom().IsFetching(); }, 60000));
    return p;
  }

  std::string StatusMessage(Program& p) { return p.Frame().statusBar()->currentMessage().toStdString(); }

  // After a stop: the grid holds the first `rows` records in order, and the panes say so.
  void ExpectStoppedWithPrefix(Program& p) {
    EXPECT_FALSE(p.Bottom().IsFetching());
    const int rows = p.DataRowCount();
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, kRows);
    EXPECT_EQ(StatusMessage(p), StoppedAfterText(rows));
    EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), std::to_string(rows));
    EXPECT_FALSE(p.Pane(ID_INDICATOR_ELAPSED).empty());
    const int first = p.Grid().GetFirstDataRow();
    EXPECT_EQ(p.Cell(first, 1), "1");
    EXPECT_EQ(p.Cell(first + rows - 1, 1), std::to_string(rows));
    EXPECT_EQ(p.Cell(first + rows - 1, 2), "Name " + std::to_string(rows));
    EXPECT_FALSE(p.IsEnabled(ID_STOP));
    // What waited for the end is open again: sorting the rows kept, the export.
    EXPECT_TRUE(p.IsEnabled(ID_EXPORT));
    p.Grid().SortRecordset(1, false);
    EXPECT_EQ(p.Cell(first, 1), std::to_string(rows));
  }

  std::string db_;
};

}  // namespace

TEST_F(FetchWhileShowingTest, RowsShowBeforeTheFetchEndsAndOnlyStopIsOfferedMeanwhile) {
  Program& p = StartFetching();
  ASSERT_TRUE(p.Bottom().IsFetching()) << "the fetch ended before a row was seen";
  const int first = p.Grid().GetFirstDataRow();
  EXPECT_EQ(p.Cell(first, 1), "1");
  EXPECT_EQ(p.Cell(first, 2), "Name 1");
  // The row count grows, and the record-count pane with it, while the rows arrive.
  const int seen = p.DataRowCount();
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.DataRowCount() > seen || !p.Bottom().IsFetching(); }, 60000));
  // Only Stop is offered while they arrive: no export, no record form, no sort.
  if (p.Bottom().IsFetching()) {
    Screenshot("fetching");
    EXPECT_NE(p.Pane(ID_INDICATOR_RECORDS), "");
    EXPECT_EQ(StatusMessage(p), FetchingText());
    EXPECT_TRUE(p.IsEnabled(ID_STOP));
    EXPECT_FALSE(p.IsEnabled(ID_EXPORT));
    EXPECT_FALSE(p.IsEnabled(ID_RECORD_NEW));
    EXPECT_FALSE(p.Grid().SortRecordset(1, false));
    EXPECT_EQ(p.Cell(first, 1), "1");
  }
  p.WaitForFetchEnd();
  EXPECT_NE(StatusMessage(p), FetchingText());
  EXPECT_EQ(p.DataRowCount(), kRows);
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), std::to_string(kRows));
  EXPECT_EQ(p.Cell(first + kRows - 1, 1), std::to_string(kRows));
  EXPECT_FALSE(p.IsEnabled(ID_STOP));
  EXPECT_TRUE(p.IsEnabled(ID_EXPORT));
}

TEST_F(FetchWhileShowingTest, EscInTheGridStopsKeepingThePrefix) {
  Program& p = StartFetching();
  ASSERT_TRUE(p.Bottom().IsFetching());
  QTest::keyClick(&p.Grid(), Qt::Key_Escape);
  ExpectStoppedWithPrefix(p);
}

TEST_F(FetchWhileShowingTest, EscInTheQueryAndTheToolbarButtonStopToo) {
  {
    Program& p = StartFetching();
    ASSERT_TRUE(p.Bottom().IsFetching());
    QTest::keyClick(static_cast<QWidget*>(p.Workspace().QueryEditor()), Qt::Key_Escape);
    ExpectStoppedWithPrefix(p);
  }
  {
    Program& p = StartFetching();
    ASSERT_TRUE(p.Bottom().IsFetching());
    p.Frame().Router().Execute(ID_STOP);
    ExpectStoppedWithPrefix(p);
    // Esc without a fetch is the grid's own again: nothing is stopped.
    p.Frame().statusBar()->clearMessage();
    QTest::keyClick(&p.Grid(), Qt::Key_Escape);
    EXPECT_EQ(StatusMessage(p).find("Stopped"), std::string::npos);
  }
}

TEST_F(FetchWhileShowingTest, ASecondExecuteDuringAFetchStopsTheFirst) {
  Program& p = StartFetching();
  ASSERT_TRUE(p.Bottom().IsFetching());
  p.TypeQuery("SELECT ID, Name FROM Small ORDER BY ID");
  p.PressExecute();
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "2");
  EXPECT_TRUE(prompts_->Messages().empty());
}

TEST_F(FetchWhileShowingTest, ClosingTheWindowDuringAFetchStopsIt) {
  Program& p = StartFetching();
  ASSERT_TRUE(p.Bottom().IsFetching());
  p.Close();
  // The program starts again on the same file, which no worker holds any more.
  Program& again = Start();
  again.TypeConnection(SqliteConnectionString(db_));
  again.TypeQuery("SELECT COUNT(*) FROM Big");
  again.PressExecute();
  EXPECT_EQ(again.Column(1), std::vector<std::string>{std::to_string(kRows)});
}

}  // namespace e2e
