#pragma once
// The databases the data-layer suite runs on: SQLite always; PostgreSQL and MariaDB when the test
// command has started them and named them in QELVO_TEST_PG / QELVO_TEST_MARIADB (their ODBC
// connection strings). Each back end brings its own spelling of the few types that differ.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DbConnection.h"

struct TestDatabase {
  std::string name;              // "SQLite", "PostgreSQL", "PostgreSQL native", "MariaDB"
  std::string connectionString;  // for a fresh, empty database of the test's own
  std::string autoIncrementKey;  // column definition of an auto-increment primary key
  std::string timestampType;
  std::string doubleType;
  std::string blobType;
  std::string booleanType;
  std::string twoLines;  // an expression for 'line1' LF 'line2'
  bool isSqlite = false;
};

std::vector<TestDatabase> TestDatabases();
inline void PrintTo(const TestDatabase& db, std::ostream* os) {
  *os << db.name;
}
std::string TestDatabaseName(const testing::TestParamInfo<TestDatabase>& info);
// The native provider's string for the server of an ODBC string (SERVER, PORT, DATABASE, UID,
// PWD).
std::string NativePostgresString(const std::string& odbc);
// Whether the database is PostgreSQL, through either provider.
inline bool IsPostgres(const TestDatabase& db) {
  return db.name.rfind("PostgreSQL", 0) == 0;
}

// A fresh database for one test: an empty SQLite file in a temporary folder, or the server's test
// database with every table the suite makes dropped first.
class FreshDatabase {
 public:
  explicit FreshDatabase(const TestDatabase& db);
  ~FreshDatabase();
  const std::string& ConnectionString() const { return connectionString_; }
  DbConnection& Connection() { return connection_; }
  // Runs each statement on the test's connection.
  void Run(const std::vector<std::string>& statements);

 private:
  std::string folder_;
  std::string connectionString_;
  DbConnection connection_;
};

// A temporary folder removed with everything in it when the object goes.
std::string MakeTemporaryFolder();
void RemoveFolder(const std::string& folder);
