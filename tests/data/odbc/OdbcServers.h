#pragma once
// What the ODBC tests need around the servers: the servers the test command started, servers of
// a test's own that it may stop and start again, and ports that refuse or never answer.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

// The test command's servers, from QELVO_TEST_PG / QELVO_TEST_MARIADB; empty texts when absent.
std::string SharedPostgresString();
std::string SharedMariaDbString();
int SharedPostgresPort();  // 0 when absent
int SharedMariaDbPort();

// Fresh servers of a test's own under a temporary folder, made by the test command's script
// (QELVO_SERVERS_SCRIPT). Stopped and removed with the object.
class OwnServers {
 public:
  // which: "pg" or "mariadb".
  explicit OwnServers(std::string which);
  ~OwnServers();
  OwnServers(const OwnServers&) = delete;
  OwnServers& operator=(const OwnServers&) = delete;

  // False when there is no script (not run by the test command) or the server did not start;
  // Why() says which.
  bool Available() const { return available_; }
  const std::string& Why() const { return why_; }
  // True when the test command could have started the server (its script is named and we run as
  // root): a server that did not start is then a failure, not a reason to skip.
  bool Expected() const { return expected_; }
  std::string ConnectionString() const;  // tester/secret on testdb
  bool Stop();
  bool Resume();

 private:
  bool Run(const std::string& command);
  std::string which_;
  std::string folder_;
  std::string script_;
  int port_ = 0;
  bool available_ = false;
  bool expected_ = false;
  std::string why_;
};

// A TCP port on 127.0.0.1 that nobody listens on.
int ClosedPort();

// A port on 127.0.0.1 that takes no new connection and never refuses one either: its listener's
// queue is full, so new connection requests are dropped and only a timeout ends the wait (a host
// that does not answer).
class SilentPort {
 public:
  SilentPort();
  ~SilentPort();
  SilentPort(const SilentPort&) = delete;
  SilentPort& operator=(const SilentPort&) = delete;
  int Port() const { return port_; }

 private:
  int listener_ = -1;
  int filler_ = -1;
  int port_ = 0;
};

// A server on 127.0.0.1 that accepts every connection and never says a word, so a client waits
// for a greeting that never comes until its own timeout ends the wait. It closes each connection
// `giveUpSeconds` after accepting it, so that a client without a timeout ends too (late, which
// the test sees), and a test never hangs.
class MutePort {
 public:
  explicit MutePort(int giveUpSeconds = 30);
  ~MutePort();
  MutePort(const MutePort&) = delete;
  MutePort& operator=(const MutePort&) = delete;
  int Port() const { return port_; }

 private:
  void Serve(int giveUpSeconds);
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread server_;
};
