#pragma once
// A result of a SQLite statement: its columns described from the declared types and the table
// metadata SQLite keeps, its rows stepped one at a time.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/sqlite/SqliteCheck.h"

namespace ado::sqlite {

class SqliteCursor : public ProviderCursor {
 public:
  // Steps once, so that errors surface at open and untyped columns are typed by their first value.
  SqliteCursor(sqlite3* db, StatementPtr stmt);
  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Fetch(RowStore::Builder& row) override;

 private:
  struct TableFacts {
    int primaryKeyColumns = 0;
  };
  void Describe();
  TableFacts ReadFacts(const char* database, const char* table);

  sqlite3* db_;
  StatementPtr stmt_;
  bool hasRow_ = false;
  std::vector<ColumnInfo> columns_;
};

}  // namespace ado::sqlite
