#pragma once
// Interrupting a PostgreSQL statement from outside: psqlODBC's SQLCancel only acts while
// SQLExecute runs, not while SQLFetch reads rows from a server-side cursor, so the server is
// asked on a connection of its own to cancel what the session's backend runs.
#include <string>

#include "data/ado/odbc/OdbcCheck.h"
#include "data/ado/odbc/OdbcDriverConnect.h"

namespace ado::odbc {

// The PostgreSQL backend process of a connection (pg_backend_pid), empty when it cannot be read.
std::string PostgreSqlBackend(SQLHDBC dbc);
// Asks the server, through a new connection made with `connectionString`, to cancel what
// `backend` runs now; a backend at rest ignores it. Never raises.
void CancelPostgreSqlBackend(const std::string& connectionString, const ConnectOptions& options,
                             const std::string& backend);
// The same for MySQL and MariaDB: the connection's id (CONNECTION_ID()), and KILL QUERY of it.
std::string MySqlConnectionId(SQLHDBC dbc);
void KillMySqlQuery(const std::string& connectionString, const ConnectOptions& options, const std::string& id);

}  // namespace ado::odbc
