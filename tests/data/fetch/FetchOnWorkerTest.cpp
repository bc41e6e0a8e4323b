// Rows read on a worker thread (adAsyncFetch): readable while they arrive, Cancel and Close
// during the fetch, a failure half way raised at the end; and the row store read by one thread
// while another appends. Built also with ThreadSanitizer by the test command.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "data/ado/RowStore.h"
#include "tests/data/fetch/WorkerWaits.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

using fetchtests::WaitFor;
using fetchtests::Watchdog;

std::int64_t IntAt(Recordset& rs, long position, long column) {
  return rs.GetValueAt(position, column).ToVariant().ToInt64();
}

class FetchOnWorker : public testing::TestWithParam<TestDatabase>, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    db_ = std::make_unique<FreshDatabase>(GetParam());
    Connect(db_->ConnectionString());
  }

  // Rows n = 1..count and a text of each, made by the database itself as they are read.
  std::string Numbers(long count) const {
    const std::string n = std::to_string(count);
    const std::string& name = GetParam().name;
    if (name.rfind("PostgreSQL", 0) == 0)
      return "SELECT n, 'row ' || n AS label FROM generate_series(1, " + n + ") AS g(n)";
    if (name.rfind("MariaDB", 0) == 0) return "SELECT seq AS n, CONCAT('row ', seq) AS label FROM seq_1_to_" + n;
    return "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < " + n +
           ") SELECT n, 'row ' || n AS label FROM c";
  }

  // The statement on this thread and the rows on the worker, or with `statementToo` both on
  // the worker.
  RecordsetPtr OpenOnWorker(const std::string& sql, bool statementToo = false) {
    RecordsetPtr rs;
    rs.CreateInstance();
    rs->PutCursorLocation(adUseClient);
    rs->Open(sql, connection_, adOpenStatic, adLockOptimistic,
             adCmdText | adAsyncFetch | (statementToo ? adAsyncExecute : 0));
    return rs;
  }

  // The worker runs the statement or reads its rows.
  static bool Fetching(const RecordsetPtr& rs) { return (rs->GetState() & (adStateExecuting | adStateFetching)) != 0; }

  // The rows read so far are 1..count in order, and their texts match.
  static void ExpectPrefix(const RecordsetPtr& rs, long count) {
    for (long i = 0; i < count; i += std::max(1L, count / 500)) {
      ASSERT_EQ(IntAt(*rs, i, 0), i + 1) << "row " << i;
      ASSERT_EQ(rs->GetValueAt(i, 1).ToVariant().ToText(), "row " + std::to_string(i + 1));
    }
    if (count > 0) {
      EXPECT_EQ(IntAt(*rs, count - 1, 0), count);
    }
  }

  // The session answers an ordinary statement again.
  void ExpectSessionAnswers() {
    RecordsetPtr again = Open(Numbers(3));
    EXPECT_EQ(again->GetRecordCount(), 3);
    again->MoveLast();
    EXPECT_EQ(again->GetCollect(0L).ToInt64(), 3);
  }

  std::unique_ptr<FreshDatabase> db_;
};

}  // namespace

TEST_P(FetchOnWorker, RowsAreReadableWhileTheyArriveAndFinalAtTheEnd) {
  constexpr long kRows = 300'000;
  RecordsetPtr rs = OpenOnWorker(Numbers(kRows));
  // Columns are known at once, for the grid's layout, and reading them does not wait.
  EXPECT_EQ(rs->GetFields()->GetCount(), 2);
  EXPECT_EQ(rs->GetFields()->GetItem(1L)->GetName(), "label");

  bool sawPartial = false;
  long seen = 0;
  while (Fetching(rs)) {
    const long now = rs->GetViewCount();
    ASSERT_GE(now, seen) << "the readable count never goes back";
    if (now > 0 && now < kRows) {
      sawPartial = true;
      ASSERT_EQ(IntAt(*rs, now - 1, 0), now);
      if (now > seen) {
        ASSERT_EQ(IntAt(*rs, seen, 0), seen + 1);
      }
    }
    seen = now;
    std::this_thread::yield();
  }
  EXPECT_TRUE(sawPartial) << "no row was readable before the fetch ended";
  EXPECT_THROW(rs->GetValueAt(rs->GetViewCount(), 0), ComError);

  EXPECT_EQ(rs->GetRecordCount(), kRows);
  EXPECT_EQ(rs->GetState(), adStateOpen);
  EXPECT_FALSE(rs->GetBOF());
  EXPECT_EQ(rs->GetCollect(0L).ToInt64(), 1);
  ExpectPrefix(rs, kRows);
  // Sorting and filtering act on every row once the fetch has ended.
  rs->PutSort("n DESC");
  EXPECT_EQ(rs->GetCollect(0L).ToInt64(), kRows);
  rs->PutFilter(Variant("n <= 10"));
  EXPECT_EQ(rs->GetRecordCount(), 10);
}

