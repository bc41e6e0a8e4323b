// Cancel on a native MariaDB session: a fetch stopped mid-walk keeps the rows it read and ends
// without an error, a statement stopped while it runs fails with E_ABORT, from this thread or
// another, and the connection takes the next statement.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Provider.h"
#include "data/ado/Recordset.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

// Far more rows than a walk reaches before the cancel, streamed by the server as they are read.
const char* const kEndless = "SELECT seq, CONCAT('row ', seq) AS label FROM seq_1_to_1000000000";

class MariaCancel : public testing::Test, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    if (SharedMariaDbString().empty()) GTEST_SKIP() << "needs the test command's MariaDB (QELVO_TEST_MARIADB)";
    Connect(NativeMariaDbString(SharedMariaDbString()));
  }

  // Waits, on a connection of its own, until the server runs a statement starting with `prefix`.
  static void AwaitRunning(const std::string& prefix) {
    ConnectionPtr watcher;
    watcher.CreateInstance();
    watcher->Open(NativeMariaDbString(SharedMariaDbString()), "", "");
    for (int attempt = 0; attempt < 20000; ++attempt) {
      RecordsetPtr rs;
      rs.CreateInstance();
      rs->Open("SELECT COUNT(*) AS n FROM information_schema.PROCESSLIST WHERE INFO LIKE '" + prefix + "%'", watcher,
               adOpenKeyset, adLockOptimistic, adCmdText);
      if (rs->GetCollect("n").ToInt64() > 0) return;
    }
    ADD_FAILURE() << "the statement never ran";
  }
};

}  // namespace

TEST_F(MariaCancel, AStreamedWalkStopsWithTheRowsItReadAndNoError) {
  RecordsetPtr rs = Open(kEndless, adUseServer);
  long walked = 0;
  for (; walked < 5000; ++walked) rs->MoveNext();
  connection_->Session().Cancel();
  // The rows on their way still come; then the walk ends as if the result ended there.
  // (Bounded, so that a cancel that does nothing fails rather than walks a billion rows.)
  EXPECT_NO_THROW({
    while (!rs->GetEOF() && walked < 5000000) {
      EXPECT_EQ(rs->GetCollect("seq").ToInt64(), walked + 1);
      rs->MoveNext();
      ++walked;
    }
  });
  EXPECT_TRUE(rs->GetEOF()) << "the walk went on after the cancel";
  EXPECT_GE(walked, 5000);
  rs->Close();
  EXPECT_EQ(Open("SELECT 7 AS n")->GetCollect("n").ToInt64(), 7) << "the connection takes the next statement";
}

TEST_F(MariaCancel, ACancelFromAnotherThreadStopsAClientCursorsFetch) {
  ProviderSession& session = connection_->Session();
  std::thread canceller([&] {
    AwaitRunning("SELECT seq, CONCAT");
    session.Cancel();
  });
  RecordsetPtr rs;
  // Large enough to be still running when the cancel comes, small enough to end if it never does.
  EXPECT_NO_THROW(rs = Open("SELECT seq, CONCAT('row ', seq) AS label FROM seq_1_to_10000000", adUseClient));
  canceller.join();
  ASSERT_TRUE(rs);
  const long count = rs->GetRecordCount();
  EXPECT_LT(count, 10000000);
  // The rows read before the cancel are all there, in order.
  if (count > 0) {
    rs->MoveLast();
    EXPECT_EQ(rs->GetCollect("seq").ToInt64(), count);
    EXPECT_EQ(rs->GetCollect("label").Str(), "row " + std::to_string(count));
  }
  EXPECT_EQ(Open("SELECT 8 AS n")->GetCollect("n").ToInt64(), 8);
}

TEST_F(MariaCancel, AStatementStoppedWhileItRunsFailsWithAbort) {
  ProviderSession& session = connection_->Session();
  std::thread canceller([&] {
    AwaitRunning("SELECT COUNT(*) FROM seq_1_to_100000000000");
    session.Cancel();
  });
  HRESULT code = S_OK;
  try {
    connection_->Execute("SELECT COUNT(*) FROM seq_1_to_100000000000 WHERE seq % 7 = 3");
  } catch (const ComError& e) {
    code = e.Error();
    EXPECT_NE(e.Description().find("interrupted"), std::string::npos) << e.Description();
  }
  canceller.join();
  EXPECT_EQ(code, E_ABORT);
  // A cancel that came before a statement does not stop the next one.
  session.Cancel();
  EXPECT_EQ(Open("SELECT COUNT(*) AS n FROM seq_1_to_1000")->GetCollect("n").ToInt64(), 1000);
}
