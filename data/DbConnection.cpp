#include "data/DbConnection.h"

#include <strings.h>

#include "data/ConnectionSecrets.h"
#include "data/DbRecordset.h"
#include "data/ErrorText.h"
#include "data/Ticks.h"
#include "data/Trace.h"
#include "data/VariantText.h"
#include "data/ado/Connection.h"
#include "data/ado/ConnectionString.h"
#include "data/ado/DataLinks.h"
#include "data/ado/Recordset.h"
#include "text/CaseFold.h"

struct DbConnection::Impl {
  ado::ConnectionPtr connection;
  std::string connectionString;
  std::string userName;
  std::string password;
};

namespace {
// Passwords never reach the trace: a given password shows as ***, and so does any password
// attribute inside a connection string.
std::string Shown(const std::string& password) {
  return password.empty() ? std::string() : "***";
}
}  // namespace

DbConnection::DbConnection() : impl_(std::make_unique<Impl>()) {
  impl_->connection.CreateInstance();
}

DbConnection::~DbConnection() {
  if (IsOpen()) {
    Trace(TraceWarning, "Db Connection closed by ~DbConnection dtor");
    try {
      impl_->connection->Close();
    } catch (const ado::ComError&) {
    }
  }
}

void DbConnection::Open(const std::string& connectionString, const std::string& userName, const std::string& password) {
  try {
    Trace(TraceInfo, "DbConnection::Open(\"%s\",\"%s\",\"%s\")\n", ado::MaskPasswords(connectionString).c_str(),
          userName.c_str(), Shown(password).c_str());
    impl_->connectionString = connectionString;
    impl_->userName = userName;
    impl_->password = password;
    OpenEx();
  } catch (const ado::ComError& e) {
    Trace(TraceError, "DbConnection::Open() : %s", ComErrorText(e).c_str());
    throw;
  }
}

void DbConnection::OpenEx() {
  if (IsOpen()) {
    Trace(TraceWarning, "DbConnection::OpenEx() : connection already opened on %s",
          ado::MaskPasswords(impl_->connectionString).c_str());
    Trace(TraceWarning, "DbConnection::OpenEx() : current connection forcibly closed");
    impl_->connection->Close();
  }
  // Saved passwords come back here only, so the stored string keeps its placeholders.
  try {
    impl_->connection->Open(RestorePasswords(impl_->connectionString), impl_->userName, impl_->password, -1);
  } catch (const ado::ComError&) {
    ForgetTypedPasswords(impl_->connectionString);
    throw;
  }
}

bool DbConnection::ReOpen() {
  try {
    Trace(TraceInfo, "DbConnection::ReOpen() ... ConnectionString = \"%s\", Username = \"%s\", Password = \"%s\"",
          ado::MaskPasswords(impl_->connectionString).c_str(), impl_->userName.c_str(), Shown(impl_->password).c_str());
    try {
      Close();
    } catch (const ado::ComError&) {
    }
    impl_->connection.Release();
    impl_->connection.CreateInstance();
    OpenEx();
    return true;
  } catch (const ado::ComError& e) {
    Trace(TraceError, "DbConnection::Reopen() : %s", ComErrorText(e).c_str());
    throw;
  }
}

void DbConnection::Close() {
  if (!IsOpen()) return;
  try {
    Trace(TraceInfo, "DbConnection::Close() ... ConnectionString = \"%s\", Username = \"%s\", Password = \"%s\"",
          ado::MaskPasswords(impl_->connectionString).c_str(), impl_->userName.c_str(), Shown(impl_->password).c_str());
    impl_->connection->Close();
  } catch (const ado::ComError& e) {
    Trace(TraceError, "DbConnection::Close() : %s", ComErrorText(e).c_str());
    throw;
  }
}

bool DbConnection::IsOpen() const {
  try {
    return impl_->connection && impl_->connection->GetState() == ado::adStateOpen;
  } catch (const ado::ComError&) {
    return false;
  }
}

std::string DbConnection::GetConnectionString() const {
  return impl_->connectionString;
}
std::string DbConnection::GetUsername() const {
  return impl_->userName;
}
std::string DbConnection::GetPassword() const {
  return impl_->password;
}

std::shared_ptr<ado::Connection> DbConnection::AdoConnection() const {
  return impl_->connection.shared();
}

void DbConnection::Execute(const std::string& statement) {
  try {
    long start = TickCount();
    Trace(TraceQuery, "%s", statement.c_str());
    impl_->connection->Execute(statement, nullptr, ado::adCmdText);
    Trace(TraceInfo, "qry time = %ld [ms]", TickCount() - start);
  } catch (const ado::ComError& e) {
    Trace(TraceError, "DbConnection::Execute() : %s", ComErrorText(e).c_str());
    throw;
  }
}

std::string DbConnection::QuerySingleField(const char* query) {
  std::string result;
  if (!query) return result;
  try {
    DbRecordset rs;
    rs.Open(this, query);
    if (rs.IsEOF()) {
      Trace(TraceWarning, "DbConnection::QuerySingleField(...) : no records available");
    } else {
      ado::Variant v = rs.GetFieldVariantIdx(0);
      if (v.vt() == ado::VT_BSTR)
        result = v.Str();
      else if (v.HasValue())
        result = v.ToText();
    }
    rs.Close();
  } catch (const ado::ComError& e) {
    Trace(TraceError, "DbConnection::QuerySingleField(\"%s\") : %s", query, ComErrorText(e).c_str());
  }
  return result;
}