TEST_P(FetchOnWorker, CallsThatNeedEveryRowWaitForTheEnd) {
  constexpr long kRows = 200'000;
  RecordsetPtr rs = OpenOnWorker(Numbers(kRows));
  // MoveLast without waiting first: it waits for the fetch itself.
  rs->MoveLast();
  EXPECT_EQ(rs->GetCollect(0L).ToInt64(), kRows);
  EXPECT_FALSE(Fetching(rs));
  EXPECT_EQ(rs->GetViewCount(), kRows);
}

TEST_P(FetchOnWorker, CancelKeepsThePrefixReadAndIsNoError) {
  const long total = GetParam().isSqlite ? 20'000'000 : 500'000;
  RecordsetPtr rs = OpenOnWorker(Numbers(total));
  ASSERT_TRUE(WaitFor([&] { return rs->GetViewCount() >= 1000 || !Fetching(rs); }));
  ASSERT_TRUE(Fetching(rs)) << "the fetch ended before it could be stopped";
  rs->Cancel();
  EXPECT_FALSE(Fetching(rs));
  const long kept = rs->GetRecordCount();
  EXPECT_GE(kept, 1000);
  EXPECT_LT(kept, total);
  EXPECT_EQ(rs->GetViewCount(), kept);
  ExpectPrefix(rs, kept);
  rs->MoveLast();
  EXPECT_EQ(rs->GetCollect(0L).ToInt64(), kept);
  rs->Cancel();  // nothing left to stop
  EXPECT_EQ(rs->GetRecordCount(), kept);
  rs->Close();
  ExpectSessionAnswers();
}

TEST_P(FetchOnWorker, CancelInterruptsARowTheDatabaseIsStillWorkingOn) {
  // Quick rows, then one the database would work on for an hour. A server sends rows
  // as its output buffer fills, so the client sees most of the quick ones before the slow one.
  const TestDatabase& db = GetParam();
  std::string sql;
  if (db.isSqlite) {
    // Row 1,001 is found only after about ten billion steps.
    sql =
        "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) "
        "SELECT n FROM c WHERE n <= 1000 OR n > 10000000000";
  } else if (db.name.rfind("PostgreSQL", 0) == 0) {
    // psqlODBC reads a server-side cursor row by row.
    if (db.name == "PostgreSQL") Connect(db_->ConnectionString() + ";UseDeclareFetch=1;Fetch=1");
    sql = "SELECT n, pg_sleep(CASE WHEN n > 1000 THEN 3600 ELSE 0 END) AS waited FROM generate_series(1, 1002) AS g(n)";
  } else if (db.name == "MariaDB native") {
    // Its server holds back 16 KB: ten thousand quick rows here.
    sql = "SELECT seq AS n, SLEEP(IF(seq > 10000, 3600, 0)) AS waited FROM seq_1_to_10002";
  } else {
    GTEST_SKIP() << "MariaDB's ODBC driver reads the whole result inside the execute: no row arrives before the "
                    "slow one (stopping the statement itself is tested with the statement on the worker)";
  }
  // The statement on the worker too: without it, a provider that waits for the first rows
  // would hold Open until the server sends them.
  RecordsetPtr rs = OpenOnWorker(sql, true);
  ASSERT_TRUE(WaitFor([&] { return rs->GetViewCount() >= 1 || !Fetching(rs); }));
  ASSERT_TRUE(Fetching(rs));
  {
    Watchdog watchdog("Cancel of a statement at work");
    rs->Cancel();
  }
  const long kept = rs->GetRecordCount();
  EXPECT_GE(kept, 1);
  EXPECT_LE(kept, 10000);
  rs->MoveLast();
  EXPECT_EQ(rs->GetCollect(0L).ToInt64(), kept);
  rs->Close();
  ExpectSessionAnswers();
}

