#include "platform/OdbcConnect.h"

#include <strings.h>

#include <algorithm>

#include "data/ado/ComError.h"
#include "data/ado/ConnectionString.h"
#include "data/ado/odbc/OdbcDriverConnect.h"

namespace {

// Some drivers (SQLite's) complete a DRIVER= string as "DSN=;Database=...", which names no data
// source and no driver and so cannot connect again: put the driver back.
std::string KeepDriver(const std::string& completed, const std::string& original) {
  try {
    ado::ConnectionString out = ado::ConnectionString::Parse(completed);
    const ado::ConnectionString in = ado::ConnectionString::Parse(original);
    const std::optional<std::string> driver = in.Get("DRIVER");
    if (!driver || out.Has("DRIVER") || !out.Get("DSN").value_or("").empty()) return completed;
    ado::ConnectionString fixed;
    fixed.Set("DRIVER", *driver);
    for (const ado::ConnectionString::Attribute& attribute : out.Attributes())
      if (!(attribute.key.size() == 3 && strncasecmp(attribute.key.c_str(), "DSN", 3) == 0))
        fixed.Set(attribute.key, attribute.value);
    return fixed.ToOdbcString();
  } catch (const ado::ComError&) {
    return completed;
  }
}

}  // namespace

OdbcCompletion CompleteOdbcConnection(const std::string& connectionString) {
  OdbcCompletion result;
  try {
    ado::odbc::ConnectOptions options;
    options.complete = true;
    const ado::odbc::DriverConnection connection(connectionString, options);
    result.connectionString = connection.Completed();
  } catch (const ado::ComError& e) {
    result.error = e.Description();
    if (result.error.empty()) result.error = "The ODBC driver refused the connection.";
    return result;
  }
  result.ok = true;
  // Some drivers return nothing; the string that worked is then the complete one.
  if (result.connectionString.empty()) result.connectionString = connectionString;
  result.connectionString = KeepDriver(result.connectionString, connectionString);
  return result;
}

std::vector<std::string> ListOdbcDataSources() {
  std::vector<std::string> names;
  ado::odbc::Handle env;
  try {
    env = ado::odbc::OpenOdbcEnvironment();
  } catch (const ado::ComError&) {
    return names;
  }
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1] = {};
    SQLCHAR description[1024] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLRETURN rc = SQLDataSources(env.get(), direction, name, sizeof name, &nameLength, description, sizeof description,
                                  &descriptionLength);
    if (!ado::odbc::Succeeded(rc)) break;
    names.emplace_back(reinterpret_cast<const char*>(name));
    direction = SQL_FETCH_NEXT;
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}
