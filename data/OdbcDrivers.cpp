#include "data/OdbcDrivers.h"

#include "data/ado/odbc/OdbcCheck.h"
#include "data/ado/odbc/OdbcText.h"

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
    SQLWCHAR description[1024] = {};
    SQLSMALLINT length = 0;
    SQLSMALLINT attributesLength = 0;
    SQLRETURN rc = SQLDriversW(rawEnv, direction, description, 1024, &length, nullptr, 0, &attributesLength);
    if (!Succeeded(rc)) break;  // SQL_NO_DATA at the end, or a failure: the list ends either way
    out.push_back(ToUtf8(FromSql(description), WideLength(description, 1024)));
    direction = SQL_FETCH_NEXT;
  }
  return true;
}
