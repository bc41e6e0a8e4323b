// BuildOdbcConnectionString: the driver prompt asks for the attributes, the provider's own connect
// completes them with SQL_DRIVER_NOPROMPT (unixODBC refuses SQL_DRIVER_PROMPT).
#include "data/OdbcConnectionBuilder.h"

#include "data/DbConnection.h"
#include "data/OdbcDriverPrompt.h"
#include "data/Trace.h"
#include "data/ado/odbc/OdbcDriverConnect.h"

using namespace ado::odbc;

std::string BuildOdbcConnectionString(void* ownerWindow, const std::string& driverName) {
  std::shared_ptr<OdbcDriverPrompt> prompt = GetOdbcDriverPrompt();
  if (!prompt) {
    Trace(TraceWarning, "BuildOdbcConnectionString() : no driver prompt for \"%s\"", driverName.c_str());
    return {};
  }
  std::optional<std::string> answer = prompt->Prompt(ownerWindow, driverName);
  if (!answer || answer->empty()) return {};
  try {
    // The same connect as the provider's, so the completed string holds the attributes a typed
    // string gets when it opens (psqlODBC's booleans, say) instead of the driver's defaults.
    ConnectOptions options;
    options.complete = true;
    const DriverConnection connection(*answer, options);
    // Some drivers complete nothing; the string that connected is then the whole one.
    return connection.Completed().empty() ? *answer : connection.Completed();
  } catch (const ado::ComError& e) {
    Trace(TraceError, "BuildOdbcConnectionString() : %s", e.Description().c_str());
    return {};
  }
}
