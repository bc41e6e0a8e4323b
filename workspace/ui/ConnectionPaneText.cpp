#include "workspace/ui/ConnectionPaneText.h"

#include <vector>

#include "data/ado/ComError.h"
#include "data/ado/ConnectionString.h"
#include "text/TextUtil.h"

namespace {
std::string Value(const ado::ConnectionString& parsed, std::initializer_list<const char*> keys) {
  for (const char* key : keys)
    if (std::optional<std::string> value = parsed.Get(key); value && !value->empty()) return *value;
  return {};
}

bool Contains(const std::string& text, const char* part) {
  return ToLower(text).find(part) != std::string::npos;
}

// The database kind an ODBC driver name stands for; the driver's own name otherwise.
std::string KindOfDriver(const std::string& driver) {
  if (Contains(driver, "postgres") || Contains(driver, "psql")) return "PostgreSQL";
  if (Contains(driver, "mariadb")) return "MariaDB";
  if (Contains(driver, "mysql")) return "MySQL";
  if (Contains(driver, "sqlite")) return "SQLite";
  if (Contains(driver, "sql server") || Contains(driver, "freetds") || Contains(driver, "tds")) return "SQL Server";
  return driver;
}

// The whole characters of a UTF-8 text.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (unsigned char c : text) {
    if ((c & 0xC0) == 0x80 && !characters.empty())
      characters.back() += static_cast<char>(c);
    else
      characters.emplace_back(1, static_cast<char>(c));
  }
  return characters;
}

std::string Elided(const std::string& text, std::size_t limit) {
  const std::vector<std::string> characters = Characters(text);
  if (characters.size() <= limit || limit < 3) return text;
  const std::size_t keep = limit - 1;
  const std::size_t head = keep / 3;  // the kind; the rest for the end of the file or server
  std::string elided;
  for (std::size_t i = 0; i < head; ++i) elided += characters[i];
  elided += "\u2026";
  for (std::size_t i = characters.size() - (keep - head); i < characters.size(); ++i) elided += characters[i];
  return elided;
}

std::string ServerText(const ado::ConnectionString& parsed) {
  std::string server = Value(parsed, {"Server", "Servername", "Host", "Hostname"});
  const std::string port = Value(parsed, {"Port"});
  if (!server.empty() && !port.empty()) server += ":" + port;
  const std::string database = Value(parsed, {"Database", "Initial Catalog", "DB"});
  if (database.empty()) return server;
  return server.empty() ? database : database + " on " + server;
}

std::string FullText(const std::string& connectionString) {
  ado::ConnectionString parsed;
  try {
    parsed = ado::ConnectionString::Parse(connectionString);
  } catch (const ado::ComError&) {
    return {};
  }
  const std::string provider = Value(parsed, {"Provider"});
  if (Contains(provider, "sqlite")) return "SQLite: " + Value(parsed, {"Data Source"});
  const std::string driver = Value(parsed, {"Driver"});
  const std::string dsn = Value(parsed, {"DSN"});
  if (!driver.empty()) {
    const std::string kind = KindOfDriver(driver);
    if (kind == "SQLite") return "SQLite: " + Value(parsed, {"Database"});
    const std::string server = ServerText(parsed);
    return server.empty() ? kind : kind + ": " + server;
  }
  if (!dsn.empty()) {
    const std::string server = ServerText(parsed);
    return "ODBC: DSN=" + dsn + (server.empty() ? "" : " (" + server + ")");
  }
  if (!provider.empty()) {
    const std::string source = Value(parsed, {"Data Source"});
    return source.empty() ? provider : provider + ": " + source;
  }
  return {};
}
}  // namespace

std::string ConnectionPaneText(const std::string& connectionString, std::size_t limit) {
  return Elided(FullText(connectionString), limit);
}
