#include "data/ado/mariadb/MariaSession.h"

#include "data/ado/AdoEnums.h"
#include "data/ado/mariadb/MariaCursor.h"
#include "data/ado/mariadb/MariaSchema.h"
#include "data/ado/mariadb/MariaStatementCursor.h"
#include "data/ado/mariadb/MariaTypes.h"

namespace ado::mariadb {
MariaSession::MariaSession(std::shared_ptr<MariaLink> link) : link_(std::move(link)) {}

MariaSession::~MariaSession() {
  if (writing_) {
    try {
      RollbackWrite();
    } catch (const ComError&) {
    }
  }
}

void MariaSession::Execute(const std::string& sql) {
  link_->Settle();
  MYSQL* m = link_->Handle();
  if (mysql_real_query(m, sql.data(), sql.size()) != 0) Raise(m);
  for (;;) {
    // Rows of a statement that returns some are read off and dropped.
    if (mysql_field_count(m) > 0) {
      ResultPtr rows(mysql_use_result(m));
      if (!rows) Raise(m);
      while (mysql_fetch_row(rows.get())) {
      }
      if (mysql_errno(m) != 0) Raise(m);
    }
    const int next = mysql_next_result(m);
    if (next < 0) break;
    // A later statement of the text failed.
    if (next > 0) Raise(m);
  }
}

std::unique_ptr<ProviderCursor> MariaSession::OpenQuery(const std::string& sql,
                                                        const std::vector<Parameter>& parameters) {
  link_->Settle();
  MYSQL* m = link_->Handle();
  FactsByTable tables;
  if (!parameters.empty()) {
    StatementPtr stmt = Prepare(sql, parameters, &tables);
    if (mysql_stmt_field_count(stmt.get()) == 0)
      return std::make_unique<EmptyCursor>(static_cast<long>(mysql_stmt_affected_rows(stmt.get())));
    return std::make_unique<StatementCursor>(link_, std::move(stmt), std::move(tables));
  }
  if (StatementPtr stmt = PrepareRows(sql)) {
    tables = TablesOfResult(stmt.get());
    if (mysql_stmt_execute(stmt.get()) != 0) RaiseStatement(stmt.get());
    return std::make_unique<StatementCursor>(link_, std::move(stmt), std::move(tables));
  }
  if (mysql_real_query(m, sql.data(), sql.size()) != 0) Raise(m);
  // The first result that has columns (a text may begin with statements that return none).
  long affected = -1;
  for (bool first = true;; first = false) {
    if (mysql_field_count(m) > 0) {
      ResultPtr result(mysql_use_result(m));
      if (!result) Raise(m);
      return std::make_unique<TextCursor>(link_, std::move(result));
    }
    if (first) affected = static_cast<long>(mysql_affected_rows(m));
    const int next = mysql_next_result(m);
    if (next < 0) return std::make_unique<EmptyCursor>(affected);
    if (next > 0) Raise(m);
  }
}

std::unique_ptr<ProviderCursor> MariaSession::OpenSchema(int schema) {
  link_->Settle();
  if (schema == adSchemaTables) return TablesRowset(*link_);
  if (schema == adSchemaColumns) return ColumnsRowset(*link_);
  throw ComError(adErrFeatureNotAvailable);
}

StatementPtr MariaSession::PrepareRows(const std::string& sql) {
  MYSQL* m = link_->Handle();
  StatementPtr stmt(mysql_stmt_init(m));
  if (!stmt) Raise(m);
  MYSQL_STMT* s = stmt.get();
  if (mysql_stmt_prepare(s, sql.data(), sql.size()) != 0) {
    // A lost connection or a cancel that reached the prepare fails the statement as it is;
    // anything else may be a text the server does not prepare (several statements, some SHOW or
    // administrative ones), and the text protocol runs it or reports its fault.
    if (IsConnectionLost(mysql_stmt_errno(s)) || link_->Cancelled()) RaiseStatement(s);
    return nullptr;
  }
  // A `?` that is no parameter here, or a statement whose result the prepare does not know (CALL):
  // the text protocol.
  if (mysql_stmt_param_count(s) != 0 || mysql_stmt_field_count(s) == 0) return nullptr;
  return stmt;
}

FactsByTable MariaSession::TablesOfResult(MYSQL_STMT* s) {
  // The connection is free between the prepare and the execute: the catalogue is asked there,
  // not on a second connection while the rows stream.
  ResultPtr meta(mysql_stmt_result_metadata(s));
  if (!meta) return {};
  return TablesOf(*link_, mysql_fetch_fields(meta.get()), mysql_num_fields(meta.get()));
}

StatementPtr MariaSession::Prepare(const std::string& sql, const std::vector<Parameter>& parameters,
                                   FactsByTable* tables) {
  link_->Settle();
  MYSQL* m = link_->Handle();
  StatementPtr stmt(mysql_stmt_init(m));
  if (!stmt) Raise(m);
  MYSQL_STMT* s = stmt.get();
  if (mysql_stmt_prepare(s, sql.data(), sql.size()) != 0) RaiseStatement(s);
  if (mysql_stmt_param_count(s) != parameters.size())
    throw ComError(DB_E_ERRORSINCOMMAND,
                   "The statement has " + std::to_string(mysql_stmt_param_count(s)) + " parameter(s); " +
                       std::to_string(parameters.size()) + " value(s) were given.",
                   kSource);
  BoundParameters bound(parameters);
  if (!parameters.empty() && mysql_stmt_bind_param(s, bound.Binds()) != 0) RaiseStatement(s);
  if (tables) *tables = TablesOfResult(s);
  if (mysql_stmt_execute(s) != 0) RaiseStatement(s);
  return stmt;
}

long MariaSession::ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) {
  StatementPtr stmt = Prepare(sql, parameters);
  return static_cast<long>(mysql_stmt_affected_rows(stmt.get()));
}

Variant MariaSession::ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                                    const ColumnInfo* autoIncrementColumn) {
  StatementPtr stmt = Prepare(sql, parameters);
  if (!autoIncrementColumn) return Variant::Null();
  // 0 when the statement generated no value.
  const unsigned long long id = mysql_stmt_insert_id(stmt.get());
  return id == 0 ? Variant::Null() : Variant::UnsignedInt(VT_UI8, id);
}

std::string MariaSession::QuoteIdentifier(std::string_view name) const {
  std::string quoted = "`";
  for (char c : name) {
    if (c == '`') quoted += '`';
    quoted += c;
  }
  return quoted + "`";
}

void MariaSession::BeginWrite() {
  link_->Settle();
  if (mysql_autocommit(link_->Handle(), 0) != 0) Raise(link_->Handle());
  writing_ = true;
}

void MariaSession::CommitWrite() {
  link_->Settle();
  MYSQL* m = link_->Handle();
  if (mysql_commit(m) != 0) {
    ComError failure = LastError(m);
    RollbackWrite();
    throw failure;
  }
  writing_ = false;
  if (mysql_autocommit(m, 1) != 0) Raise(m);
}

void MariaSession::RollbackWrite() {
  link_->Settle();
  MYSQL* m = link_->Handle();
  writing_ = false;
  mysql_rollback(m);
  mysql_autocommit(m, 1);
}

void MariaSession::Cancel() {
  link_->Cancel();
}

}  // namespace ado::mariadb
