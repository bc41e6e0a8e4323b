#include "data/ado/sqlite/SqliteProvider.h"

#include <strings.h>

#include <optional>
#include <string>

#include "data/ado/sqlite/SqliteCheck.h"
#include "data/ado/sqlite/SqliteSession.h"

namespace ado {
namespace {

bool IsTrue(const std::string& v) {
  return strcasecmp(v.c_str(), "true") == 0 || strcasecmp(v.c_str(), "yes") == 0 || v == "1";
}

}  // namespace

std::unique_ptr<ProviderSession> OpenSqliteSession(const ConnectionString& connection) {
  std::optional<std::string> path = connection.Get("Data Source");
  if (!path) path = connection.Get("Database");
  if (!path || path->empty())
    throw ComError(E_FAIL, "The SQLite connection string names no file: add Data Source=<file>.", "SQLite");
  // One thread at a time uses a connection (a fetch on a worker has it until the fetch ends;
  // sqlite3_interrupt is safe from any thread): SQLite's per-call locking would only cost time.
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
  if (IsTrue(connection.Get("Create").value_or("")) || *path == ":memory:") flags |= SQLITE_OPEN_CREATE;
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(path->c_str(), &raw, flags, nullptr);
  sqlite::DatabasePtr db(raw);
  if (rc != SQLITE_OK) {
    std::string message = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
    throw ComError(E_FAIL, "Cannot open the SQLite database \"" + *path + "\": " + message, "SQLite", "", rc);
  }
  sqlite3_busy_timeout(db.get(), 5000);
  sqlite3_extended_result_codes(db.get(), 1);
  // A file that is not a database fails here rather than at the first query.
  sqlite::Check(db.get(), sqlite3_exec(db.get(), "SELECT 1 FROM sqlite_master LIMIT 1", nullptr, nullptr, nullptr),
                E_FAIL);
  return std::make_unique<sqlite::SqliteSession>(std::move(db));
}

}  // namespace ado
