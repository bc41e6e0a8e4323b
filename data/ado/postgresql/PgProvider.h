#pragma once
// The native PostgreSQL provider over libpq.
#include <memory>
#include <string>

#include "data/ado/ConnectionString.h"
#include "data/ado/Provider.h"

namespace ado {

// Provider=PostgreSQL;Host=...;Port=...;Database=...;User ID=...;Password=... (Server, Data
// Source, Initial Catalog, UID, PWD too), plus any of libpq's own keywords, or a URI
// (URI=postgresql://... or a Host/Data Source that is one). `userId` and `password`, when given,
// stand for those of the string. Raises ComError E_FAIL with libpq's message when refused.
std::unique_ptr<ProviderSession> OpenPostgresSession(const ConnectionString& connection, const std::string& userId,
                                                     const std::string& password);

namespace postgresql {
// The libpq keywords and values the connection string names, in order; the URI, when there is
// one, comes first as "dbname" (libpq expands it). Raises ComError E_FAIL for a keyword neither
// this provider nor libpq knows.
std::vector<std::pair<std::string, std::string>> LibpqParameters(const ConnectionString& connection,
                                                                 const std::string& userId, const std::string& password,
                                                                 bool& hasUri);
}  // namespace postgresql

}  // namespace ado
