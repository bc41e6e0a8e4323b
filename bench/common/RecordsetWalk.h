#pragma once
// The walk every database benchmark times: open a query with the client cursor and read every
// value through the provider, as the result grid would.
#include <cstddef>

#include "data/ado/Connection.h"

// Returns the bytes the recordset held for its rows.
std::size_t WalkClientCursor(const ado::ConnectionPtr& connection, const char* query);
