#pragma once
// ADO Connection: opens a provider session from a connection string. "Provider=SQLite" goes to
// the native SQLite provider, "Provider=MariaDB" (or MySQL) to the native MariaDB provider;
// "Provider=MSDASQL" or no Provider keyword goes to ODBC.
#include <memory>
#include <optional>
#include <string>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/ComPtr.h"

namespace ado {

class ProviderSession;
class Recordset;
using RecordsetPtr = ComPtr<Recordset>;

class Connection {
 public:
  static constexpr const char* kClassName = "ADODB.Connection";
  Connection();
  ~Connection();

  void Open(const std::string& connectionString, const std::string& userId, const std::string& password,
            long options = adConnectUnspecified);
  void Close();
  long GetState() const;
  // Runs a statement; the recordset ADO would return is released at once, so none is returned.
  void Execute(const std::string& commandText, long* recordsAffected = nullptr, long options = adCmdText);
  RecordsetPtr OpenSchema(SchemaEnum schema);
  std::string GetConnectionString() const;
  void PutConnectionString(const std::string& text);

  // The open session; for the cursor engine. A closed connection raises adErrObjectClosed, or,
  // when its last open failed, that open's own error, so that whoever uses the connection next
  // learns why it is closed (a wrong password, say) instead of only that it is.
  ProviderSession& Session() const;
  // Raises unless open: the failed open's error as above, else `closedError`.
  void RequireOpen(HRESULT closedError = adErrObjectClosed) const;

  // A recordset's worker thread runs a statement or reads rows with the session: until the
  // recordset takes it back, Execute, OpenSchema, Close and another Open raise
  // adErrStillExecuting instead of using the session beside the worker. Owner's thread only.
  void SetWorkerBusy(bool busy) { workerBusy_ = busy; }
  // Raises adErrStillExecuting while a worker holds the session.
  void RequireIdle() const;

 private:
  std::string connectionString_;
  std::unique_ptr<ProviderSession> session_;
  std::optional<ComError> openError_;
  bool workerBusy_ = false;
};
using ConnectionPtr = ComPtr<Connection>;

// Opens the provider session a connection string names; raises ComError.
std::unique_ptr<ProviderSession> OpenProviderSession(const std::string& connectionString, const std::string& userId,
                                                     const std::string& password);

}  // namespace ado
