#pragma once
// Building an ODBC connection string for a driver the person picks.
#include <string>

// Completes "DRIVER=<name>" through the registered driver prompt (OdbcDriverPrompt.h).
// ownerWindow is an opaque window handle handed to the prompt (may be null). Empty when the
// person cancels or no prompt is registered.
std::string BuildOdbcConnectionString(void* ownerWindow, const std::string& driverName);
