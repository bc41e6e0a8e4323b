// Rows streamed one at a time: a fetch cancelled from another thread keeps its rows, a running
// statement is interrupted, a result left half read frees the connection, another statement
// while rows are still arriving leaves them readable, and batches report what each part did.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Provider.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

class PgStreaming : public testing::Test {
 protected:
  void SetUp() override {
    const char* pg = std::getenv("QELVO_TEST_PG");
    if (!pg || !*pg) GTEST_SKIP() << "needs the test command's PostgreSQL server (QELVO_TEST_PG)";
    session_ = OpenProviderSession(NativePostgresString(pg), "", "");
  }

  // Reads up to `limit` rows; the first column of the last one read in `last`.
  long Read(ProviderCursor& cursor, long limit, Variant* last = nullptr) {
    long n = 0;
    while (n < limit) {
      RowStore::Builder& b = store_.BeginRow();
      if (!cursor.Fetch(b)) break;
      RowStore::RowId id = store_.EndRow();
      if (last) *last = store_.GetVariant(id, 0);
      ++n;
    }
    return n;
  }

  std::string Single(const std::string& sql) {
    auto cursor = session_->OpenQuery(sql, {});
    Variant v;
    Read(*cursor, 1, &v);
    return v.HasValue() ? v.ToText() : "<null>";
  }

  std::unique_ptr<ProviderSession> session_;
  RowStore store_;
};

// Slow rows: each takes a little server time, so the whole result would take minutes.
const char* const kSlowRows = "SELECT i, pg_sleep(0.002) FROM generate_series(1, 100000) AS i";

}  // namespace

TEST_F(PgStreaming, ACancelledFetchKeepsItsRowsAndEndsQuickly) {
  auto cursor = session_->OpenQuery(kSlowRows, {});
  ASSERT_EQ(Read(*cursor, 20), 20);
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    session_->Cancel();
  });
  auto start = std::chrono::steady_clock::now();
  Variant last;
  long more = Read(*cursor, 100000, &last);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  stopper.join();
  EXPECT_LT(more, 99980) << "the fetch ran to its end";
  EXPECT_EQ(last.ToText(), std::to_string(20 + more));
  EXPECT_LT(seconds, 5.0);
  // The connection serves the next statement, which is not cancelled.
  EXPECT_EQ(Single("SELECT 41 + 1"), "42");
}

TEST_F(PgStreaming, ARunningStatementIsInterruptedWithTheServersError) {
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    session_->Cancel();
  });
  auto start = std::chrono::steady_clock::now();
  try {
    session_->Execute("SELECT pg_sleep(30)");
    ADD_FAILURE() << "the statement ran to its end";
  } catch (const ComError& e) {
    EXPECT_EQ(e.SqlState(), "57014");
  }
  stopper.join();
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0);
  EXPECT_EQ(Single("SELECT 'next'"), "next");
}

TEST_F(PgStreaming, AHalfReadResultFreesTheConnectionAndAnotherStatementKeepsItsRows) {
  {
    auto abandoned = session_->OpenQuery(kSlowRows, {});
    ASSERT_EQ(Read(*abandoned, 5), 5);
    auto start = std::chrono::steady_clock::now();
    abandoned.reset();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0)
        << "the rest of the rows were read instead of stopped";
  }
  EXPECT_EQ(Single("SELECT 'free'"), "free");

  auto first = session_->OpenQuery("SELECT i FROM generate_series(1, 1000) AS i", {});
  ASSERT_EQ(Read(*first, 10), 10);
  // Another statement on the same connection while rows are still to come.
  EXPECT_EQ(Single("SELECT 'between'"), "between");
  // A later result left half read does not end the kept one.
  {
    auto later = session_->OpenQuery(kSlowRows, {});
    ASSERT_EQ(Read(*later, 2), 2);
  }
  Variant last;
  EXPECT_EQ(Read(*first, 5000, &last), 990);
  EXPECT_EQ(last.ToText(), "1000");
}

TEST_F(PgStreaming, BatchesReturnTheirFirstResultAndReportLaterFailures) {
  session_->Execute("DROP TABLE IF EXISTS qp_batch; CREATE TABLE qp_batch (n INTEGER)");
  auto count = session_->OpenQuery("INSERT INTO qp_batch VALUES (1), (2), (3)", {});
  EXPECT_TRUE(count->Columns().empty());
  EXPECT_EQ(count->RowsAffected(), 3);
  auto created = session_->OpenQuery("CREATE TABLE IF NOT EXISTS qp_batch (n INTEGER)", {});
  EXPECT_EQ(created->RowsAffected(), -1);

  auto batch = session_->OpenQuery("UPDATE qp_batch SET n = n + 10; SELECT n FROM qp_batch ORDER BY n; SELECT 'x'", {});
  ASSERT_EQ(batch->Columns().size(), 1u);
  EXPECT_EQ(batch->Columns()[0].name, "n");
  Variant last;
  EXPECT_EQ(Read(*batch, 10, &last), 3);
  EXPECT_EQ(last.ToText(), "13");

  auto failing = session_->OpenQuery("SELECT 1; SELECT 1 / 0", {});
  EXPECT_THROW(Read(*failing, 10), ComError);
  EXPECT_EQ(Single("SELECT 'after'"), "after");

  // A ';' inside quotes, a comment or a dollar-quoted body is no second statement.
  EXPECT_EQ(Single("SELECT ';' || $$;$$ -- ; SELECT 2\n"), ";;");
  // A '?' of the cursor engine becomes a parameter; one in a string stays text.
  auto bound = session_->OpenQuery("SELECT n, '?' FROM qp_batch WHERE n = ?", {Parameter{Variant(12), 0}});
  EXPECT_EQ(Read(*bound, 10, &last), 1);
  EXPECT_EQ(last.ToText(), "12");
}
