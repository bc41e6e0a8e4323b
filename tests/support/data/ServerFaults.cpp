#include "tests/support/data/ServerFaults.h"

#include <gtest/gtest.h>

#include <chrono>

#include "data/DbRecordset.h"
#include "data/ado/Connection.h"

using namespace ado;

Refusal ExpectRefused(const std::string& connectionString, const std::string& user, const std::string& password) {
  ConnectionPtr connection;
  connection.CreateInstance();
  auto start = std::chrono::steady_clock::now();
  Refusal r;
  try {
    connection->Open(connectionString, user, password);
    ADD_FAILURE() << "the connection was made: " << connectionString;
  } catch (const ComError& e) {
    r.code = e.Error();
    r.description = e.Description();
    r.state = e.SqlState();
    r.source = e.Source();
    EXPECT_TRUE(e.HasErrorInfo());
  }
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(connection->GetState(), adStateClosed);
  EXPECT_LT(r.seconds, 30.0) << "far beyond any connect timeout used: " << connectionString;
  return r;
}

std::string ExpectComError(const std::function<void()>& call) {
  try {
    call();
  } catch (const ComError& e) {
    EXPECT_TRUE(e.HasErrorInfo());
    EXPECT_FALSE(e.Description().empty());
    return e.Description();
  }
  ADD_FAILURE() << "no ComError";
  return {};
}

void ExpectServerLossAndReOpen(const std::string& connectionString, const std::string& table,
                               const std::function<bool()>& stop, const std::function<bool()>& resume,
                               const std::function<void(DbConnection&, const std::string&)>& whileDown) {
  DbConnection connection;
  connection.Open(connectionString, "", "");
  connection.Execute("CREATE TABLE " + table + " (id INTEGER PRIMARY KEY, name VARCHAR(20))");
  connection.Execute("INSERT INTO " + table + " VALUES (1, 'kept'), (2, 'also kept')");
  DbRecordset rows;
  rows.Open(&connection, "SELECT id, name FROM " + table + " ORDER BY id");

  ASSERT_TRUE(stop());

  const std::string first = ExpectComError([&] { connection.Execute("SELECT 1"); });
  ExpectComError([&] { connection.Execute("INSERT INTO " + table + " VALUES (3, 'lost')"); });
  DbRecordset other;
  ExpectComError([&] { other.Open(&connection, "SELECT id FROM " + table); });
  EXPECT_FALSE(other.IsOpen());
  if (whileDown) whileDown(connection, first);
  // The rows read before stay; writing them back needs the server.
  EXPECT_EQ(rows.GetFieldValueIdx(1), "kept");
  rows.MoveNext();
  EXPECT_EQ(rows.GetFieldValueIdx(1), "also kept");
  rows.SetFieldValue("name", std::string("changed"));
  ExpectComError([&] { rows.Update(); });
  rows.CancelUpdate();
  rows.Close();

  ASSERT_TRUE(resume());
  EXPECT_TRUE(connection.ReOpen());
  EXPECT_EQ(connection.QuerySingleField("SELECT COUNT(*) FROM " + table), "2");
  connection.Execute("INSERT INTO " + table + " VALUES (3, 'after')");
  EXPECT_EQ(connection.QuerySingleField("SELECT name FROM " + table + " WHERE id = 3"), "after");
}
