#pragma once
// The descriptions of the installed ODBC drivers, as the driver manager lists them.
#include <string>
#include <vector>

// Appends each driver's description in the driver manager's order; false (list untouched) when
// the driver manager cannot be set up.
bool ListOdbcDrivers(std::vector<std::string>& descriptions);
