#pragma once
// Every libsqlite3 call of the provider goes through these: a failing result code becomes a
// ComError carrying SQLite's own message, its result code and the HRESULT ADO would give.
#include <sqlite3.h>

#include <memory>

#include "data/ado/ComError.h"

namespace ado::sqlite {

struct StatementDeleter {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

struct DatabaseDeleter {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using DatabasePtr = std::unique_ptr<sqlite3, DatabaseDeleter>;

[[noreturn]] void Raise(sqlite3* db, int rc, HRESULT hr = DB_E_ERRORSINCOMMAND);

// Returns rc when it is SQLITE_OK, SQLITE_ROW or SQLITE_DONE, else raises.
inline int Check(sqlite3* db, int rc, HRESULT hr = DB_E_ERRORSINCOMMAND) {
  if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) Raise(db, rc, hr);
  return rc;
}

// Prepares the first statement of the text; *tail receives the rest. Null for blank text.
StatementPtr Prepare(sqlite3* db, const char* sql, int length, const char** tail);

}  // namespace ado::sqlite
