#include "data/ado/mariadb/MariaProvider.h"

#include <strings.h>

#include <charconv>
#include <initializer_list>

#include "data/ado/mariadb/MariaLink.h"
#include "data/ado/mariadb/MariaSession.h"

namespace ado {
namespace {

std::optional<std::string> First(const ConnectionString& c, std::initializer_list<const char*> keys) {
  for (const char* key : keys)
    if (auto value = c.Get(key)) return value;
  return std::nullopt;
}

unsigned Number(const std::string& key, const std::string& text, unsigned maximum) {
  unsigned value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value > maximum)
    throw ComError(E_INVALIDARG, key + " \"" + text + "\" is not a number from 0 to " + std::to_string(maximum) + ".",
                   mariadb::kSource);
  return value;
}

}  // namespace

bool IsMariaProviderName(const std::string& provider) {
  return strcasecmp(provider.c_str(), "MariaDB") == 0 || strcasecmp(provider.c_str(), "MySQL") == 0;
}

std::unique_ptr<ProviderSession> OpenMariaSession(const ConnectionString& connection, const std::string& userId,
                                                  const std::string& password) {
  mariadb::ConnectParameters p;
  if (auto host = First(connection, {"Host", "Server", "Data Source", "Address"})) p.host = *host;
  if (auto port = First(connection, {"Port"}); port && !port->empty()) p.port = Number("Port", *port, 65535);
  if (auto socket = First(connection, {"Socket"})) p.socket = *socket;
  if (auto database = First(connection, {"Database", "Initial Catalog", "DB"})) p.database = *database;
  if (auto user = First(connection, {"User ID", "UID", "User", "User Name"})) p.user = *user;
  if (auto secret = First(connection, {"Password", "PWD"})) p.password = *secret;
  if (auto timeout = First(connection, {"Connect Timeout", "Connection Timeout"}); timeout && !timeout->empty())
    p.timeoutSeconds = Number("Connect Timeout", *timeout, 3600);
  // The MariaDB ODBC driver's name for it.
  if (auto init = First(connection, {"InitStmt"})) p.initStatement = *init;
  if (!userId.empty()) p.user = userId;
  if (!password.empty()) p.password = password;
  auto link = std::make_shared<mariadb::MariaLink>(std::move(p));
  return std::make_unique<mariadb::MariaSession>(std::move(link));
}

}  // namespace ado
