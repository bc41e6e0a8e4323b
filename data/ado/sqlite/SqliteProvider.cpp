#include "data/ado/sqlite/SqliteProvider.h"

#include <strings.h>

#include <cctype>
#include <map>
#include <string>

#include "data/ado/AdoEnums.h"
#include "data/ado/sqlite/SqliteCheck.h"
#include "data/ado/sqlite/SqliteSchema.h"
#include "data/ado/sqlite/SqliteTypes.h"

namespace ado {
namespace sqlite {
namespace {

bool IsTrue(const std::string& v) {
  return strcasecmp(v.c_str(), "true") == 0 || strcasecmp(v.c_str(), "yes") == 0 || v == "1";
}

// The table facts a result column needs, read once per table.
struct TableFacts {
  int primaryKeyColumns = 0;
};

class SqliteCursor : public ProviderCursor {
 public:
  SqliteCursor(sqlite3* db, StatementPtr stmt) : db_(db), stmt_(std::move(stmt)) {
    // The first step runs the statement, so that its errors surface at open and untyped
    // columns can be typed by their first value.
    hasRow_ = Check(db_, sqlite3_step(stmt_.get())) == SQLITE_ROW;
    Describe();
  }

  const std::vector<ColumnInfo>& Columns() const override { return columns_; }

  bool Fetch(RowStore::Builder& row) override {
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

 private:
  void Describe() {
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

  TableFacts ReadFacts(const char* database, const char* table) {
    TableFacts f;
    std::string sql = "SELECT COUNT(*) FROM pragma_table_info(?1, ?2) WHERE pk > 0";
    StatementPtr q = Prepare(db_, sql.c_str(), -1, nullptr);
    sqlite3_bind_text(q.get(), 1, table, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(q.get(), 2, database ? database : "main", -1, SQLITE_TRANSIENT);
    if (sqlite3_step(q.get()) == SQLITE_ROW) f.primaryKeyColumns = sqlite3_column_int(q.get(), 0);
    return f;
  }

  sqlite3* db_;
  StatementPtr stmt_;
  bool hasRow_ = false;
  std::vector<ColumnInfo> columns_;
};

// A statement that returned no columns has already run to its end.
class EmptyCursor : public ProviderCursor {
 public:
  explicit EmptyCursor(long rowsAffected) : rowsAffected_(rowsAffected) {}
  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Fetch(RowStore::Builder&) override { return false; }
  long RowsAffected() const override { return rowsAffected_; }

 private:
  std::vector<ColumnInfo> columns_;
  long rowsAffected_;
};

// Whether the statement changes rows (its count of changes is its own), by its first word.
bool ChangesRows(sqlite3_stmt* stmt) {
  const char* sql = sqlite3_sql(stmt);
  if (!sql) return false;
  std::string word;
  for (const char* p = sql; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (std::isalpha(c)) {
      word += static_cast<char>(std::toupper(c));
    } else if (!word.empty()) {
      break;
    } else if (p[0] == '-' && p[1] == '-') {
      while (*p && *p != '\n') ++p;
      if (!*p) break;
    } else if (!std::isspace(c) && c != '(') {
      break;
    }
  }
  return word == "INSERT" || word == "UPDATE" || word == "DELETE" || word == "REPLACE" || word == "WITH";
}

bool IsBlank(const char* tail) {
  return !tail || *tail == '\0';
}

class SqliteSession : public ProviderSession {
 public:
  explicit SqliteSession(DatabasePtr db) : db_(std::move(db)) {}

  void Execute(const std::string& sql) override {
    const char* next = sql.c_str();
    const char* end = next + sql.size();
    bool any = false;
    while (next < end) {
      const char* tail = nullptr;
      StatementPtr stmt = Prepare(db_.get(), next, static_cast<int>(end - next), &tail);
      next = tail;
      if (!stmt) continue;  // blanks or a comment
      any = true;
      while (Check(db_.get(), sqlite3_step(stmt.get())) == SQLITE_ROW) {
      }
    }
    if (!any) throw ComError(DB_E_ERRORSINCOMMAND, "The statement is empty.", "SQLite");
  }

  std::unique_ptr<ProviderCursor> OpenQuery(const std::string& sql, const std::vector<Parameter>& parameters) override {
    const char* tail = nullptr;
    StatementPtr stmt = Prepare(db_.get(), sql.c_str(), static_cast<int>(sql.size()), &tail);
    if (!stmt) throw ComError(DB_E_ERRORSINCOMMAND, "The query is empty.", "SQLite");
    // A second statement would be silently ignored: refuse the text instead.
    if (!IsBlank(tail)) {
      const char* rest = nullptr;
      StatementPtr second = Prepare(db_.get(), tail, -1, &rest);
      if (second)
        throw ComError(DB_E_ERRORSINCOMMAND,
                       "The text holds more than one statement; only one can be opened as a result. Separate "
                       "statements with the batch separator to run them as a batch.",
                       "SQLite");
    }
    for (std::size_t i = 0; i < parameters.size(); ++i)
      BindParameter(db_.get(), stmt.get(), static_cast<int>(i + 1), parameters[i]);
    if (sqlite3_column_count(stmt.get()) == 0) {
      const sqlite3_int64 before = sqlite3_total_changes64(db_.get());
      while (Check(db_.get(), sqlite3_step(stmt.get())) == SQLITE_ROW) {
      }
      // sqlite3_changes keeps the count of the last statement that changed rows: it is this
      // statement's only when this one changes rows (a CREATE TABLE does not).
      const bool changed = sqlite3_total_changes64(db_.get()) != before;
      const long affected = changed || ChangesRows(stmt.get()) ? static_cast<long>(sqlite3_changes64(db_.get())) : -1;
      return std::make_unique<EmptyCursor>(affected);
    }
    return std::make_unique<SqliteCursor>(db_.get(), std::move(stmt));
  }

  std::unique_ptr<ProviderCursor> OpenSchema(int schema) override {
    if (schema == adSchemaTables) return TablesRowset(db_.get());
    if (schema == adSchemaColumns) return ColumnsRowset(db_.get());
    throw ComError(adErrFeatureNotAvailable);
  }

  long ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) override {
    RunWithParameters(sql, parameters);
    return static_cast<long>(sqlite3_changes(db_.get()));
  }

  Variant ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                        const ColumnInfo* autoIncrementColumn) override {
    RunWithParameters(sql, parameters);
    if (!autoIncrementColumn) return Variant::Null();
    return Variant(static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_.get())));
  }

