// The statement itself on the worker thread (adAsyncExecute): Open returns before a slow first
// row exists, the connection refuses other work meanwhile, Cancel stops a statement at work
// without an error, a failing statement is raised once by the call that waits, and a statement
// without rows ends closed with its count. Built also with ThreadSanitizer by the test command.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Fields.h"
#include "data/ado/HResult.h"
#include "data/ado/Recordset.h"
#include "tests/ComErrorOf.h"
#include "tests/data/fetch/WorkerWaits.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;
using fetchtests::WaitFor;
using fetchtests::Watchdog;

namespace {

enum class Family { Sqlite, Postgres, Maria };

class ExecuteOnWorker : public testing::TestWithParam<TestDatabase>, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    db_ = std::make_unique<FreshDatabase>(GetParam());
    Connect(db_->ConnectionString());
  }

  Family DatabaseFamily() const {
    if (GetParam().isSqlite) return Family::Sqlite;
    return GetParam().name.rfind("PostgreSQL", 0) == 0 ? Family::Postgres : Family::Maria;
  }

  // One row, n = 42, after about a second of work before it.
  std::string SlowFirstRow() const {
    switch (DatabaseFamily()) {
      case Family::Sqlite:
        return "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 5000000) "
               "SELECT max(n) - 4999958 AS n FROM c";
      case Family::Postgres:
        return "SELECT 42 AS n FROM pg_sleep(1)";
      case Family::Maria:
        return "SELECT 42 + SLEEP(1) AS n";
    }
    return {};
  }

  // A statement that would work for an hour (SQLite: for ever) before its first row.
  std::string EndlessFirstRow() const {
    switch (DatabaseFamily()) {
      case Family::Sqlite:
        return "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) SELECT max(n) AS qelvo_endless FROM c";
      case Family::Postgres:
        return "SELECT 42 AS qelvo_endless FROM pg_sleep(3600)";
      case Family::Maria:
        return "SELECT 42 + SLEEP(3600) AS qelvo_endless";
    }
    return {};
  }

  RecordsetPtr OpenOnWorker(const std::string& sql) {
    // An Open that waited for the statement would never return from the endless ones.
    Watchdog watchdog("Open of a statement that works long");
    RecordsetPtr rs;
    rs.CreateInstance();
    rs->PutCursorLocation(adUseClient);
    rs->Open(sql, connection_, adOpenStatic, adLockOptimistic, adCmdText | adAsyncExecute | adAsyncFetch);
    return rs;
  }

  // A second connection sees the endless statement at work on the server.
  bool ServerRunsEndless() {
    ConnectionPtr watcher;
    watcher.CreateInstance();
    watcher->Open(db_->ConnectionString(), "", "");
    const std::string sql =
        DatabaseFamily() == Family::Postgres
            ? "SELECT count(*) FROM pg_stat_activity WHERE state = 'active' AND query LIKE '%qelvo_endless FROM%' "
              "AND pid <> pg_backend_pid()"
            : "SELECT count(*) FROM information_schema.PROCESSLIST WHERE INFO LIKE '%qelvo_endless%' "
              "AND ID <> CONNECTION_ID()";
    return WaitFor([&] {
      RecordsetPtr rs;
      rs.CreateInstance();
      rs->PutCursorLocation(adUseClient);
      rs->Open(sql, watcher);
      return rs->GetCollect(0L).ToInt64() > 0;
    });
  }

  // The session answers an ordinary statement again.
  void ExpectSessionAnswers() {
    RecordsetPtr again = Open("SELECT 7 AS n");
    ASSERT_EQ(again->GetRecordCount(), 1);
    EXPECT_EQ(again->GetCollect(0L).ToInt64(), 7);
  }

  // Cancels `rs` under a watchdog; the milliseconds Cancel took.
  static long TimedCancel(const RecordsetPtr& rs) {
    Watchdog watchdog("Cancel of a statement at work");
    const auto start = std::chrono::steady_clock::now();
    rs->Cancel();
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
  }

  // After a cancel: closed, or open without rows; never an error.
  static void ExpectStoppedQuietly(const RecordsetPtr& rs) {
    EXPECT_EQ(rs->GetState() & (adStateExecuting | adStateFetching), 0);
    EXPECT_NO_THROW(rs->WaitForCompletion());
    if (rs->GetState() != adStateClosed) {
      EXPECT_EQ(rs->GetRecordCount(), 0);
    }
  }

  std::unique_ptr<FreshDatabase> db_;
};

}  // namespace

TEST_P(ExecuteOnWorker, OpenReturnsBeforeASlowFirstRowAndTheConnectionWaitsForIt) {
  RecordsetPtr rs = OpenOnWorker(SlowFirstRow());
  // Open did not wait for the row: nothing is readable yet.
  EXPECT_NE(rs->GetState() & (adStateExecuting | adStateFetching), 0);
  EXPECT_EQ(rs->GetViewCount(), 0);
  EXPECT_THROW(rs->GetValueAt(0, 0), ComError);
  EXPECT_EQ(rs->GetRowsAffected(), -1);
  // MariaDB's own protocol describes the columns before it computes the row.
  if (GetParam().name != "MariaDB native") {
    EXPECT_EQ(rs->GetState(), adStateOpen | adStateExecuting);
    EXPECT_EQ(rs->GetFields()->GetCount(), 0) << "columns before the statement has run";
    EXPECT_COM_ERROR(rs->GetCollect(0L), adErrItemNotFound);
  }
  // Nothing else runs on the session beside the worker.
  EXPECT_COM_ERROR(connection_->Execute("SELECT 1"), adErrStillExecuting);
  EXPECT_COM_ERROR(Open("SELECT 1 AS one"), adErrStillExecuting);
  EXPECT_COM_ERROR(connection_->Close(), adErrStillExecuting);
  EXPECT_EQ(connection_->GetState(), adStateOpen);

  // The columns are known once the state leaves executing, the rows when the fetch ends.
  ASSERT_TRUE(WaitFor([&] { return (rs->GetState() & adStateExecuting) == 0; }));
  ASSERT_EQ(rs->GetFields()->GetCount(), 1);
  EXPECT_EQ(rs->GetFields()->GetItem(0L)->GetName(), "n");
  rs->WaitForCompletion();
  EXPECT_EQ(rs->GetState(), adStateOpen);
  EXPECT_EQ(rs->GetRecordCount(), 1);
  EXPECT_EQ(rs->GetCollect(0L).ToInt64(), 42);
  ExpectSessionAnswers();
}

