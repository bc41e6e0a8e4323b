#include "data/ado/Connection.h"

#include <strings.h>

#include "data/ado/ComError.h"
#include "data/ado/ConnectionString.h"
#include "data/ado/Provider.h"
#include "data/ado/Recordset.h"
#include "data/ado/mariadb/MariaProvider.h"
#include "data/ado/odbc/OdbcProvider.h"
#include "data/ado/postgresql/PgProvider.h"
#include "data/ado/sqlite/SqliteProvider.h"

namespace ado {

std::unique_ptr<ProviderSession> OpenProviderSession(const std::string& connectionString, const std::string& userId,
                                                     const std::string& password) {
  ConnectionString parsed = ConnectionString::Parse(connectionString);
  std::string provider = parsed.Get("Provider").value_or("");
  if (strcasecmp(provider.c_str(), "SQLite") == 0) return OpenSqliteSession(parsed);
  if (IsMariaProviderName(provider)) return OpenMariaSession(parsed, userId, password);
  if (strcasecmp(provider.c_str(), "PostgreSQL") == 0) return OpenPostgresSession(parsed, userId, password);
  if (provider.empty() || strncasecmp(provider.c_str(), "MSDASQL", 7) == 0) {
    parsed.Remove("Provider");
    return OpenOdbcSession(parsed, userId, password);
  }
  throw ComError(adErrProviderNotFound,
                 "Provider \"" + provider +
                     "\" is not available. Use Provider=SQLite for SQLite files, Provider=PostgreSQL for PostgreSQL "
                     "servers, Provider=MariaDB for MariaDB and MySQL servers, or an ODBC connection string "
                     "(Provider=MSDASQL or no Provider) for other databases.",
                 "Qelvo ADO");
}

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::Open(const std::string& connectionString, const std::string& userId, const std::string& password,
                      long options) {
  (void)options;
  if (session_) throw ComError(adErrObjectOpen);
  const std::string& text = connectionString.empty() ? connectionString_ : connectionString;
  try {
    session_ = OpenProviderSession(text, userId, password);
  } catch (const ComError& e) {
    openError_ = e;
    throw;
  }
  openError_.reset();
  connectionString_ = text;
}

void Connection::Close() {
  if (!session_) throw ComError(adErrObjectClosed);
  RequireIdle();
  session_.reset();
}

void Connection::RequireOpen(HRESULT closedError) const {
  if (session_) return;
  if (openError_) throw *openError_;
  throw ComError(closedError);
}

void Connection::RequireIdle() const {
  if (workerBusy_) throw ComError(adErrStillExecuting);
}

long Connection::GetState() const {
  return session_ ? adStateOpen : adStateClosed;
}

void Connection::Execute(const std::string& commandText, long* recordsAffected, long options) {
  (void)options;
  RequireIdle();
  Session().Execute(commandText);
  if (recordsAffected) *recordsAffected = -1;
}

RecordsetPtr Connection::OpenSchema(SchemaEnum schema) {
  if (schema != adSchemaTables && schema != adSchemaColumns) throw ComError(adErrFeatureNotAvailable);
  RequireIdle();
  RecordsetPtr rs(std::make_shared<Recordset>());
  rs->OpenCursor(Session().OpenSchema(schema), adUseClient);
  return rs;
}

std::string Connection::GetConnectionString() const {
  return connectionString_;
}

void Connection::PutConnectionString(const std::string& text) {
  if (session_) throw ComError(adErrObjectOpen);
  connectionString_ = text;
}

ProviderSession& Connection::Session() const {
  RequireOpen();
  return *session_;
}

}  // namespace ado
