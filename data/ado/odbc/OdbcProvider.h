#pragma once
// The ODBC provider over unixODBC.
#include <memory>
#include <string>

#include "data/ado/ConnectionString.h"
#include "data/ado/Provider.h"

namespace ado {

// Connects with SQLDriverConnect (no prompt); the Provider keyword is already removed.
std::unique_ptr<ProviderSession> OpenOdbcSession(const ConnectionString& connection, const std::string& userId,
                                                 const std::string& password);

}  // namespace ado
