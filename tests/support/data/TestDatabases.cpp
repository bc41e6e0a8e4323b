#include <gtest/gtest.h>

#include "tests/support/data/TestDatabases.h"

#include <cstdlib>
#include <filesystem>

#include "data/ado/ComError.h"
#include "data/ado/ConnectionString.h"

std::vector<TestDatabase> TestDatabases() {
  std::vector<TestDatabase> list;
  list.push_back(TestDatabase{"SQLite", "", "INTEGER PRIMARY KEY AUTOINCREMENT", "DATETIME", "DOUBLE", "BLOB",
                              "BOOLEAN", "'line1' || char(10) || 'line2'", true});
  if (const char* pg = std::getenv("QELVO_TEST_PG"); pg && *pg)
    list.push_back(TestDatabase{"PostgreSQL", pg, "SERIAL PRIMARY KEY", "TIMESTAMP", "DOUBLE PRECISION", "BYTEA",
                                "BOOLEAN", "'line1' || chr(10) || 'line2'", false});
  if (const char* pg = std::getenv("QELVO_TEST_PG"); pg && *pg)
    list.push_back(TestDatabase{"PostgreSQL native", NativePostgresString(pg), "SERIAL PRIMARY KEY", "TIMESTAMP",
                                "DOUBLE PRECISION", "BYTEA", "BOOLEAN", "'line1' || chr(10) || 'line2'", false});
  if (const char* my = std::getenv("QELVO_TEST_MARIADB"); my && *my)
    list.push_back(TestDatabase{"MariaDB", my, "INT AUTO_INCREMENT PRIMARY KEY", "DATETIME(3)", "DOUBLE", "LONGBLOB",
                                "BOOLEAN", "CONCAT('line1', CHAR(10), 'line2')", false});
  if (const char* my = std::getenv("QELVO_TEST_MARIADB"); my && *my)
    list.push_back(TestDatabase{"MariaDB native", NativeMariaDbString(my), "INT AUTO_INCREMENT PRIMARY KEY",
                                "DATETIME(3)", "DOUBLE", "LONGBLOB", "BOOLEAN", "CONCAT('line1', CHAR(10), 'line2')",
                                false});
  return list;
}

std::string TestDatabaseName(const testing::TestParamInfo<TestDatabase>& info) {
  std::string name = info.param.name;
  for (char& c : name)
    if (c == ' ') c = '_';
  return name;
}

namespace {
// The same server reached through a native provider instead of its ODBC driver.
std::string NativeString(const std::string& odbcString, const char* provider, const char* defaultPort) {
  ado::ConnectionString odbc = ado::ConnectionString::Parse(odbcString);
  ado::ConnectionString native;
  native.Set("Provider", provider);
  native.Set("Host", odbc.Get("SERVER").value_or("127.0.0.1"));
  native.Set("Port", odbc.Get("PORT").value_or(defaultPort));
  native.Set("Database", odbc.Get("DATABASE").value_or(""));
  native.Set("User ID", odbc.Get("UID").value_or(""));
  native.Set("Password", odbc.Get("PWD").value_or(""));
  return native.ToString();
}
}  // namespace

std::string NativePostgresString(const std::string& odbc) {
  return NativeString(odbc, "PostgreSQL", "5432");
}

std::string NativeMariaDbString(const std::string& odbc) {
  return NativeString(odbc, "MariaDB", "3306");
}

std::string MakeTemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qelvo-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (!made) throw std::runtime_error("cannot make a temporary folder");
  return made;
}

void RemoveFolder(const std::string& folder) {
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
}

namespace {
// Every table and view the suite makes, dropped before each test on a server database.
const char* const kSuiteObjects[] = {"qv_people", "qt_people", "qt_nokey", "qt_types",
                                     "qt_long",   "qt_other",  "qt_filter"};
}  // namespace

FreshDatabase::FreshDatabase(const TestDatabase& db) {
  if (db.isSqlite) {
    folder_ = MakeTemporaryFolder();
    connectionString_ = "Provider=SQLite;Data Source=" + folder_ + "/test.db;Create=True";
  } else {
    connectionString_ = db.connectionString;
  }
  connection_.Open(connectionString_, "", "");
  if (!db.isSqlite) {
    try {
      connection_.Execute("DROP VIEW IF EXISTS qv_people");
    } catch (const ado::ComError&) {
    }
    for (const char* table : kSuiteObjects) {
      if (std::string(table).rfind("qv_", 0) == 0) continue;
      connection_.Execute(std::string("DROP TABLE IF EXISTS ") + table);
    }
  }
}

FreshDatabase::~FreshDatabase() {
  try {
    connection_.Close();
  } catch (const ado::ComError&) {
  }
  RemoveFolder(folder_);
}

void FreshDatabase::Run(const std::vector<std::string>& statements) {
  for (const std::string& s : statements) connection_.Execute(s);
}