TEST_P(FetchOnWorker, CloseOrReleaseDuringTheFetchStopsIt) {
  const long total = GetParam().isSqlite ? 20'000'000 : 500'000;
  {
    RecordsetPtr rs = OpenOnWorker(Numbers(total));
    ASSERT_TRUE(WaitFor([&] { return rs->GetViewCount() >= 100 || !Fetching(rs); }));
    rs->Close();
    EXPECT_EQ(rs->GetState(), adStateClosed);
    // Open again on the same recordset and session.
    rs->Open(Numbers(5), connection_, adOpenStatic, adLockOptimistic, adCmdText | adAsyncFetch);
    EXPECT_EQ(rs->GetRecordCount(), 5);
  }
  {
    RecordsetPtr rs = OpenOnWorker(Numbers(total));
    FieldsPtr fields = rs->GetFields();  // keeps the rows' state alive past the recordset
    ASSERT_TRUE(WaitFor([&] { return rs->GetViewCount() >= 100 || !Fetching(rs); }));
  }
  ExpectSessionAnswers();
}

TEST_P(FetchOnWorker, AFailureHalfWayIsRaisedOnceAtTheEndWithTheRowsBeforeIt) {
  const TestDatabase& db = GetParam();
  std::string sql;
  if (db.isSqlite) {
    sql =
        "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 100000) "
        "SELECT CASE WHEN n < 50000 THEN n ELSE abs((-9223372036854775807 - 1) * (n / n)) END AS n FROM c";
  } else if (db.name.rfind("PostgreSQL", 0) == 0) {
    // Rows in batches from a server-side cursor (the native provider streams them anyway), so
    // that the division is reached while reading.
    if (db.name == "PostgreSQL") Connect(db_->ConnectionString() + ";UseDeclareFetch=1;Fetch=1000");
    sql = "SELECT 100000 / (50000 - n) AS n FROM generate_series(1, 100000) AS g(n)";
  } else if (db.name == "MariaDB native") {
    // The subquery is reached, and fails, only at row 50,000.
    sql = "SELECT IF(seq < 50000, seq, (SELECT 1 UNION ALL SELECT 2)) AS n FROM seq_1_to_100000";
  } else {
    GTEST_SKIP() << "MariaDB's ODBC driver reads the whole result inside the execute: it fails at the open";
  }
  RecordsetPtr rs = OpenOnWorker(sql, true);
  ASSERT_TRUE(WaitFor([&] { return !Fetching(rs); }));
  try {
    rs->GetRecordCount();
    FAIL() << "the failure was lost";
  } catch (const ComError& e) {
    EXPECT_FALSE(std::string(e.Description()).empty());
  }
  // Raised once: the rows read before it stay and count.
  const long kept = rs->GetRecordCount();
  EXPECT_GT(kept, 0);
  EXPECT_LT(kept, 50000);
  EXPECT_EQ(rs->GetState(), adStateOpen);
}

INSTANTIATE_TEST_SUITE_P(Databases, FetchOnWorker, testing::ValuesIn(TestDatabases()), TestDatabaseName);

// One thread appends rows (past several chunks of the index and tables of chunks) while another
// reads every row below the published count.
TEST(RowStoreUnderReader, ReadsEveryPublishedRowWhileAnotherThreadAppends) {
  constexpr std::uint32_t kRows = 300'000;
  RowStore store;
  std::atomic<std::uint32_t> published{0};
  std::thread writer([&] {
    for (std::uint32_t i = 0; i < kRows; ++i) {
      RowStore::Builder& row = store.BeginRow();
      row.Int(VT_I8, i);
      row.Text(std::string(i % 300 == 0 ? 300'000 : 10, 'x'));  // some rows get blocks of their own
      store.EndRow();
      published.store(i + 1, std::memory_order_release);
    }
  });
  std::uint32_t checked = 0;
  while (checked < kRows) {
    const std::uint32_t now = published.load(std::memory_order_acquire);
    for (; checked < now; ++checked) {
      ASSERT_EQ(store.Get(checked, 0).i, checked);
      ASSERT_EQ(store.Get(checked, 1).s.size(), checked % 300 == 0 ? 300'000u : 10u);
    }
    std::this_thread::yield();
  }
  writer.join();
  EXPECT_EQ(store.RowCount(), kRows);
}
