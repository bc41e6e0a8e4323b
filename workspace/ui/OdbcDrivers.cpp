#include "workspace/ui/OdbcDrivers.h"

#include <sql.h>
#include <sqlext.h>

namespace {
bool Succeeded(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}
}  // namespace

bool ListOdbcDrivers(std::vector<std::string>& descriptions) {
  SQLHENV env = SQL_NULL_HENV;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return false;
  SQLHDBC dbc = SQL_NULL_HDBC;
  if (!Succeeded(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
      !Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return false;
  }
  SQLCHAR description[1024];
  SQLSMALLINT length = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLRETURN rc = SQLDrivers(env, direction, description, sizeof description, &length, nullptr, 0, nullptr);
    if (!Succeeded(rc)) break;  // SQL_NO_DATA ends the list, and so does any failure
    descriptions.emplace_back(reinterpret_cast<const char*>(description));
    direction = SQL_FETCH_NEXT;
  }
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return true;
}