TEST_P(ExecuteOnWorker, CancelStopsAStatementAtWorkSoonAndWithoutAnError) {
  // At once after Open, when the statement may not have reached the database yet.
  {
    RecordsetPtr rs = OpenOnWorker(EndlessFirstRow());
    const long took = TimedCancel(rs);
    std::printf("cancel right after Open: %ld ms\n", took);
    EXPECT_LT(took, 2000);
    ExpectStoppedQuietly(rs);
  }
  ExpectSessionAnswers();
  // Once the database is surely at work on it.
  {
    RecordsetPtr rs = OpenOnWorker(EndlessFirstRow());
    if (DatabaseFamily() != Family::Sqlite) {
      ASSERT_TRUE(ServerRunsEndless());
    }
    const long took = TimedCancel(rs);
    std::printf("cancel of a running statement: %ld ms\n", took);
    EXPECT_LT(took, 2000);
    ExpectStoppedQuietly(rs);
  }
  ExpectSessionAnswers();
  // Close and release stop it too.
  {
    RecordsetPtr rs = OpenOnWorker(EndlessFirstRow());
    Watchdog watchdog("Close of a statement at work");
    rs->Close();
    EXPECT_EQ(rs->GetState(), adStateClosed);
  }
  {
    RecordsetPtr rs = OpenOnWorker(EndlessFirstRow());
    FieldsPtr fields = rs->GetFields();  // keeps the rows' state alive past the recordset
    Watchdog watchdog("Release of a statement at work");
    rs = RecordsetPtr();
  }
  ExpectSessionAnswers();
}

TEST_P(ExecuteOnWorker, AFailingStatementIsRaisedOnceByTheCallThatWaits) {
  // Open itself does not raise: the statement has not run yet.
  RecordsetPtr rs;
  ASSERT_NO_THROW(rs = OpenOnWorker("SELECT no_such_column FROM no_such_table"));
  try {
    rs->WaitForCompletion();
    FAIL() << "the failure was lost";
  } catch (const ComError& e) {
    EXPECT_FALSE(std::string(e.Description()).empty());
  }
  // Once: a failed Open leaves the recordset closed, and the session answers.
  EXPECT_EQ(rs->GetState(), adStateClosed);
  EXPECT_NO_THROW(rs->WaitForCompletion());
  EXPECT_COM_ERROR(rs->GetRecordCount(), adErrObjectClosed);
  ExpectSessionAnswers();

  // Any call that needs the rows raises it as well, and the recordset opens again.
  AdoSession::Run(
      {"CREATE TABLE qt_other (id INTEGER PRIMARY KEY, name VARCHAR(20))", "INSERT INTO qt_other VALUES (1, 'a')"});
  rs = OpenOnWorker("INSERT INTO qt_other VALUES (1, 'b')");
  EXPECT_THROW(rs->GetRecordCount(), ComError);
  EXPECT_EQ(rs->GetState(), adStateClosed);
  rs->Open("SELECT name FROM qt_other", connection_, adOpenStatic, adLockOptimistic, adCmdText | adAsyncExecute);
  EXPECT_EQ(rs->GetRecordCount(), 1);
  EXPECT_EQ(rs->GetCollect(0L).ToText(), "a");
}

TEST_P(ExecuteOnWorker, AStatementWithoutRowsEndsClosedWithItsCount) {
  AdoSession::Run({"CREATE TABLE qt_other (id INTEGER PRIMARY KEY, name VARCHAR(20))",
                   "INSERT INTO qt_other VALUES (1, 'a')", "INSERT INTO qt_other VALUES (2, 'b')",
                   "INSERT INTO qt_other VALUES (3, 'c')"});
  RecordsetPtr rs = OpenOnWorker("UPDATE qt_other SET name = 'z' WHERE id >= 2");
  rs->WaitForCompletion();
  EXPECT_EQ(rs->GetState(), adStateClosed);
  EXPECT_EQ(rs->GetRowsAffected(), 2);
  // The change is made, once.
  RecordsetPtr check = Open("SELECT count(*) FROM qt_other WHERE name = 'z'");
  EXPECT_EQ(check->GetCollect(0L).ToInt64(), 2);
  // Seen by polling the state alone, then ended by a call that needs rows.
  rs = OpenOnWorker("DELETE FROM qt_other WHERE id = 1");
  ASSERT_TRUE(WaitFor([&] { return (rs->GetState() & (adStateExecuting | adStateFetching)) == 0; }));
  EXPECT_COM_ERROR(rs->MoveFirst(), adErrObjectClosed);
  EXPECT_EQ(rs->GetRowsAffected(), 1);
}

INSTANTIATE_TEST_SUITE_P(Databases, ExecuteOnWorker, testing::ValuesIn(TestDatabases()), TestDatabaseName);
