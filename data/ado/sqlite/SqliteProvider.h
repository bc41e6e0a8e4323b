#pragma once
// The native SQLite provider over libsqlite3: "Provider=SQLite;Data Source=<file>" (or :memory:).
// A file that does not exist is an error unless the connection string says "Create=True".
#include <memory>

#include "data/ado/ConnectionString.h"
#include "data/ado/Provider.h"

namespace ado {

std::unique_ptr<ProviderSession> OpenSqliteSession(const ConnectionString& connection);

}  // namespace ado
