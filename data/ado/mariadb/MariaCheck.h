#pragma once
// Every call of the MariaDB client library goes through these: handles owned by unique_ptr, a
// failure turned into a ComError with the server's message, its SQLSTATE and error number, and
// the HRESULT ADO gives that kind of failure.
#include <mysql.h>

#include <memory>
#include <string>

#include "data/ado/ComError.h"

namespace ado::mariadb {

struct ConnectionDeleter {
  void operator()(MYSQL* m) const { mysql_close(m); }
};
using ConnectionPtr = std::unique_ptr<MYSQL, ConnectionDeleter>;

struct ResultDeleter {
  void operator()(MYSQL_RES* r) const { mysql_free_result(r); }
};
using ResultPtr = std::unique_ptr<MYSQL_RES, ResultDeleter>;

struct StatementDeleter {
  void operator()(MYSQL_STMT* s) const { mysql_stmt_close(s); }
};
using StatementPtr = std::unique_ptr<MYSQL_STMT, StatementDeleter>;

inline constexpr const char* kSource = "MariaDB";

// The HRESULT for a failure of this error number and SQLSTATE: integrity violations and lost
// connections have their own codes, everything else is `fallback`.
HRESULT HResultFor(unsigned error, const std::string& state, HRESULT fallback);

// Raises the connection's last error. `hr` is E_FAIL for a connection, DB_E_ERRORSINCOMMAND
// (refined by HResultFor) for a statement.
[[noreturn]] void Raise(MYSQL* m, HRESULT hr = DB_E_ERRORSINCOMMAND);
[[noreturn]] void RaiseStatement(MYSQL_STMT* s);

// Whether an error number says the connection to the server is gone.
bool IsConnectionLost(unsigned error);

}  // namespace ado::mariadb

namespace ado::mariadb {
// The connection's last error as the ComError Raise would throw.
ComError LastError(MYSQL* m, HRESULT hr = DB_E_ERRORSINCOMMAND);
// The statement's last error as RaiseStatement would throw.
ComError StatementError(MYSQL_STMT* s);
}  // namespace ado::mariadb
