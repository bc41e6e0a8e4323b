#include "data/ado/mariadb/MariaCheck.h"

#include <errmsg.h>
#include <mysqld_error.h>

namespace ado::mariadb {
namespace {

ComError Made(unsigned error, std::string state, std::string message, HRESULT hr) {
  if (message.empty()) message = "The MariaDB client library reported error " + std::to_string(error) + ".";
  // "HY000" is the library's word for "no SQLSTATE of its own"; a lost connection has one.
  if (IsConnectionLost(error) && (state.empty() || state == "HY000")) state = "08S01";
  const HRESULT code = hr == DB_E_ERRORSINCOMMAND ? HResultFor(error, state, hr) : hr;
  return ComError(code, std::move(message), kSource, std::move(state), static_cast<long>(error));
}

}  // namespace

bool IsConnectionLost(unsigned error) {
  return error == CR_SERVER_GONE_ERROR || error == CR_SERVER_LOST || error == CR_CONNECTION_ERROR ||
         error == CR_CONN_HOST_ERROR || error == CR_SERVER_LOST_EXTENDED || error == ER_CONNECTION_KILLED ||
         error == ER_SERVER_SHUTDOWN;
}

HRESULT HResultFor(unsigned error, const std::string& state, HRESULT fallback) {
  if (state.rfind("23", 0) == 0) return DB_E_INTEGRITYVIOLATION;
  if (state.rfind("08", 0) == 0 || IsConnectionLost(error)) return E_FAIL;
  if (state == "22003") return DB_E_DATAOVERFLOW;
  // Stopped by Cancel (KILL QUERY).
  if (error == ER_QUERY_INTERRUPTED) return E_ABORT;
  return fallback;
}

ComError LastError(MYSQL* m, HRESULT hr) {
  return Made(mysql_errno(m), mysql_sqlstate(m), mysql_error(m), hr);
}

void Raise(MYSQL* m, HRESULT hr) {
  throw LastError(m, hr);
}

ComError StatementError(MYSQL_STMT* s) {
  return Made(mysql_stmt_errno(s), mysql_stmt_sqlstate(s), mysql_stmt_error(s), DB_E_ERRORSINCOMMAND);
}

void RaiseStatement(MYSQL_STMT* s) {
  throw StatementError(s);
}

}  // namespace ado::mariadb
