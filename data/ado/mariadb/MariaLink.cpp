#include "data/ado/mariadb/MariaLink.h"

#include <mutex>
#include <optional>
#include <vector>

namespace ado::mariadb {
namespace {

void InitializeLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { mysql_library_init(0, nullptr, nullptr); });
}

const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

void SetTls(MYSQL* m, const TlsParameters& tls) {
  if (tls.mode == TlsMode::Disabled) return;
  // Any of these turns TLS on; with none given the library's own defaults stand.
  mysql_ssl_set(m, OrNull(tls.key), OrNull(tls.cert), OrNull(tls.ca), OrNull(tls.caPath), OrNull(tls.cipher));
  if (!tls.crl.empty()) mysql_optionsv(m, MYSQL_OPT_SSL_CRL, tls.crl.c_str());
  my_bool enforce = tls.mode >= TlsMode::Required ? 1 : 0;
  mysql_optionsv(m, MYSQL_OPT_SSL_ENFORCE, &enforce);
  my_bool verify = tls.mode >= TlsMode::VerifyIdentity ? 1 : 0;
  mysql_optionsv(m, MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &verify);
}

}  // namespace

Rows QueryRows(MYSQL* m, const std::string& sql) {
  if (mysql_real_query(m, sql.data(), sql.size()) != 0) Raise(m);
  ResultPtr result(mysql_store_result(m));
  if (!result && mysql_field_count(m) != 0) Raise(m);
  Rows rows;
  if (result) {
    const unsigned columns = mysql_num_fields(result.get());
    while (MYSQL_ROW row = mysql_fetch_row(result.get())) {
      unsigned long* lengths = mysql_fetch_lengths(result.get());
      auto& out = rows.emplace_back();
      for (unsigned i = 0; i < columns; ++i)
        out.push_back(row[i] ? std::optional<std::string>(std::string(row[i], lengths[i])) : std::nullopt);
    }
  }
  // Nothing else of the text may stay pending on the connection.
  while (mysql_more_results(m) && mysql_next_result(m) == 0) ResultPtr discard(mysql_store_result(m));
  return rows;
}

std::string QuoteLiteral(MYSQL* m, const std::string& text) {
  std::string quoted(text.size() * 2 + 1, '\0');
  unsigned long length = mysql_real_escape_string(m, quoted.data(), text.data(), text.size());
  quoted.resize(length);
  return "'" + quoted + "'";
}

ConnectionPtr Connect(const ConnectParameters& p) {
  InitializeLibrary();
  ConnectionPtr m(mysql_init(nullptr));
  if (!m) throw ComError(E_OUTOFMEMORY, "The MariaDB client library could not make a connection handle.", kSource);
  unsigned timeout = p.timeoutSeconds;
  mysql_options(m.get(), MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
  mysql_options(m.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
  // A server could otherwise ask the client to send it any local file.
  unsigned localFiles = 0;
  mysql_options(m.get(), MYSQL_OPT_LOCAL_INFILE, &localFiles);
  SetTls(m.get(), p.tls);
  if (!p.initStatement.empty()) mysql_options(m.get(), MYSQL_INIT_COMMAND, p.initStatement.c_str());
  const unsigned long flags = CLIENT_FOUND_ROWS | CLIENT_MULTI_STATEMENTS | CLIENT_MULTI_RESULTS;
  if (!mysql_real_connect(m.get(), p.host.empty() ? nullptr : p.host.c_str(), p.user.c_str(), p.password.c_str(),
                          p.database.empty() ? nullptr : p.database.c_str(), p.port,
                          p.socket.empty() ? nullptr : p.socket.c_str(), flags))
    Raise(m.get(), E_FAIL);
  // The library goes on in the clear when it was asked to require TLS without verifying it and
  // the server offers none: that connection is not the one asked for.
  if (p.tls.mode >= TlsMode::Required && !mysql_get_ssl_cipher(m.get()))
    throw ComError(E_FAIL, "SSL is required (SSL Mode), but the server at " + p.host + " does not offer it.", kSource,
                   "08001");
  return m;
}

MariaLink::MariaLink(ConnectParameters parameters) : parameters_(std::move(parameters)), main_(Connect(parameters_)) {
  threadId_ = mysql_thread_id(main_.get());
  database_ = parameters_.database;
  if (database_.empty()) {
    auto rows = QueryRows(main_.get(), "SELECT DATABASE()");
    if (!rows.empty() && rows[0].size() == 1 && rows[0][0]) database_ = *rows[0][0];
  }
}

void MariaLink::Settle() {
  if (streaming_) {
    StreamOwner* owner = streaming_;
    streaming_ = nullptr;
    owner->Drain();
  }
  cancelled_ = false;
}

TableFacts MariaLink::Facts(const std::string& database, const std::string& table, bool mainBusy) {
  TableFacts facts;
  try {
    if (mainBusy && !side_) side_ = Connect(parameters_);
    MYSQL* m = mainBusy ? side_.get() : main_.get();
    auto rows =
        QueryRows(m, "SELECT COLUMN_NAME, COLUMN_KEY, EXTRA FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = " +
                         QuoteLiteral(m, database.empty() ? database_ : database) +
                         " AND TABLE_NAME = " + QuoteLiteral(m, table));
    for (const auto& row : rows) {
      if (row.size() != 3 || !row[0]) continue;
      facts.known = true;
      if (row[1] && *row[1] == "PRI") facts.keys.insert(*row[0]);
      if (row[2] && row[2]->find("auto_increment") != std::string::npos) facts.autoIncrement.insert(*row[0]);
    }
  } catch (const ComError&) {
    // Without the catalogue the result's own flags stand.
    if (mainBusy) side_.reset();
  }
  return facts;
}

void MariaLink::Cancel() {
  cancelled_ = true;
  try {
    ConnectionPtr killer = Connect(parameters_);
    const std::string sql = "KILL QUERY " + std::to_string(threadId_);
    mysql_real_query(killer.get(), sql.data(), sql.size());
  } catch (const ComError&) {
    // The server is gone or refuses: the statement ends with its own error then.
  }
}

}  // namespace ado::mariadb
