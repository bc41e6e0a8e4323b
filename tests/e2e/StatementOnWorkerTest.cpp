// A statement that works long before its first row, run from the window: Execute returns at
// once and the window answers while the status bar says the statement runs; Esc and Stop end
// it, a second Execute replaces it, closing the window ends it; a failing statement is shown
// as a failed open is, and a statement without rows reports its count.
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <mutex>

#include "data/Trace.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/StatusPaneText.h"

namespace e2e {
namespace {

// Works several seconds before its first row (sqlite3_interrupt ends it at once): a window that
// waited for it would fail the tests instead of hanging them.
const char* const kLong =
    "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 30000000) "
    "SELECT max(n) AS Long FROM c";
// About a second of work, then one row: 42.
const char* const kSlow =
    "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 5000000) "
    "SELECT max(n) - 4999958 AS Answer FROM c";

class StatementOnWorkerTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    db_ = data_.File("work.db");
    MakeSqliteDatabase(db_, {"CREATE TABLE Small (ID INTEGER PRIMARY KEY, Name VARCHAR(40))",
                             "INSERT INTO Small VALUES (1, 'one'), (2, 'two')"});
  }

  // Starts `sql` and returns while it still runs.
  Program& StartRunning(const char* sql) {
    Program& p = Start();
    p.TypeConnection(SqliteConnectionString(db_));
    p.TypeQuery(sql);
    p.StartExecute();
    return p;
  }

  std::string StatusMessage(Program& p) { return p.Frame().statusBar()->currentMessage().toStdString(); }

  // The statement was ended by a stop: no result, no error, Stop off, and the session answers.
  void ExpectStoppedAndAnswering(Program& p) {
    EXPECT_FALSE(p.Bottom().IsFetching());
    EXPECT_EQ(StatusMessage(p), StoppedAfterText(0));
    EXPECT_LE(p.DataRowCount(), 0);
    EXPECT_FALSE(p.IsEnabled(ID_STOP));
    EXPECT_TRUE(prompts_->Messages().empty());
    p.TypeQuery("SELECT Name FROM Small ORDER BY ID");
    p.PressExecute();
    EXPECT_EQ(p.Column(1), (std::vector<std::string>{"one", "two"}));
  }

  std::string db_;
};

}  // namespace

TEST_F(StatementOnWorkerTest, TheWindowAnswersWhileAStatementWorksAndItsRowFollows) {
  Program& p = StartRunning(kSlow);
  // Execute has returned before the statement's row exists.
  ASSERT_TRUE(p.Bottom().IsFetching());
  ASSERT_TRUE(p.Grid().IsExecuting());
  EXPECT_EQ(StatusMessage(p), ExecutingText());
  EXPECT_TRUE(p.IsEnabled(ID_STOP));
  EXPECT_FALSE(p.IsEnabled(ID_EXPORT));
  // The event loop runs meanwhile: a timer fires while the statement still works.
  bool fired = false;
  QTimer::singleShot(10, [&] { fired = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return fired; }, 5000));
  EXPECT_TRUE(p.Grid().IsExecuting()) << "the statement ended before the timer could be seen";
  Screenshot("executing");

  p.WaitForFetchEnd();
  EXPECT_EQ(p.Cell(0, 1), "Answer");
  EXPECT_EQ(p.Column(1), std::vector<std::string>{"42"});
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "1");
  EXPECT_FALSE(p.Pane(ID_INDICATOR_ELAPSED).empty());
  EXPECT_NE(StatusMessage(p), ExecutingText());
  EXPECT_TRUE(prompts_->Messages().empty());
}

TEST_F(StatementOnWorkerTest, EscAndStopEndAStatementAtWork) {
  {
    Program& p = StartRunning(kLong);
    ASSERT_TRUE(p.Grid().IsExecuting());
    QTest::keyClick(&p.Grid(), Qt::Key_Escape);
    ExpectStoppedAndAnswering(p);
  }
  {
    Program& p = StartRunning(kLong);
    ASSERT_TRUE(p.Grid().IsExecuting());
    QTest::keyClick(static_cast<QWidget*>(p.Workspace().QueryEditor()), Qt::Key_Escape);
    ExpectStoppedAndAnswering(p);
  }
  {
    Program& p = StartRunning(kLong);
    ASSERT_TRUE(p.Grid().IsExecuting());
    p.Frame().Router().Execute(ID_STOP);
    ExpectStoppedAndAnswering(p);
  }
}

TEST_F(StatementOnWorkerTest, ASecondExecuteOrClosingTheWindowEndsAStatementAtWork) {
  {
    Program& p = StartRunning(kLong);
    ASSERT_TRUE(p.Grid().IsExecuting());
    p.TypeQuery("SELECT ID, Name FROM Small ORDER BY ID");
    p.PressExecute();
    EXPECT_EQ(p.Column(2), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "2");
    EXPECT_TRUE(prompts_->Messages().empty());
  }
  {
    Program& p = StartRunning(kLong);
    ASSERT_TRUE(p.Grid().IsExecuting());
    p.Close();
  }
  // The program starts again on the same file, which no statement holds any more.
  Program& again = Start();
  again.TypeConnection(SqliteConnectionString(db_));
  again.TypeQuery("UPDATE Small SET Name = Name || '!'");
  again.PressExecute();
  EXPECT_EQ(again.Pane(ID_INDICATOR_RECORDS), RowsAffectedPaneText(2));
  again.TypeQuery("SELECT Name FROM Small ORDER BY ID");
  again.PressExecute();
  EXPECT_EQ(again.Column(1), (std::vector<std::string>{"one!", "two!"}));
}

TEST_F(StatementOnWorkerTest, AFailingStatementIsShownAsAFailedOpen) {
  std::mutex mutex;
  std::vector<std::string> errors;
  TraceSetObserver([&](const std::string&, char kind, const std::string& text) {
    std::lock_guard lock(mutex);
    if (kind == TraceError) errors.push_back(text);
  });
  prompts_->AnswerMessage(IDOK);
  Program& p = StartRunning("SELECT Name FROM Small WHERE no_such_column = 1");
  p.WaitForFetchEnd();
  TraceSetObserver({});

  ASSERT_EQ(prompts_->Messages().size(), 1u);
  const MessageBoxRequest& box = prompts_->Messages()[0];
  EXPECT_NE(box.text.find("no such column"), std::string::npos) << box.text;
  EXPECT_EQ(box.type & MB_ICONMASK, MB_ICONEXCLAMATION);
  // The trace has the open's line and the grid's, once each.
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "DbRecordset::Open() : " + box.text);
  EXPECT_EQ(errors[1], box.text);
  // Nothing to show, and the panes stay empty.
  EXPECT_LE(p.DataRowCount(), 0);
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "");
  EXPECT_EQ(p.Pane(ID_INDICATOR_ELAPSED), "");
  EXPECT_NE(StatusMessage(p), ExecutingText());
}

}  // namespace e2e
