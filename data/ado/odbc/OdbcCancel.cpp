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

}  // namespace

std::string PostgreSqlBackend(SQLHDBC dbc) {
  std::string pid = FirstValue(dbc, "SELECT pg_backend_pid()");
  for (char c : pid)
    if (!std::isdigit(static_cast<unsigned char>(c))) return {};
  return pid;
}

void CancelPostgreSqlBackend(const std::string& connectionString, const ConnectOptions& options,
                             const std::string& backend) {
  if (backend.empty()) return;
  try {
    // psqlODBC sets the process's locale while it connects; the worker reads it meanwhile.
    std::lock_guard lock(ProcessLocaleMutex());
    NumericLocaleScope locale;
    DriverConnection other(connectionString, options);
    FirstValue(other.Dbc(), "SELECT pg_cancel_backend(" + backend + ")");
  } catch (const ComError&) {
    // The SQLCancel made before stays the only attempt.
  }
}

}  // namespace ado::odbc
