#include "data/ado/sqlite/SqliteCheck.h"

namespace ado::sqlite {

void Raise(sqlite3* db, int rc, HRESULT hr) {
  const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  throw ComError(hr, message ? message : sqlite3_errstr(rc), "SQLite", "", db ? sqlite3_extended_errcode(db) : rc);
}

StatementPtr Prepare(sqlite3* db, const char* sql, int length, const char** tail) {
  sqlite3_stmt* stmt = nullptr;
  Check(db, sqlite3_prepare_v2(db, sql, length, &stmt, tail));
  return StatementPtr(stmt);
}

}  // namespace ado::sqlite
