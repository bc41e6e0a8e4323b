#include "data/ado/odbc/OdbcCancel.h"

#include <cctype>

namespace ado::odbc {
namespace {

// The first column of the first row of a statement as text; empty on any failure.
std::string FirstValue(SQLHDBC dbc, const std::string& sql) {
  SQLHANDLE made = SQL_NULL_HANDLE;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &made))) return {};
  Handle stmt(made, HandleDeleter{SQL_HANDLE_STMT});
  std::string text(sql);
  if (!Succeeded(SQLExecDirect(stmt.get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) return {};
  const SQLRETURN fetched = SQLFetch(stmt.get());
  if (fetched != SQL_SUCCESS && fetched != SQL_SUCCESS_WITH_INFO) return {};
  char value[64] = {};
  SQLLEN length = 0;
  if (!Succeeded(SQLGetData(stmt.get(), 1, SQL_C_CHAR, value, sizeof value, &length)) || length <= 0) return {};
  return value;
}

// The first value of `sql` when it is a number, else empty.
std::string NumberOf(SQLHDBC dbc, const std::string& sql) {
  std::string number = FirstValue(dbc, sql);
  for (char c : number)
    if (!std::isdigit(static_cast<unsigned char>(c))) return {};
  return number;
}

// Runs `sql` on a new connection made with `connectionString`; never raises.
void RunElsewhere(const std::string& connectionString, const ConnectOptions& options, const std::string& sql) {
  try {
    // psqlODBC sets the process's locale while it connects; the worker reads it meanwhile.
    std::lock_guard lock(ProcessLocaleMutex());
    NumericLocaleScope locale;
    DriverConnection other(connectionString, options);
    FirstValue(other.Dbc(), sql);
  } catch (const ComError&) {
    // The statement ends by itself then, or with its own error.
  }
}

}  // namespace

std::string PostgreSqlBackend(SQLHDBC dbc) {
  return NumberOf(dbc, "SELECT pg_backend_pid()");
}

std::string MySqlConnectionId(SQLHDBC dbc) {
  return NumberOf(dbc, "SELECT CONNECTION_ID()");
}

void KillMySqlQuery(const std::string& connectionString, const ConnectOptions& options, const std::string& id) {
  if (!id.empty()) RunElsewhere(connectionString, options, "KILL QUERY " + id);
}

void CancelPostgreSqlBackend(const std::string& connectionString, const ConnectOptions& options,
                             const std::string& backend) {
  if (!backend.empty()) RunElsewhere(connectionString, options, "SELECT pg_cancel_backend(" + backend + ")");
}

}  // namespace ado::odbc
