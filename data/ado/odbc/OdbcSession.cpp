#include "data/ado/odbc/OdbcSession.h"

#include "data/ado/AdoEnums.h"
#include "data/ado/odbc/OdbcCursor.h"
#include "data/ado/odbc/OdbcParameters.h"
#include "data/ado/odbc/OdbcSchema.h"
#include "data/ado/odbc/OdbcText.h"

namespace ado::odbc {
namespace {

struct Executed {
  Handle stmt;
  std::unique_ptr<BoundParameters> parameters;
  SQLRETURN rc = SQL_SUCCESS;
};

Executed Run(const OdbcConnection& connection, const std::string& sql, const std::vector<Parameter>& parameters) {
  Executed e;
  e.stmt = connection.NewStatement();
  if (!parameters.empty()) e.parameters = std::make_unique<BoundParameters>(connection, e.stmt.get(), parameters);
  WideString text = ToWide(sql);
  // Terminated where the driver needs it, unless the statement holds a NUL of its own.
  const bool terminated = connection.PassesWideTextTerminated() && text.find(u'\0') == WideString::npos;
  // A statement at work can be cancelled from another thread, as a fetch can.
  struct Running {
    const OdbcConnection& connection;
    SQLHSTMT stmt;
    ~Running() { connection.ClearFetchingStatement(stmt); }
  } running{connection, e.stmt.get()};
  connection.SetFetchingStatement(e.stmt.get());
  e.rc = connection.CheckStatement(
      SQLExecDirectW(e.stmt.get(), AsSql(text), terminated ? SQL_NTS : static_cast<SQLINTEGER>(text.size())),
      e.stmt.get());
  return e;
}

}  // namespace

OdbcSession::OdbcSession(std::shared_ptr<OdbcConnection> connection) : connection_(std::move(connection)) {}

OdbcSession::~OdbcSession() {
  if (writing_) RollbackWrite();
}

void OdbcSession::Execute(const std::string& sql) {
  NumericLocaleScope locale;
  Executed e = Run(*connection_, sql, {});
  // Later statements of a batch report their errors as their results are reached.
  if (e.rc != SQL_NO_DATA)
    while (connection_->CheckStatement(SQLMoreResults(e.stmt.get()), e.stmt.get()) != SQL_NO_DATA) {
    }
}

std::unique_ptr<ProviderCursor> OdbcSession::OpenQuery(const std::string& sql,
                                                       const std::vector<Parameter>& parameters) {
  NumericLocaleScope locale;
  Executed e = Run(*connection_, sql, parameters);
  // A searched UPDATE or DELETE that matched nothing.
  if (e.rc == SQL_NO_DATA) return std::make_unique<EmptyCursor>(0);
  // The first result that has columns (a batch may begin with statements that return none).
  long affected = -1;
  for (bool first = true;; first = false) {
    SQLSMALLINT columns = 0;
    connection_->CheckStatement(SQLNumResultCols(e.stmt.get(), &columns), e.stmt.get());
    if (columns > 0) break;
    if (first) {
      // The statement's own count; a driver that cannot count says -1.
      SQLLEN count = -1;
      if (SQL_SUCCEEDED(SQLRowCount(e.stmt.get(), &count))) affected = static_cast<long>(count);
    }
    if (connection_->CheckStatement(SQLMoreResults(e.stmt.get()), e.stmt.get()) == SQL_NO_DATA)
      return std::make_unique<EmptyCursor>(affected);
  }
  return std::make_unique<OdbcCursor>(connection_, std::move(e.stmt), std::move(e.parameters));
}

std::unique_ptr<ProviderCursor> OdbcSession::OpenSchema(int schema) {
  if (schema == adSchemaTables) return TablesRowset(*connection_);
  if (schema == adSchemaColumns) return ColumnsRowset(*connection_);
  throw ComError(adErrFeatureNotAvailable);
}

long OdbcSession::ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) {
  NumericLocaleScope locale;
  Executed e = Run(*connection_, sql, parameters);
  if (e.rc == SQL_NO_DATA) return 0;
  SQLLEN count = 0;
  connection_->CheckStatement(SQLRowCount(e.stmt.get(), &count), e.stmt.get());
  return static_cast<long>(count);
}

