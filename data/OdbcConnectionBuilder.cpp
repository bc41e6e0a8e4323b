// BuildOdbcConnectionString: the driver prompt asks for the attributes, the driver manager
// completes them with SQL_DRIVER_NOPROMPT (unixODBC refuses SQL_DRIVER_PROMPT).
#include <vector>

#include "data/DbConnection.h"
#include "data/OdbcDriverPrompt.h"
#include "data/Trace.h"
#include "data/ado/odbc/OdbcCheck.h"
#include "data/ado/odbc/OdbcText.h"

using namespace ado::odbc;

namespace {
constexpr SQLULEN kLoginTimeoutSeconds = 5;
}

std::string BuildOdbcConnectionString(void* ownerWindow, const std::string& driverName) {
  NumericLocaleScope locale;
  SQLHENV rawEnv = SQL_NULL_HENV;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &rawEnv))) return {};
  Handle env(rawEnv, HandleDeleter{SQL_HANDLE_ENV});
  if (!Succeeded(SQLSetEnvAttr(rawEnv, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)))
    return {};
  SQLHDBC rawDbc = SQL_NULL_HDBC;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, rawEnv, &rawDbc))) return {};
  Handle dbc(rawDbc, HandleDeleter{SQL_HANDLE_DBC});

  std::shared_ptr<OdbcDriverPrompt> prompt = GetOdbcDriverPrompt();
  if (!prompt) {
    Trace(TraceWarning, "BuildOdbcConnectionString() : no driver prompt for \"%s\"", driverName.c_str());
    return {};
  }
  std::optional<std::string> answer = prompt->Prompt(ownerWindow, driverName);
  if (!answer || answer->empty()) return {};

  SQLSetConnectAttrW(rawDbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
  WideString text = ToWide(*answer);
  // Drivers return long completed strings (psqlODBC lists every option): room for all of it.
  std::vector<SQLWCHAR> out(8192, 0);
  SQLSMALLINT outLength = 0;
  SQLRETURN rc = SQLDriverConnectW(rawDbc, nullptr, AsSql(text), static_cast<SQLSMALLINT>(text.size()), out.data(),
                                   static_cast<SQLSMALLINT>(out.size()), &outLength, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(rc)) {
    std::string why = FormatDiagnostics(ReadDiagnostics(SQL_HANDLE_DBC, rawDbc), driverName);
    Trace(TraceError, "BuildOdbcConnectionString() : %s", why.c_str());
    return {};
  }
  std::string completed = ToUtf8(FromSql(out.data()), WideLength(out.data(), out.size()));
  SQLDisconnect(rawDbc);
  // A cut completion would be a broken string; the one that connected is whole.
  if (completed.empty() || static_cast<std::size_t>(outLength) >= out.size()) return *answer;
  return completed;
}
