#include "platform/OdbcConnect.h"

#include <sql.h>
#include <sqlext.h>
#include <strings.h>

#include <algorithm>
#include <memory>

#include "data/ado/ComError.h"
#include "data/ado/ConnectionString.h"

namespace {

struct EnvDeleter {
  void operator()(void* handle) const { SQLFreeHandle(SQL_HANDLE_ENV, handle); }
};
struct DbcDeleter {
  void operator()(void* handle) const { SQLFreeHandle(SQL_HANDLE_DBC, handle); }
};
using EnvPtr = std::unique_ptr<void, EnvDeleter>;
using DbcPtr = std::unique_ptr<void, DbcDeleter>;

bool Succeeded(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

EnvPtr MakeEnvironment() {
  SQLHENV env = SQL_NULL_HENV;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return nullptr;
  EnvPtr owned(env);
  if (!Succeeded(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)))
    return nullptr;
  return owned;
}

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::string text;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    if (!Succeeded(SQLGetDiagRec(type, handle, record, state, &native, message, sizeof message, &length))) break;
    if (!text.empty()) text += "\n";
    text += reinterpret_cast<const char*>(message);
    text += " (";
    text += reinterpret_cast<const char*>(state);
    text += ")";
  }
  return text;
}

// Some drivers (SQLite's) complete a DRIVER= string as "DSN=;Database=...", which names no data
// source and no driver and so cannot connect again: put the driver back.
std::string KeepDriver(const std::string& completed, const std::string& original) {
  try {
    ConnectionString out = ConnectionString::Parse(completed);
    const ConnectionString in = ConnectionString::Parse(original);
    const std::optional<std::string> driver = in.Get("DRIVER");
    if (!driver || out.Has("DRIVER") || !out.Get("DSN").value_or("").empty()) return completed;
    ConnectionString fixed;
    fixed.Set("DRIVER", *driver);
    for (const ConnectionString::Attribute& attribute : out.Attributes())
      if (!(attribute.key.size() == 3 && strncasecmp(attribute.key.c_str(), "DSN", 3) == 0))
        fixed.Set(attribute.key, attribute.value);
    return fixed.ToOdbcString();
  } catch (const ComError&) {
    return completed;
  }
}

}  // namespace

OdbcCompletion CompleteOdbcConnection(const std::string& connectionString) {
  OdbcCompletion result;
  EnvPtr env = MakeEnvironment();
  if (!env) {
    result.error = "The ODBC driver manager could not be initialised.";
    return result;
  }
  SQLHDBC dbc = SQL_NULL_HDBC;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env.get(), &dbc))) {
    result.error = Diagnostics(SQL_HANDLE_ENV, env.get());
    return result;
  }
  DbcPtr connection(dbc);
  std::vector<SQLCHAR> out(4096);
  SQLSMALLINT outLength = 0;
  auto connect = [&] {
    return SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionString.c_str())),
                            SQL_NTS, out.data(), static_cast<SQLSMALLINT>(out.size()), &outLength, SQL_DRIVER_NOPROMPT);
  };
  SQLRETURN rc = connect();
  if (!Succeeded(rc)) {
    result.error = Diagnostics(SQL_HANDLE_DBC, dbc);
    if (result.error.empty()) result.error = "The ODBC driver refused the connection.";
    return result;
  }
  if (outLength >= static_cast<SQLSMALLINT>(out.size())) {
    // The completed string did not fit: connect again with room for all of it.
    SQLDisconnect(dbc);
    out.assign(static_cast<std::size_t>(outLength) + 1, 0);
    rc = connect();
    if (!Succeeded(rc)) {
      result.error = Diagnostics(SQL_HANDLE_DBC, dbc);
      return result;
    }
  }
  SQLDisconnect(dbc);
  result.ok = true;
  result.connectionString.assign(reinterpret_cast<const char*>(out.data()),
                                 std::min<std::size_t>(static_cast<std::size_t>(outLength), out.size() - 1));
  // Some drivers return nothing; the string that worked is then the complete one.
  if (result.connectionString.empty()) result.connectionString = connectionString;
  result.connectionString = KeepDriver(result.connectionString, connectionString);
  return result;
}

std::vector<std::string> ListOdbcDataSources() {
  std::vector<std::string> names;
  EnvPtr env = MakeEnvironment();
  if (!env) return names;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1] = {};
    SQLCHAR description[1024] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLRETURN rc = SQLDataSources(env.get(), direction, name, sizeof name, &nameLength, description, sizeof description,
                                  &descriptionLength);
    if (!Succeeded(rc)) break;
    names.emplace_back(reinterpret_cast<const char*>(name));
    direction = SQL_FETCH_NEXT;
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}
