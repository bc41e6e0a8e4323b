#pragma once
// The native MariaDB provider over the MariaDB client library (MySQL servers too):
// "Provider=MariaDB;Host=...;Port=...;Database=...;User ID=...;Password=...". Also read:
// Server / Data Source / Address for the host, Initial Catalog / DB for the database,
// UID / User for the user, PWD for the password, Socket, and Connect Timeout (seconds, 5 by
// default).
#include <memory>
#include <string>

#include "data/ado/ConnectionString.h"
#include "data/ado/Provider.h"

namespace ado {

// The user and password given to Open win over the string's, as ADO passes them on. Raises
// ComError E_FAIL with the server's message when the connection is refused, E_INVALIDARG for a
// port or timeout that is no number.
std::unique_ptr<ProviderSession> OpenMariaSession(const ConnectionString& connection, const std::string& userId,
                                                  const std::string& password);

// Whether a Provider keyword names this provider ("MariaDB" or "MySQL", any case).
bool IsMariaProviderName(const std::string& provider);

}  // namespace ado
