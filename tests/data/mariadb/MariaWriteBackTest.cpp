// Write-back through the native MariaDB provider: prepared statements, the new auto-increment
// value, found rows, the refusals of a row someone else changed or deleted, and statements run
// while a streamed result is still being walked.
#include <gtest/gtest.h>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"
#include "text/DateScan.h"
#include "text/OleDate.h"

using namespace ado;

namespace {

class MariaWriteBack : public testing::Test, protected testsupport::AdoSession {
 protected:
  // The statements' Run, not the test's own.
  using testsupport::AdoSession::Run;
  void SetUp() override {
    if (SharedMariaDbString().empty()) GTEST_SKIP() << "needs the test command's MariaDB (QELVO_TEST_MARIADB)";
    Connect(NativeMariaDbString(SharedMariaDbString()));
  }
  // Another user of the same database.
  void Elsewhere(const std::string& sql) {
    ConnectionPtr other;
    other.CreateInstance();
    other->Open(NativeMariaDbString(SharedMariaDbString()), "", "");
    other->Execute(sql);
  }
  HRESULT Refusal(const std::function<void()>& call, std::string* description = nullptr) {
    try {
      call();
    } catch (const ComError& e) {
      if (description) *description = e.Description();
      return e.Error();
    }
    return S_OK;
  }
};

}  // namespace

TEST_F(MariaWriteBack, NewRowsTakeTheirAutoIncrementValueAndDefaults) {
  Run({"DROP TABLE IF EXISTS qm_people",
       "CREATE TABLE qm_people (id INT AUTO_INCREMENT PRIMARY KEY, name VARCHAR(40) NOT NULL DEFAULT 'nobody', "
       "born DATETIME(3), note TEXT) AUTO_INCREMENT = 41"});
  RecordsetPtr rs = Open("SELECT id, name, born, note FROM qm_people");
  rs->AddNew();
  rs->PutCollect("name", Variant("Ann Ærø 🎉"));
  rs->PutCollect("born", Variant::Date(ParseIsoDateTime("1999-12-31 23:59:59.123").value()));
  rs->Update();
  EXPECT_EQ(rs->GetCollect("id"), Variant(std::int32_t{41})) << "LAST_INSERT_ID, in the column's type";
  rs->AddNew();
  rs->Update();  // every column its default: "() VALUES ()"
  EXPECT_EQ(rs->GetCollect("id").ToInt64(), 42);
  EXPECT_EQ(rs->GetCollect("name").Str(), "nobody") << "the row read back shows the default";
  RecordsetPtr check = Open("SELECT name, DATE_FORMAT(born, '%Y-%m-%d %H:%i:%s.%f') AS b FROM qm_people ORDER BY id");
  EXPECT_EQ(check->GetCollect("name").Str(), "Ann Ærø 🎉");
  EXPECT_EQ(check->GetCollect("b").Str(), "1999-12-31 23:59:59.123000");
}

TEST_F(MariaWriteBack, AValueWrittenUnchangedStillFindsItsRow) {
  // Without found rows MariaDB would count the row unchanged and the update would look lost.
  Run({"DROP TABLE IF EXISTS qm_same", "CREATE TABLE qm_same (a INTEGER PRIMARY KEY, b VARCHAR(5), r FLOAT)",
       "INSERT INTO qm_same VALUES (1, 'x', 0.1)"});
  RecordsetPtr rs = Open("SELECT a, b, r FROM qm_same");
  rs->PutCollect("b", Variant("x"));
  EXPECT_NO_THROW(rs->Update());
  // A table without a key is found by all its values, a float one included.
  Run({"DROP TABLE IF EXISTS qm_nokey", "CREATE TABLE qm_nokey (b VARCHAR(5), r FLOAT, d DECIMAL(20,10))",
       "INSERT INTO qm_nokey VALUES ('x', 0.1, 1.0000000001), ('y', 0.1, 2)"});
  rs = Open("SELECT b, r, d FROM qm_nokey ORDER BY b");
  rs->PutCollect("b", Variant("z"));
  rs->Update();
  EXPECT_EQ(Open("SELECT COUNT(*) AS n FROM qm_nokey WHERE b = 'z'")->GetCollect("n").ToInt64(), 1);
}

