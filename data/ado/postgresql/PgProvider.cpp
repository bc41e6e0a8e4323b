#include "data/ado/postgresql/PgProvider.h"

#include <strings.h>

#include <set>

#include "data/ado/postgresql/PgCheck.h"
#include "data/ado/postgresql/PgLink.h"
#include "data/ado/postgresql/PgSession.h"
#include "text/TextUtil.h"

namespace ado {
namespace postgresql {
namespace {

bool Is(const std::string& key, const char* name) {
  return strcasecmp(key.c_str(), name) == 0;
}

bool IsUri(const std::string& value) {
  return strncasecmp(value.c_str(), "postgresql://", 13) == 0 || strncasecmp(value.c_str(), "postgres://", 11) == 0;
}

// The keywords libpq itself takes.
const std::set<std::string>& LibpqKeywords() {
  static const std::set<std::string> keywords = [] {
    std::set<std::string> names;
    PQconninfoOption* options = PQconndefaults();
    for (PQconninfoOption* o = options; o && o->keyword; ++o) names.insert(o->keyword);
    PQconninfoFree(options);
    return names;
  }();
  return keywords;
}

// The keyword our own names stand for; empty when the key is none of them.
std::string OwnKeyword(const std::string& key) {
  if (Is(key, "Host") || Is(key, "Server") || Is(key, "Data Source")) return "host";
  if (Is(key, "Port")) return "port";
  if (Is(key, "Database") || Is(key, "Initial Catalog")) return "dbname";
  if (Is(key, "User ID") || Is(key, "UID") || Is(key, "User")) return "user";
  if (Is(key, "Password") || Is(key, "PWD")) return "password";
  if (Is(key, "Connect Timeout") || Is(key, "Connection Timeout") || Is(key, "Timeout")) return "connect_timeout";
  if (Is(key, "SSL Mode") || Is(key, "SslMode")) return "sslmode";
  return {};
}

// OLE DB's general keywords, which say nothing to this provider.
bool IsGeneralKeyword(const std::string& key) {
  return Is(key, "Provider") || Is(key, "Persist Security Info") || Is(key, "Mode") || Is(key, "Prompt") ||
         Is(key, "Extended Properties");
}

}  // namespace

std::vector<std::pair<std::string, std::string>> LibpqParameters(const ConnectionString& connection,
                                                                 const std::string& userId, const std::string& password,
                                                                 bool& hasUri) {
  std::vector<std::pair<std::string, std::string>> uri;
  std::vector<std::pair<std::string, std::string>> named;
  auto put = [&named](const std::string& key, const std::string& value) {
    for (auto& p : named)
      if (p.first == key) {
        p.second = value;
        return;
      }
    named.emplace_back(key, value);
  };
  for (const ConnectionString::Attribute& a : connection.Attributes()) {
    if (IsGeneralKeyword(a.key)) continue;
    if (Is(a.key, "URI") || Is(a.key, "URL") || (IsUri(a.value) && !OwnKeyword(a.key).empty())) {
      uri = {{"dbname", a.value}};
      continue;
    }
    std::string keyword = OwnKeyword(a.key);
    if (keyword.empty()) {
      if (!LibpqKeywords().count(a.key))
        throw ComError(E_FAIL,
                       "The connection string's keyword \"" + a.key +
                           "\" is unknown to the PostgreSQL provider. Use Host, Port, Database, User ID and Password, "
                           "libpq's own keywords, or URI=postgresql://...",
                       kSource);
      keyword = a.key;
    }
    put(keyword, a.value);
  }
  if (!userId.empty()) put("user", userId);
  if (!password.empty()) put("password", password);
  // A host that never answers must not hold the program for long; the text is always UTF-8.
  bool timeout = false, application = false;
  for (const auto& p : named) {
    timeout = timeout || p.first == "connect_timeout";
    application = application || p.first == "application_name";
  }
  if (!timeout) put("connect_timeout", "5");
  if (!application) put("application_name", "Qelvo");
  put("client_encoding", "UTF8");
  hasUri = !uri.empty();
  uri.insert(uri.end(), named.begin(), named.end());
  return uri;
}

}  // namespace postgresql

std::unique_ptr<ProviderSession> OpenPostgresSession(const ConnectionString& connection, const std::string& userId,
                                                     const std::string& password) {
  using namespace postgresql;
  bool hasUri = false;
  const auto parameters = LibpqParameters(connection, userId, password, hasUri);
  std::vector<const char*> keywords, values;
  for (const auto& p : parameters) {
    keywords.push_back(p.first.c_str());
    values.push_back(p.second.c_str());
  }
  keywords.push_back(nullptr);
  values.push_back(nullptr);
  ConnectionPtr c(PQconnectdbParams(keywords.data(), values.data(), hasUri ? 1 : 0));
  if (!c) throw ComError(E_OUTOFMEMORY, "libpq could not allocate a connection.", kSource);
  if (PQstatus(c.get()) != CONNECTION_OK) {
    const std::string message = TrimRight(PQerrorMessage(c.get()), "\n ");
    throw ComError(E_FAIL, message.empty() ? "The PostgreSQL server refused the connection." : message, kSource,
                   "08001");
  }
  // The server's notices ("table does not exist, skipping") are no errors; libpq would print them
  // on standard error.
  PQsetNoticeProcessor(
      c.get(), [](void*, const char*) {}, nullptr);
  auto link = std::make_shared<PgLink>(std::move(c));
  // Dates in the one form the provider reads, whatever the server's defaults.
  link->Run("SET DateStyle TO ISO, YMD; SET IntervalStyle TO postgres; SET bytea_output TO hex");
  return std::make_unique<PgSession>(std::move(link));
}

}  // namespace ado
