#pragma once
// The few calls of the ODBC driver manager that the connection dialogs need, outside the data
// layer's provider: the data sources for the data-link dialog, and a no-prompt connect that
// completes a connection string (the driver prompt's last step).
#include <string>
#include <vector>

struct OdbcCompletion {
  bool ok = false;
  std::string connectionString;  // the completed string the driver returned, when ok
  std::string error;             // the driver manager's diagnostics, when not ok
};

// Connects as the provider does (ado::odbc::DriverConnection: login timeout, numeric locale,
// the provider's attributes) and disconnects at once. The completed string keeps the DRIVER of the
// given one when the driver's own answer names neither a driver nor a data source.
OdbcCompletion CompleteOdbcConnection(const std::string& connectionString);

// The names of the data sources of the user and the system, sorted, without duplicates; empty
// when the driver manager cannot be reached.
std::vector<std::string> ListOdbcDataSources();
