#pragma once
// The one way Qelvo connects to an ODBC driver, for the provider and for the connection dialogs
// alike, so that every path gets the same login timeout, the same numeric-locale guard and the
// same attributes the provider relies on.
#include <string>

#include "data/ado/odbc/OdbcCheck.h"

namespace ado::odbc {

struct ConnectOptions {
  long loginTimeoutSeconds = 5;
  // Adds the driver's own connect-timeout keyword where the driver ignores the login timeout
  // attribute (MariaDB's CONN_TIMEOUT), unless the string sets it already.
  bool addDriverTimeout = true;
  // Asks the driver for the completed connection string (the connection dialogs want it).
  bool complete = false;
};

// Rows psqlODBC reads from its server cursor at a time when Qelvo turns declare/fetch on.
inline constexpr int kPsqlOdbcFetchRows = 10000;

// An ODBC 3 environment; raises ComError E_FAIL when the driver manager gives none.
Handle OpenOdbcEnvironment();

// A connection to a driver made with SQLDriverConnect and SQL_DRIVER_NOPROMPT, under the C
// numeric locale and with the login timeout. MySQL and MariaDB drivers are asked for found rows
// (OPTION flag 2) so that UPDATE counts the rows it located, and for the utf8mb4 character set;
// psqlODBC for booleans as SQL_BIT (BoolsAsChar=0) and for rows read from a server cursor as they
// are fetched (UseDeclareFetch=1, Fetch=kPsqlOdbcFetchRows); a string or DSN that sets any of
// these itself is left alone. A refusal raises
// ComError E_FAIL with the driver manager's diagnostics. Disconnects when destroyed.
class DriverConnection {
 public:
  DriverConnection(const std::string& connectionString, const ConnectOptions& options);
  ~DriverConnection();
  DriverConnection(const DriverConnection&) = delete;
  DriverConnection& operator=(const DriverConnection&) = delete;

  SQLHENV Env() const { return env_.get(); }
  SQLHDBC Dbc() const { return dbc_.get(); }
  // The driver the string names, directly or through its DSN; empty when it names none.
  const std::string& Driver() const { return driver_; }
  bool IsMySql() const { return mysql_; }
  // Whether SQL_C_CHAR texts travel as UTF-8: MySQL and MariaDB drivers with the utf8mb4
  // character set this connect asks for (or another UTF-8 one the string names).
  bool NarrowTextIsUtf8() const { return utf8Narrow_; }
  // The connection string the driver completed, with the attributes above; empty when not asked
  // for, or when the driver returned none or more than fits.
  const std::string& Completed() const { return completed_; }

 private:
  Handle env_;  // declared first, freed last
  Handle dbc_;
  bool connected_ = false;
  bool mysql_ = false;
  bool utf8Narrow_ = false;
  std::string driver_;
  std::string completed_;
};

}  // namespace ado::odbc
