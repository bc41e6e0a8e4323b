#pragma once
// One open ODBC connection, shared by the session and the cursors it opened (a cursor keeps the
// connection alive until its last row has been read), with what the provider learned about the
// driver and the database when it connected.
#include <memory>
#include <mutex>
#include <string>

#include "data/ado/odbc/OdbcCheck.h"
#include "data/ado/odbc/OdbcDriverConnect.h"

namespace ado::odbc {

// The back ends whose differences the provider knows.
enum class Dialect { PostgreSql, MySql, Sqlite, Other };

class OdbcConnection {
 public:
  // Connects through DriverConnection (its attributes and timeouts); raises ComError E_FAIL with
  // the driver manager's diagnostics when the connection is refused.
  OdbcConnection(const std::string& connectionString, const ConnectOptions& options);
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  SQLHDBC Dbc() const { return link_.Dbc(); }
  // A new statement handle; raises ComError with the connection's diagnostics.
  Handle NewStatement() const;

  // Raises the diagnostics of a statement or of the connection.
  [[noreturn]] void RaiseStatement(SQLRETURN rc, SQLHSTMT stmt, HRESULT hr = DB_E_ERRORSINCOMMAND) const {
    Raise(rc, SQL_HANDLE_STMT, stmt, driver_, hr);
  }
  SQLRETURN CheckStatement(SQLRETURN rc, SQLHSTMT stmt) const { return Check(rc, SQL_HANDLE_STMT, stmt, driver_); }
  SQLRETURN CheckConnection(SQLRETURN rc, HRESULT hr = DB_E_ERRORSINCOMMAND) const {
    return Check(rc, SQL_HANDLE_DBC, link_.Dbc(), driver_, hr);
  }

  const std::string& DriverLabel() const { return driver_; }
  Dialect GetDialect() const { return dialect_; }
  const std::string& CurrentCatalog() const { return catalog_; }
  // The identifier quote, '"' when the driver names none.
  char IdentifierQuote() const { return quote_; }
  // Whether some columns may be bound while SQLGetData reads the others, in any order
  // (SQL_GD_ANY_COLUMN and SQL_GD_ANY_ORDER).
  bool BindsAmongUnbound() const { return bindsAmongUnbound_; }
  // Whether a bound value longer than its buffer can be read again whole, in a block of rows
  // (SQLSetPos, then SQLGetData from the value's start). Proved for psqlODBC only: MariaDB's
  // driver gives another row's value after SQLSetPos, and continues a cut value mid-character.
  bool RereadsTruncated() const { return rereadsTruncated_; }
  // Whether texts are read and written as UTF-8 (SQL_C_CHAR) rather than UTF-16: MySQL and
  // MariaDB, whose drivers get UTF-16 lengths wrong.
  bool TextAsUtf8() const { return link_.IsMySql() && link_.NarrowTextIsUtf8(); }
  // Whether UTF-16 texts handed to the driver go as terminated strings (SQL_NTS) rather than with
  // their length: MariaDB's driver reads past the given length of a long one with non-ASCII
  // characters.
  bool PassesWideTextTerminated() const { return link_.IsMySql(); }
  // psqlODBC's size for character columns of unknown length (MaxVarcharSize).
  SQLULEN UnknownVarcharSize() const { return unknownVarcharSize_; }

  // The statement whose rows are being read, so that another thread can cancel it: a cursor
  // names its statement when it opens and takes it back before freeing it (only its own).
  void SetFetchingStatement(SQLHSTMT stmt) const;
  void ClearFetchingStatement(SQLHSTMT stmt) const;
  // Interrupts that statement, if any, the way its driver allows (SQLCancel, or the server asked
  // on a connection of its own); callable from any thread.
  void CancelFetch() const;

 private:
  void Learn(const std::string& connectionString);

  DriverConnection link_;
  std::string driver_;
  Dialect dialect_ = Dialect::Other;
  std::string catalog_;
  char quote_ = '"';
  bool bindsAmongUnbound_ = false;
  bool rereadsTruncated_ = false;
  SQLULEN unknownVarcharSize_ = 255;
  // For a cancel from outside (OdbcCancel.h).
  std::string connectionString_;
  ConnectOptions options_;
  std::string backend_;
  mutable std::mutex fetchingMutex_;
  mutable SQLHSTMT fetching_ = nullptr;
};

}  // namespace ado::odbc
