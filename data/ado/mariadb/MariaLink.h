#pragma once
// One open connection to a MariaDB (or MySQL) server, shared by the session and the cursors it
// opened. A result streams from the server (mysql_use_result) while its cursor reads it; the
// connection takes no other statement meanwhile, so before any other statement the streaming
// cursor is asked to read its remaining rows into memory of its own (Settle).
#include <atomic>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "data/ado/mariadb/MariaCheck.h"

namespace ado::mariadb {

// How a connection uses TLS, weakest first.
enum class TlsMode {
  Disabled,        // never
  Preferred,       // when the server offers it, unverified
  Required,        // always, or the connection fails; the certificate is not verified
  VerifyIdentity,  // always, with the certificate verified against the CA and the host name
};

struct TlsParameters {
  TlsMode mode = TlsMode::Disabled;
  std::string ca;  // file of trusted CA certificates
  std::string caPath;
  std::string cert;  // the client's certificate and key, for servers that ask for them
  std::string key;
  std::string cipher;
  std::string crl;
};

struct ConnectParameters {
  std::string host = "localhost";
  unsigned port = 0;  // 0: the library's default (3306)
  std::string socket;
  std::string database;
  std::string user;
  std::string password;
  unsigned timeoutSeconds = 5;
  TlsParameters tls;
  std::string initStatement;  // run by the library after each connect (a session's sql_mode, say)
};

// Connects with utf8mb4, found rows (an UPDATE counts the rows it matched, changed or not),
// several statements per text, no LOAD DATA LOCAL, the connect timeout and TLS as asked; raises
// ComError E_FAIL with the server's or the library's message.
ConnectionPtr Connect(const ConnectParameters& parameters);

// A cursor whose result still streams from the server.
class StreamOwner {
 public:
  virtual ~StreamOwner() = default;
  // Reads every remaining row into the cursor's own memory and frees the connection.
  virtual void Drain() = 0;
};

// What a result column needs to know of its table, by column name.
struct TableFacts {
  bool known = false;  // the catalogue listed the table
  std::set<std::string> keys;
  std::set<std::string> autoIncrement;
};

class MariaLink {
 public:
  explicit MariaLink(ConnectParameters parameters);
  MariaLink(const MariaLink&) = delete;
  MariaLink& operator=(const MariaLink&) = delete;

  MYSQL* Handle() const { return main_.get(); }
  // Frees the connection for a statement: a streaming result is read to its end first. Also
  // forgets a cancel asked for before the statement.
  void Settle();
  void BeginStreaming(StreamOwner* owner) { streaming_ = owner; }
  void EndStreaming(const StreamOwner* owner) {
    if (streaming_ == owner) streaming_ = nullptr;
  }

  // The database named at connect (or the server's default for the user).
  const std::string& Database() const { return database_; }

  // The key and auto-increment columns of a table from the server's catalogue, read on a second
  // connection of the same user while `mainBusy` (a result streams on the first one).
  TableFacts Facts(const std::string& database, const std::string& table, bool mainBusy);

  // From any thread: stops the statement running on this connection with KILL QUERY, sent over a
  // connection of its own.
  void Cancel();
  // Whether Cancel was called since the last Settle.
  bool Cancelled() const { return cancelled_.load(); }

 private:
  ConnectParameters parameters_;
  ConnectionPtr main_;
  ConnectionPtr side_;
  std::string database_;
  unsigned long threadId_ = 0;
  StreamOwner* streaming_ = nullptr;
  std::atomic<bool> cancelled_{false};
};

// The rows of a query's first result as texts (nullopt for NULL), read whole; later results of
// the text are read off and dropped.
using Rows = std::vector<std::vector<std::optional<std::string>>>;
Rows QueryRows(MYSQL* m, const std::string& sql);

// The text as a quoted SQL string literal for this connection.
std::string QuoteLiteral(MYSQL* m, const std::string& text);

}  // namespace ado::mariadb
