#include "data/ado/odbc/OdbcProvider.h"

#include "data/ado/odbc/OdbcSession.h"

namespace ado {

std::unique_ptr<ProviderSession> OpenOdbcSession(const ConnectionString& connection, const std::string& userId,
                                                 const std::string& password) {
  ConnectionString attributes = connection;
  // Open's user and password win over the string's, as ADO passes them to the driver.
  if (!userId.empty()) attributes.Set("UID", userId);
  if (!password.empty()) attributes.Set("PWD", password);
  auto link = std::make_shared<odbc::OdbcConnection>(attributes.ToOdbcString(), odbc::ConnectOptions{});
  return std::make_unique<odbc::OdbcSession>(std::move(link));
}

}  // namespace ado
