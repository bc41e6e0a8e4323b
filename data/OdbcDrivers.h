#pragma once
// The installed ODBC drivers, as the driver manager lists them.
#include <string>
#include <vector>

// Appends the description of every installed driver, in the driver manager's order. False when
// the driver manager cannot be initialised (the list is then unchanged).
bool ListOdbcDrivers(std::vector<std::string>& out);