Variant OdbcSession::ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                                   const ColumnInfo* autoIncrementColumn) {
  const Dialect dialect = connection_->GetDialect();
  const std::string& statement = sql;
  auto firstValue = [&](const std::string& query, const std::vector<Parameter>& values) {
    std::unique_ptr<ProviderCursor> cursor = OpenQuery(query, values);
    RowStore scratch;
    if (!cursor->Columns().empty() && cursor->Fetch(scratch.BeginRow())) return scratch.GetVariant(scratch.EndRow(), 0);
    return Variant::Null();
  };
  if (!autoIncrementColumn) {
    ExecuteUpdate(statement, parameters);
    return Variant::Null();
  }
  if (dialect == Dialect::PostgreSql) {
    const Variant& column = autoIncrementColumn->baseColumnName;
    std::string name = column.vt() == VT_BSTR ? column.Str() : autoIncrementColumn->name;
    return firstValue(statement + " RETURNING " + QuoteIdentifier(name), parameters);
  }
  ExecuteUpdate(statement, parameters);
  const char* identity = dialect == Dialect::MySql    ? "SELECT LAST_INSERT_ID()"
                         : dialect == Dialect::Sqlite ? "SELECT last_insert_rowid()"
                                                      : "SELECT @@IDENTITY";
  try {
    Variant value = firstValue(identity, {});
    // MySQL answers 0 when the statement generated no value.
    if (dialect == Dialect::MySql && value.HasValue() && value.ToText() == "0") return Variant::Null();
    return value;
  } catch (const ComError&) {
    // The row is in; only its new key is unknown.
    return Variant::Null();
  }
}

std::string OdbcSession::QuoteIdentifier(std::string_view name) const {
  char open = connection_->IdentifierQuote();
  char close = open == '[' ? ']' : open;
  std::string quoted(1, open);
  for (char c : name) {
    if (c == close) quoted += close;
    quoted += c;
  }
  quoted += close;
  return quoted;
}

std::string OdbcSession::DefaultValuesClause() const {
  return connection_->GetDialect() == Dialect::MySql ? " () VALUES ()" : ProviderSession::DefaultValuesClause();
}

std::string OdbcSession::DatabaseFamily() const {
  switch (connection_->GetDialect()) {
    case Dialect::PostgreSql:
      return "PostgreSQL";
    case Dialect::MySql:
      return "MySQL";
    case Dialect::Sqlite:
      return "SQLite";
    case Dialect::Other:
      break;
  }
  return {};
}

void OdbcSession::BeginWrite() {
  NumericLocaleScope locale;
  connection_->CheckConnection(SQLSetConnectAttrW(connection_->Dbc(), SQL_ATTR_AUTOCOMMIT,
                                                  reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER));
  writing_ = true;
}

void OdbcSession::CommitWrite() {
  NumericLocaleScope locale;
  SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, connection_->Dbc(), SQL_COMMIT);
  if (!Succeeded(rc)) {
    try {
      connection_->CheckConnection(rc);
    } catch (...) {
      RollbackWrite();
      throw;
    }
  }
  writing_ = false;
  connection_->CheckConnection(SQLSetConnectAttrW(connection_->Dbc(), SQL_ATTR_AUTOCOMMIT,
                                                  reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER));
}

void OdbcSession::Cancel() {
  connection_->CancelFetch();
}

void OdbcSession::RollbackWrite() {
  NumericLocaleScope locale;
  SQLEndTran(SQL_HANDLE_DBC, connection_->Dbc(), SQL_ROLLBACK);
  SQLSetConnectAttrW(connection_->Dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                     SQL_IS_UINTEGER);
  writing_ = false;
}

}  // namespace ado::odbc
