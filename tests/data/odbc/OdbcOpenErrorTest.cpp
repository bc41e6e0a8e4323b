// A connection whose open failed tells its next user why, on every database: the open's own
// error, not only word that the connection is closed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DbConnection.h"
#include "data/DbConnectionHolder.h"
#include "data/DbRecordset.h"
#include "data/ado/ComError.h"
#include "tests/data/odbc/OdbcServers.h"

namespace {

std::string Pg(int port, const std::string& password) {
  return "DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=" + std::to_string(port) +
         ";DATABASE=testdb;UID=tester;PWD=" + password;
}
std::string Maria(int port, const std::string& password) {
  return "DRIVER={MariaDB Unicode};SERVER=127.0.0.1;PORT=" + std::to_string(port) +
         ";DATABASE=testdb;UID=tester;PWD=" + password;
}

}  // namespace

// The holder shows its own box for a failed open and hands out the closed connection; whoever uses
// it next gets the open's own error, not only word that the connection is closed.
TEST(OpenError, AFailedOpenIsWhatTheNextUseOfTheConnectionReports) {
  struct Case {
    std::string connectionString;
    std::string words;
  };
  std::vector<Case> cases = {{"Provider=SQLite;Data Source=/no/such/folder/x.db", "unable to open database"}};
  if (!SharedPostgresString().empty())
    cases.push_back({Pg(SharedPostgresPort(), "wrong"), "password authentication failed for user"});
  if (!SharedMariaDbString().empty()) cases.push_back({Maria(SharedMariaDbPort(), "wrong"), "Access denied"});
  const bool wasPrivate = PrivateConnections;
  PrivateConnections = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.connectionString);
    CurrentConnectionString = c.connectionString;
    DbConnectionHolder holder;
    std::string openError;
    try {
      holder.GetConnection();
      ADD_FAILURE() << "opened";
    } catch (const ado::ComError& e) {
      openError = e.Description();
    }
    EXPECT_NE(openError.find(c.words), std::string::npos) << openError;
    DbConnection* connection = holder.GetConnection();
    ASSERT_NE(connection, nullptr);
    EXPECT_FALSE(connection->IsOpen());
    try {
      connection->Execute("SELECT 1");
      ADD_FAILURE() << "ran on a closed connection";
    } catch (const ado::ComError& e) {
      EXPECT_EQ(e.Description(), openError);
    }
    DbRecordset rs;
    try {
      rs.Open(connection, "SELECT 1");
      ADD_FAILURE() << "opened on a closed connection";
    } catch (const ado::ComError& e) {
      EXPECT_EQ(e.Description(), openError);
    }
    // A connection that never tried to open still says only that it is closed.
    DbConnection never;
    try {
      never.Execute("SELECT 1");
      ADD_FAILURE();
    } catch (const ado::ComError& e) {
      EXPECT_EQ(e.Error(), ado::adErrObjectClosed);
    }
  }
  PrivateConnections = wasPrivate;
  CurrentConnectionString.clear();
}
