#pragma once
// The rows of a SQLite table read straight through libsqlite3, beside the data layer, so that what
// the exports wrote can be held against values the export code never touched.
#include <cstdint>
#include <string>
#include <vector>

struct SourceValue {
  int storage = 0;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB, SQLITE_NULL
  std::int64_t integer = 0;
  double real = 0;
  std::string bytes;  // text or blob
};

struct SourceTable {
  std::vector<std::string> names;
  std::vector<std::string> declaredTypes;  // upper case, as the CREATE TABLE wrote them
  std::vector<std::vector<SourceValue>> rows;
};

SourceTable ReadSourceTable(const std::string& databaseFile, const std::string& query);
