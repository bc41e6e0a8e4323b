// A server that goes away under an open connection: every call raises a ComError with the
// driver's text, nothing crashes, rows already read stay readable, and once the server is back
// the holder's ReOpen gives a working connection. Each server here is the test's own.
#include <gtest/gtest.h>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/ado/ComError.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/ServerFaults.h"

namespace {

class OdbcServerLoss : public testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(OdbcServerLoss, CallsFailCleanlyWhileTheServerIsDownAndReOpenWorksAfterwards) {
  OwnServers server(GetParam());
  QELVO_OWN_SERVER(server)
  ExpectServerLossAndReOpen(
      server.ConnectionString(), "qo_loss", [&] { return server.Stop(); }, [&] { return server.Resume(); },
      [](DbConnection&, const std::string& first) { EXPECT_EQ(first.rfind("[unixODBC]", 0), 0u) << first; });
}

TEST_P(OdbcServerLoss, AServerCursorLosesItsServerMidWalkWithoutACrash) {
  OwnServers server(GetParam());
  QELVO_OWN_SERVER(server)
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
