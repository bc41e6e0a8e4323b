#include "data/ado/mariadb/MariaProvider.h"

#include <strings.h>

#include <cctype>
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

// "SSL Mode" in the words of MySQL's and MariaDB's clients, or of libpq.
mariadb::TlsMode TlsModeOf(const std::string& text) {
  std::string word;
  for (char c : text) word += c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  using mariadb::TlsMode;
  if (word == "disabled" || word == "disable") return TlsMode::Disabled;
  if (word == "preferred" || word == "prefer") return TlsMode::Preferred;
  if (word == "required" || word == "require") return TlsMode::Required;
  // The library verifies the CA and the host name together: VERIFY_CA is held to both.
  if (word == "verify_ca" || word == "verify_identity" || word == "verify_full") return TlsMode::VerifyIdentity;
  throw ComError(E_INVALIDARG,
                 "SSL Mode \"" + text + "\" is none of DISABLED, PREFERRED, REQUIRED, VERIFY_CA and VERIFY_IDENTITY.",
                 mariadb::kSource);
}

mariadb::TlsParameters Tls(const ConnectionString& connection) {
  mariadb::TlsParameters tls;
  auto text = [&](std::initializer_list<const char*> keys) { return First(connection, keys).value_or(""); };
  tls.ca = text({"SSL CA", "ssl-ca", "SslCa", "sslrootcert"});
  tls.caPath = text({"SSL CA Path", "ssl-capath", "SslCaPath"});
  tls.cert = text({"SSL Cert", "ssl-cert", "SslCert", "sslcert"});
  tls.key = text({"SSL Key", "ssl-key", "SslKey", "sslkey"});
  tls.cipher = text({"SSL Cipher", "ssl-cipher", "SslCipher"});
  tls.crl = text({"SSL CRL", "ssl-crl", "SslCrl", "sslcrl"});
  if (auto mode = First(connection, {"SSL Mode", "ssl-mode", "SslMode", "sslmode"}); mode && !mode->empty())
    tls.mode = TlsModeOf(*mode);
  else if (!tls.ca.empty() || !tls.caPath.empty())
    // A CA named for no other purpose than to check the server by it.
    tls.mode = mariadb::TlsMode::VerifyIdentity;
  else if (!tls.cert.empty() || !tls.key.empty())
    tls.mode = mariadb::TlsMode::Required;
  return tls;
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
  p.tls = Tls(connection);
  // The MariaDB ODBC driver's name for it.
  if (auto init = First(connection, {"InitStmt"})) p.initStatement = *init;
  if (!userId.empty()) p.user = userId;
  if (!password.empty()) p.password = password;
  auto link = std::make_shared<mariadb::MariaLink>(std::move(p));
  return std::make_unique<mariadb::MariaSession>(std::move(link));
}

}  // namespace ado
