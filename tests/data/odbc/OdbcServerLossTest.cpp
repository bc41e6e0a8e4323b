// A server that goes away under an open connection: every call raises a ComError with the
// driver's text, nothing crashes, rows already read stay readable, and once the server is back
// the holder's ReOpen gives a working connection. Each server here is the test's own.
#include <gtest/gtest.h>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/ado/ComError.h"
#include "tests/data/odbc/OdbcServers.h"

namespace {

class OdbcServerLoss : public testing::TestWithParam<std::string> {};

std::string ExpectComError(const std::function<void()>& call) {
  try {
    call();
  } catch (const ado::ComError& e) {
    EXPECT_TRUE(e.HasErrorInfo());
    return e.Description();
  }
  ADD_FAILURE() << "no ComError";
  return {};
}

}  // namespace

TEST_P(OdbcServerLoss, CallsFailCleanlyWhileTheServerIsDownAndReOpenWorksAfterwards) {
  OwnServers server(GetParam());
  if (!server.Available()) {
    if (server.Expected()) FAIL() << server.Why();
    GTEST_SKIP() << server.Why();
  }

  DbConnection connection;
  connection.Open(server.ConnectionString(), "", "");
  connection.Execute("CREATE TABLE qo_loss (id INTEGER PRIMARY KEY, name VARCHAR(20))");
  connection.Execute("INSERT INTO qo_loss VALUES (1, 'kept'), (2, 'also kept')");
  DbRecordset rows;
  rows.Open(&connection, "SELECT id, name FROM qo_loss ORDER BY id");

  ASSERT_TRUE(server.Stop());

  std::string text = ExpectComError([&] { connection.Execute("SELECT 1"); });
  EXPECT_EQ(text.rfind("[unixODBC]", 0), 0u) << text;
  ExpectComError([&] { connection.Execute("INSERT INTO qo_loss VALUES (3, 'lost')"); });
  DbRecordset other;
  ExpectComError([&] { other.Open(&connection, "SELECT id FROM qo_loss"); });
  EXPECT_FALSE(other.IsOpen());
  // The rows read before stay; writing them back needs the server.
  EXPECT_EQ(rows.GetFieldValueIdx(1), "kept");
  rows.MoveNext();
  EXPECT_EQ(rows.GetFieldValueIdx(1), "also kept");
  rows.SetFieldValue("name", std::string("changed"));
  ExpectComError([&] { rows.Update(); });
  rows.CancelUpdate();
  rows.Close();

  ASSERT_TRUE(server.Resume());
  EXPECT_TRUE(connection.ReOpen());
  EXPECT_EQ(connection.QuerySingleField("SELECT COUNT(*) FROM qo_loss"), "2");
  connection.Execute("INSERT INTO qo_loss VALUES (3, 'after')");
  EXPECT_EQ(connection.QuerySingleField("SELECT name FROM qo_loss WHERE id = 3"), "after");
}

TEST_P(OdbcServerLoss, AServerCursorLosesItsServerMidWalkWithoutACrash) {
  OwnServers server(GetParam());
  if (!server.Available()) {
    if (server.Expected()) FAIL() << server.Why();
    GTEST_SKIP() << server.Why();
  }
  DbConnection connection;
  connection.Open(server.ConnectionString(), "", "");
  connection.Execute("CREATE TABLE qo_walk (id INTEGER)");
  connection.Execute("INSERT INTO qo_walk VALUES (1), (2), (3)");
  DbRecordset rows;
  int saved = RecordsetCursorLocation;
  RecordsetCursorLocation = 2;  // adUseServer: rows come as they are walked
  rows.Open(&connection, "SELECT id FROM qo_walk ORDER BY id");
  RecordsetCursorLocation = saved;
  ASSERT_TRUE(server.Stop());
  // The drivers hold the whole result, so the walk may end normally; whatever happens, it is a
  // value or a ComError.
  try {
    while (!rows.IsEOF()) rows.MoveNext();
  } catch (const ado::ComError&) {
  }
  rows.Close();
  ASSERT_TRUE(server.Resume());
  EXPECT_TRUE(connection.ReOpen());
  EXPECT_EQ(connection.QuerySingleField("SELECT COUNT(*) FROM qo_walk"), "3");
}

INSTANTIATE_TEST_SUITE_P(Servers, OdbcServerLoss, testing::Values("pg", "mariadb"),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param == "pg" ? std::string("PostgreSQL") : std::string("MariaDB");
                         });