namespace {
// The server's own catalogues. Drivers asked to show system tables (psqlODBC's ShowSystemTables)
// report them as plain tables and views; a table list is about the user's own.
bool IsServerCatalogue(const ado::Variant& schemaOrCatalog) {
  if (schemaOrCatalog.vt() != ado::VT_BSTR) return false;
  for (const char* name : {"pg_catalog", "pg_toast", "information_schema", "mysql", "performance_schema", "sys"})
    if (EqualsFolded(schemaOrCatalog.Str(), name)) return true;
  return false;
}
}  // namespace

bool DbConnection::EnumTables(std::vector<std::pair<std::string, int>>& out, int kindMask) {
  out.clear();
  if (!IsOpen()) return false;
  try {
    ado::RecordsetPtr rs = impl_->connection->OpenSchema(ado::adSchemaTables);
    if (rs->GetBOF()) return false;
    while (!rs->GetEOF()) {
      std::string type = VariantToText(rs->GetCollect("TABLE_TYPE"));
      int kind = 0;
      if (strcasecmp(type.c_str(), "TABLE") == 0)
        kind = 1;
      else if (strcasecmp(type.c_str(), "SYNONYM") == 0 || strcasecmp(type.c_str(), "LINK") == 0)
        kind = 2;
      else if (strcasecmp(type.c_str(), "VIEW") == 0)
        kind = 4;
      if (kind != 0 && (kind & kindMask) && !IsServerCatalogue(rs->GetCollect("TABLE_CATALOG")) &&
          !IsServerCatalogue(rs->GetCollect("TABLE_SCHEMA"))) {
        std::string name = VariantToText(rs->GetCollect("TABLE_NAME"));
        if (strncasecmp(name.c_str(), "MSys", 4) != 0) out.emplace_back(name, kind);
      }
      rs->MoveNext();
    }
    return true;
  } catch (const ado::ComError& e) {
    Trace(TraceError, "DbConnection::EnumTables() : %s", ComErrorText(e).c_str());
    out.clear();
    return false;
  }
}

bool DbConnection::EnumTables(std::vector<std::string>& out, int kindMask) {
  std::vector<std::pair<std::string, int>> tables;
  bool result = EnumTables(tables, kindMask);
  out.clear();
  for (auto& t : tables) out.push_back(std::move(t.first));
  return result;
}

bool DbConnection::EnumTableFields(const std::string& table, std::vector<std::string>& out) {
  out.clear();
  bool found = false;
  if (IsOpen()) {
    try {
      ado::RecordsetPtr rs = impl_->connection->OpenSchema(ado::adSchemaColumns);
      found = !rs->GetBOF();
      while (!rs->GetEOF()) {
        std::string tableName = VariantToText(rs->GetCollect("TABLE_NAME"));
        std::string columnName = VariantToText(rs->GetCollect("COLUMN_NAME"));
        if (EqualsFolded(tableName, table)) out.push_back(columnName);
        rs->MoveNext();
      }
    } catch (const ado::ComError& e) {
      Trace(TraceError, "DbConnection::EnumTableFields() : %s", ComErrorText(e).c_str());
    }
  }
  if (found && !out.empty()) return true;
  out.clear();
  return EnumTableFieldsFix(table, out);
}

bool DbConnection::EnumTableFieldsFix(const std::string& table, std::vector<std::string>& out) {
  out.clear();
  if (!IsOpen()) return false;
  try {
    DbRecordset rs;
    rs.Open(this, "SELECT * FROM " + table + " WHERE 1=0");
    bool result = rs.EnumFields(out);
    rs.Close();
    return result;
  } catch (const ado::ComError& e) {
    Trace(TraceError, "DbConnection::EnumTableFieldsFix() : %s", ComErrorText(e).c_str());
    out.clear();
    return false;
  }
}

namespace {
// Provider=PostgreSQL, the native provider (whatever its host is called).
bool IsNativePostgres(const std::string& text) {
  try {
    const std::string provider = ado::ConnectionString::Parse(text).Get("Provider").value_or("");
    return strcasecmp(provider.c_str(), "PostgreSQL") == 0;
  } catch (const ado::ComError&) {
    return false;
  }
}
}  // namespace

DatabaseKind DbConnection::GetDatabaseKind() const {
  const std::string& s = impl_->connectionString;
  if (IsNativePostgres(s)) return DatabaseKind::PostgreSql;
  if (s.find("MySQL") != std::string::npos || s.find("MySql") != std::string::npos) return DatabaseKind::MySql;
  if (s.find("DBQ=") != std::string::npos || s.find("Microsoft.Jet") != std::string::npos) return DatabaseKind::Jet;
  if (s.find("DRIVER={PostgreSQL") != std::string::npos) return DatabaseKind::PostgreSql;
  return DatabaseKind::Other;
}

std::string DbConnection::CreateOLEDBConnectionString(const std::string& initial) {
  try {
    ado::DataLinksPtr links;
    ado::HRESULT hr = links.CreateInstance();
    if (ado::Failed(hr)) throw ado::ComError(hr);
    ado::ConnectionPtr connection;
    if (!initial.empty()) {
      hr = connection.CreateInstance();
      if (ado::Failed(hr)) throw ado::ComError(hr);
      connection->PutConnectionString(initial);
      if (!links->PromptEdit(connection)) connection.Release();
    } else {
      connection = links->PromptNew();
    }
    return connection ? connection->GetConnectionString() : initial;
  } catch (const ado::ComError& e) {
    Trace(TraceError, "CreateOLEDBConnectionString() : %s", ComErrorText(e).c_str());
    throw;
  }
}
