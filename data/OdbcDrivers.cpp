#include "data/OdbcDrivers.h"

#include "data/ado/odbc/OdbcDriverConnect.h"

using namespace ado::odbc;

bool ListOdbcDrivers(std::vector<std::string>& out) {
  Handle env;
  try {
    env = OpenOdbcEnvironment();
  } catch (const ado::ComError&) {
    return false;
  }
  NumericLocaleScope locale;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    // The narrow call: the driver manager widens the bytes of its ini file one by one, which would
    // garble a UTF-8 name; narrow, the name comes as written.
    SQLCHAR description[1024] = {};
    SQLSMALLINT length = 0;
    SQLSMALLINT attributesLength = 0;
    SQLRETURN rc =
        SQLDrivers(env.get(), direction, description, sizeof description, &length, nullptr, 0, &attributesLength);
    if (!Succeeded(rc)) break;  // SQL_NO_DATA at the end, or a failure: the list ends either way
    out.emplace_back(reinterpret_cast<const char*>(description));
    direction = SQL_FETCH_NEXT;
  }
  return true;
}