TEST_F(MariaWriteBack, ARowChangedOrDeletedBySomeoneElseIsNotOverwritten) {
  Run({"DROP TABLE IF EXISTS qm_stale", "CREATE TABLE qm_stale (id INTEGER PRIMARY KEY, v VARCHAR(10))",
       "INSERT INTO qm_stale VALUES (1, 'one'), (2, 'two')"});
  RecordsetPtr rs = Open("SELECT id, v FROM qm_stale ORDER BY id");
  Elsewhere("UPDATE qm_stale SET v = 'theirs' WHERE id = 1");
  rs->PutCollect("v", Variant("mine"));
  EXPECT_EQ(Refusal([&] { rs->Update(); }), DB_E_CONCURRENCYVIOLATION);
  rs->CancelUpdate();
  rs->MoveNext();
  Elsewhere("DELETE FROM qm_stale WHERE id = 2");
  EXPECT_EQ(Refusal([&] { rs->Delete(); }), DB_E_CONCURRENCYVIOLATION);
  EXPECT_EQ(Open("SELECT v FROM qm_stale WHERE id = 1")->GetCollect("v").Str(), "theirs");

  // A key taken already: the server's own words, the SQLSTATE and the integrity code.
  RecordsetPtr add = Open("SELECT id, v FROM qm_stale");
  add->AddNew();
  add->PutCollect("id", Variant(std::int32_t{1}));
  std::string text;
  EXPECT_EQ(Refusal([&] { add->Update(); }, &text), DB_E_INTEGRITYVIOLATION) << text;
  EXPECT_NE(text.find("Duplicate entry '1'"), std::string::npos) << text;
  try {
    connection_->Execute("INSERT INTO qm_stale VALUES (1, 'again')");
  } catch (const ComError& e) {
    EXPECT_EQ(e.SqlState(), "23000");
    EXPECT_EQ(e.NativeError(), 1062);
    EXPECT_EQ(e.Source(), "MariaDB");
  }
}

TEST_F(MariaWriteBack, StatementsRunWhileAStreamedResultIsWalkedAndItWalksOn) {
  Run({"DROP TABLE IF EXISTS qm_walked", "CREATE TABLE qm_walked (n INTEGER PRIMARY KEY, label VARCHAR(20))",
       "INSERT INTO qm_walked SELECT seq, IF(seq % 5 = 0, NULL, CONCAT('v', seq)) FROM seq_1_to_700"});
  RecordsetPtr rs = Open("SELECT n, label FROM qm_walked ORDER BY n", adUseServer);
  int rows = 0;
  while (!rs->GetEOF()) {
    ++rows;
    EXPECT_EQ(rs->GetCollect("n").ToInt64(), rows);
    // The rows read ahead for the statements below come back as the server sent them.
    if (rows % 5 == 0) {
      EXPECT_TRUE(rs->GetCollect("label").IsNull()) << rows;
    } else if (rows != 11 && rows != 601) {
      EXPECT_EQ(rs->GetCollect("label").Str(), "v" + std::to_string(rows));
    }
    if (rows == 11 || rows == 601) {
      rs->PutCollect("label", Variant("changed"));
      rs->Update();
      // Another result opened and read in the middle of the walk.
      EXPECT_EQ(Open("SELECT COUNT(*) AS c FROM qm_walked", adUseServer)->GetCollect("c").ToInt64(), 700);
    }
    rs->MoveNext();
  }
  EXPECT_EQ(rows, 700);
  EXPECT_EQ(Open("SELECT COUNT(*) AS c FROM qm_walked WHERE label = 'changed'")->GetCollect("c").ToInt64(), 2);
}

TEST_F(MariaWriteBack, TextsOfSeveralStatementsRunWholeAndReportTheFailingOne) {
  Run({"DROP TABLE IF EXISTS qm_batch"});
  std::string text;
  EXPECT_EQ(Refusal(
                [&] {
                  connection_->Execute(
                      "CREATE TABLE qm_batch (a INTEGER); INSERT INTO qm_batch VALUES (1); INSERT INTO qm_no_such "
                      "VALUES (2)");
                },
                &text),
            DB_E_ERRORSINCOMMAND);
  EXPECT_NE(text.find("qm_no_such"), std::string::npos) << text;
  // The first result with columns opens, after statements that return none.
  RecordsetPtr rs = Open("INSERT INTO qm_batch VALUES (2); SELECT SUM(a) AS s FROM qm_batch; SELECT 1");
  EXPECT_EQ(rs->GetCollect("s").ToInt64(), 3);
  // The later result was read off: the connection takes the next statement.
  EXPECT_EQ(Open("SELECT COUNT(*) AS c FROM qm_batch")->GetCollect("c").ToInt64(), 2);
}