  std::string DatabaseFamily() const override { return "SQLite"; }

  std::string QuoteIdentifier(std::string_view name) const override {
    std::string quoted = "\"";
    for (char c : name) {
      if (c == '"') quoted += '"';
      quoted += c;
    }
    return quoted + "\"";
  }

  void BeginWrite() override { Execute("SAVEPOINT qelvo_write"); }
  void CommitWrite() override { Execute("RELEASE qelvo_write"); }
  void RollbackWrite() override {
    sqlite3_exec(db_.get(), "ROLLBACK TO qelvo_write; RELEASE qelvo_write", nullptr, nullptr, nullptr);
  }
  // Safe from any thread; a statement started after the last one ended is not affected.
  void Cancel() override { sqlite3_interrupt(db_.get()); }

 private:
  void RunWithParameters(const std::string& sql, const std::vector<Parameter>& parameters) {
    StatementPtr stmt = Prepare(db_.get(), sql.c_str(), static_cast<int>(sql.size()), nullptr);
    for (std::size_t i = 0; i < parameters.size(); ++i)
      BindParameter(db_.get(), stmt.get(), static_cast<int>(i + 1), parameters[i]);
    while (Check(db_.get(), sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
  }

  DatabasePtr db_;
};

}  // namespace
}  // namespace sqlite

std::unique_ptr<ProviderSession> OpenSqliteSession(const ConnectionString& connection) {
  std::optional<std::string> path = connection.Get("Data Source");
  if (!path) path = connection.Get("Database");
  if (!path || path->empty())
    throw ComError(E_FAIL, "The SQLite connection string names no file: add Data Source=<file>.", "SQLite");
  // One thread uses a connection: SQLite's per-call locking would only cost time.
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
  if (sqlite::IsTrue(connection.Get("Create").value_or("")) || *path == ":memory:") flags |= SQLITE_OPEN_CREATE;
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
