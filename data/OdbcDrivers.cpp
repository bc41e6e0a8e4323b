#include "data/OdbcDrivers.h"

#include "data/ado/odbc/OdbcCheck.h"

using namespace ado::odbc;

bool ListOdbcDrivers(std::vector<std::string>& out) {
  NumericLocaleScope locale;
  SQLHENV rawEnv = SQL_NULL_HENV;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &rawEnv))) return false;
  Handle env(rawEnv, HandleDeleter{SQL_HANDLE_ENV});
  if (!Succeeded(SQLSetEnvAttr(rawEnv, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)))
    return false;
  SQLHDBC rawDbc = SQL_NULL_HDBC;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, rawEnv, &rawDbc))) return false;
  // Declared after the environment, so freed before it.
  Handle dbc(rawDbc, HandleDeleter{SQL_HANDLE_DBC});
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    // The narrow call: the driver manager widens the bytes of its ini file one by one, which would
    // garble a UTF-8 name; narrow, the name comes as written.
    SQLCHAR description[1024] = {};
    SQLSMALLINT length = 0;
    SQLSMALLINT attributesLength = 0;
    SQLRETURN rc =
        SQLDrivers(rawEnv, direction, description, sizeof description, &length, nullptr, 0, &attributesLength);
    if (!Succeeded(rc)) break;  // SQL_NO_DATA at the end, or a failure: the list ends either way
    out.emplace_back(reinterpret_cast<const char*>(description));
    direction = SQL_FETCH_NEXT;
  }
  return true;
}
