#include "data/ado/odbc/OdbcConnection.h"

#include <cstdlib>

#include "data/ado/ConnectionString.h"
#include "data/ado/odbc/OdbcCancel.h"
#include "data/ado/odbc/OdbcText.h"

namespace ado::odbc {
namespace {

std::string InfoText(SQLHDBC dbc, SQLUSMALLINT info) {
  SQLWCHAR buffer[512] = {};
  SQLSMALLINT length = 0;
  if (!Succeeded(SQLGetInfoW(dbc, info, buffer, sizeof buffer, &length))) return {};
  return ToUtf8(FromSql(buffer), WideLength(buffer, sizeof buffer / sizeof buffer[0]));
}

SQLUINTEGER InfoInteger(SQLHDBC dbc, SQLUSMALLINT info) {
  SQLUINTEGER value = 0;
  if (!Succeeded(SQLGetInfoW(dbc, info, &value, sizeof value, nullptr))) return 0;
  return value;
}

}  // namespace

OdbcConnection::OdbcConnection(const std::string& connectionString, const ConnectOptions& options)
    : link_(connectionString, options),
      driver_(link_.Driver()),
      connectionString_(connectionString),
      options_(options) {
  NumericLocaleScope locale;
  Learn(connectionString);
  if (dialect_ == Dialect::PostgreSql) backend_ = PostgreSqlBackend(link_.Dbc());
  if (dialect_ == Dialect::MySql) backend_ = MySqlConnectionId(link_.Dbc());
}

OdbcConnection::~OdbcConnection() = default;

void OdbcConnection::Learn(const std::string& connectionString) {
  SQLHDBC dbc = link_.Dbc();
  std::string dbms = InfoText(dbc, SQL_DBMS_NAME);
  if (ContainsNoCase(dbms, "PostgreSQL"))
    dialect_ = Dialect::PostgreSql;
  else if (ContainsNoCase(dbms, "MariaDB") || ContainsNoCase(dbms, "MySQL"))
    dialect_ = Dialect::MySql;
  else if (ContainsNoCase(dbms, "SQLite"))
    dialect_ = Dialect::Sqlite;
  if (driver_.empty()) driver_ = InfoText(dbc, SQL_DRIVER_NAME);
  std::string quote = InfoText(dbc, SQL_IDENTIFIER_QUOTE_CHAR);
  quote_ = quote.size() == 1 && quote[0] != ' ' ? quote[0] : '"';
  catalog_ = InfoText(dbc, SQL_DATABASE_NAME);
  const SQLUINTEGER extensions = InfoInteger(dbc, SQL_GETDATA_EXTENSIONS);
  const SQLUINTEGER anywhere = SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER;
  const SQLUINTEGER reread = anywhere | SQL_GD_BLOCK | SQL_GD_BOUND;
  bindsAmongUnbound_ = (extensions & anywhere) == anywhere;
  rereadsTruncated_ = dialect_ == Dialect::PostgreSql && (extensions & reread) == reread;
  if (dialect_ == Dialect::PostgreSql) {
    ConnectionString parsed = ConnectionString::Parse(connectionString);
    if (auto size = parsed.Get("MaxVarcharSize")) {
      long n = std::strtol(size->c_str(), nullptr, 10);
      if (n > 0) unknownVarcharSize_ = static_cast<SQLULEN>(n);
    }
  }
}

Handle OdbcConnection::NewStatement() const {
  SQLHANDLE made = SQL_NULL_HANDLE;
  SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, link_.Dbc(), &made);
  if (!Succeeded(rc)) Raise(rc, SQL_HANDLE_DBC, link_.Dbc(), driver_, E_FAIL);
  return Handle(made, HandleDeleter{SQL_HANDLE_STMT});
}

void OdbcConnection::SetFetchingStatement(SQLHSTMT stmt) const {
  std::lock_guard lock(fetchingMutex_);
  fetching_ = stmt;
}

void OdbcConnection::ClearFetchingStatement(SQLHSTMT stmt) const {
  std::lock_guard lock(fetchingMutex_);
  if (fetching_ == stmt) fetching_ = nullptr;
}

void OdbcConnection::CancelFetch() const {
  // Under the lock, so that the statement cannot be freed while it is cancelled.
  std::lock_guard lock(fetchingMutex_);
  if (!fetching_) return;
  // MariaDB's driver closes the cursor under a fetch between two calls, and then crashes in the
  // next one: the server is asked instead (a statement still at work stops; a result the driver
  // already holds is left to the fetch loop's own stop).
  // psqlODBC's SQLCancel does nothing outside SQLExecute: the server is asked instead.
  if (dialect_ == Dialect::MySql) {
    KillMySqlQuery(connectionString_, options_, backend_);
    return;
  }
  if (dialect_ == Dialect::PostgreSql) {
    CancelPostgreSqlBackend(connectionString_, options_, backend_);
    return;
  }
  SQLCancel(fetching_);
}

}  // namespace ado::odbc
