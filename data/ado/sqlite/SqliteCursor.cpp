#include "data/ado/sqlite/SqliteCursor.h"

#include <strings.h>

#include <map>
#include <string>

#include "data/ado/AdoEnums.h"
#include "data/ado/sqlite/SqliteTypes.h"

namespace ado::sqlite {

SqliteCursor::SqliteCursor(sqlite3* db, StatementPtr stmt) : db_(db), stmt_(std::move(stmt)) {
  // The first step runs the statement, so that its errors surface at open and untyped
  // columns can be typed by their first value.
  hasRow_ = Check(db_, sqlite3_step(stmt_.get())) == SQLITE_ROW;
  Describe();
}

bool SqliteCursor::Fetch(RowStore::Builder& row) {
  if (!stmt_) return false;
  if (!hasRow_) {
    if (Check(db_, sqlite3_step(stmt_.get())) != SQLITE_ROW) {
      stmt_.reset();
      return false;
    }
  }
  hasRow_ = false;
  for (std::size_t i = 0; i < columns_.size(); ++i)
    AppendValue(row, stmt_.get(), static_cast<int>(i), columns_[i].type, columns_[i].scale);
  return true;
}

void SqliteCursor::Describe() {
  sqlite3_stmt* s = stmt_.get();
  int count = sqlite3_column_count(s);
  std::map<std::string, TableFacts> facts;
  for (int i = 0; i < count; ++i) {
    ColumnInfo c;
    const char* name = sqlite3_column_name(s, i);
    c.name = name ? name : "";
    const char* declared = sqlite3_column_decltype(s, i);
    MappedType m = MapDeclaredType(declared ? declared : "", hasRow_ ? sqlite3_column_type(s, i) : SQLITE_NULL);
    c.type = m.type;
    c.definedSize = m.definedSize;
    c.precision = m.precision;
    c.scale = m.scale;
    c.attributes = m.attributes;
    const char* database = sqlite3_column_database_name(s, i);
    const char* table = sqlite3_column_table_name(s, i);
    const char* origin = sqlite3_column_origin_name(s, i);
    if (table && origin) {
      c.baseCatalogName = Variant(database ? database : "main");
      c.baseTableName = Variant(table);
      c.baseColumnName = Variant(origin);
      const char* dataType = nullptr;
      const char* collation = nullptr;
      int notNull = 0, primaryKey = 0, autoIncrement = 0;
      if (sqlite3_table_column_metadata(db_, database, table, origin, &dataType, &collation, &notNull, &primaryKey,
                                        &autoIncrement) == SQLITE_OK) {
        auto it = facts.find(table);
        if (it == facts.end()) it = facts.emplace(table, ReadFacts(database, table)).first;
        bool rowidAlias =
            primaryKey && it->second.primaryKeyColumns == 1 && dataType && strcasecmp(dataType, "INTEGER") == 0;
        c.keyColumn = primaryKey != 0;
        c.autoIncrement = autoIncrement != 0 || rowidAlias;
        if (!notNull && !rowidAlias) c.attributes |= adFldIsNullable | adFldMayBeNull;
        if (c.keyColumn) c.attributes |= adFldKeyColumn;
      } else {
        c.attributes |= adFldIsNullable | adFldMayBeNull;
      }
      c.attributes |= adFldUpdatable;
    } else {
      c.attributes |= adFldIsNullable | adFldMayBeNull;
    }
    columns_.push_back(std::move(c));
  }
}

// The table facts a result column needs, read once per table.
SqliteCursor::TableFacts SqliteCursor::ReadFacts(const char* database, const char* table) {
  TableFacts f;
  std::string sql = "SELECT COUNT(*) FROM pragma_table_info(?1, ?2) WHERE pk > 0";
  StatementPtr q = Prepare(db_, sql.c_str(), -1, nullptr);
  sqlite3_bind_text(q.get(), 1, table, -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(q.get(), 2, database ? database : "main", -1, SQLITE_TRANSIENT);
  if (sqlite3_step(q.get()) == SQLITE_ROW) f.primaryKeyColumns = sqlite3_column_int(q.get(), 0);
  return f;
}

}  // namespace ado::sqlite
