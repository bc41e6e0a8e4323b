#include "tests/export/SourceRows.h"

#include <sqlite3.h>

#include <cctype>
#include <stdexcept>

SourceTable ReadSourceTable(const std::string& databaseFile, const std::string& query) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(databaseFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open " + databaseFile);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, query.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    std::string error = sqlite3_errmsg(db);
    sqlite3_close(db);
    throw std::runtime_error(error);
  }
  SourceTable table;
  const int columns = sqlite3_column_count(stmt);
  for (int c = 0; c < columns; ++c) {
    table.names.push_back(sqlite3_column_name(stmt, c));
    const char* declared = sqlite3_column_decltype(stmt, c);
    std::string upper = declared ? declared : "";
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    table.declaredTypes.push_back(upper);
  }
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    std::vector<SourceValue> row;
    for (int c = 0; c < columns; ++c) {
      SourceValue v;
      v.storage = sqlite3_column_type(stmt, c);
      if (v.storage == SQLITE_INTEGER) v.integer = sqlite3_column_int64(stmt, c);
      if (v.storage == SQLITE_FLOAT) v.real = sqlite3_column_double(stmt, c);
      if (v.storage == SQLITE_TEXT || v.storage == SQLITE_BLOB) {
        const void* data = v.storage == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(stmt, c))
                                                    : sqlite3_column_blob(stmt, c);
        if (data)
          v.bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
      }
      row.push_back(std::move(v));
    }
    table.rows.push_back(std::move(row));
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return table;
}
