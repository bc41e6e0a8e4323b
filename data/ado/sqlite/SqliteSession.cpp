#include "data/ado/sqlite/SqliteSession.h"

#include <cctype>
#include <string>

#include "data/ado/AdoEnums.h"
#include "data/ado/sqlite/SqliteCursor.h"
#include "data/ado/sqlite/SqliteSchema.h"
#include "data/ado/sqlite/SqliteTypes.h"

namespace ado::sqlite {
namespace {

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

}  // namespace

void SqliteSession::Execute(const std::string& sql) {
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

std::unique_ptr<ProviderCursor> SqliteSession::OpenQuery(const std::string& sql,
                                                         const std::vector<Parameter>& parameters) {
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

std::unique_ptr<ProviderCursor> SqliteSession::OpenSchema(int schema) {
  if (schema == adSchemaTables) return TablesRowset(db_.get());
  if (schema == adSchemaColumns) return ColumnsRowset(db_.get());
  throw ComError(adErrFeatureNotAvailable);
}

long SqliteSession::ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) {
  RunWithParameters(sql, parameters);
  return static_cast<long>(sqlite3_changes(db_.get()));
}

Variant SqliteSession::ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                                     const ColumnInfo* autoIncrementColumn) {
  RunWithParameters(sql, parameters);
  if (!autoIncrementColumn) return Variant::Null();
  return Variant(static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_.get())));
}

void SqliteSession::BeginWrite() {
  Execute("SAVEPOINT qelvo_write");
}
void SqliteSession::CommitWrite() {
  Execute("RELEASE qelvo_write");
}
void SqliteSession::RollbackWrite() {
  sqlite3_exec(db_.get(), "ROLLBACK TO qelvo_write; RELEASE qelvo_write", nullptr, nullptr, nullptr);
}

void SqliteSession::RunWithParameters(const std::string& sql, const std::vector<Parameter>& parameters) {
  StatementPtr stmt = Prepare(db_.get(), sql.c_str(), static_cast<int>(sql.size()), nullptr);
  for (std::size_t i = 0; i < parameters.size(); ++i)
    BindParameter(db_.get(), stmt.get(), static_cast<int>(i + 1), parameters[i]);
  while (Check(db_.get(), sqlite3_step(stmt.get())) == SQLITE_ROW) {
  }
}

}  // namespace ado::sqlite
