#pragma once
// Checks the server-fault suites of every provider share: a connection refused, and a server
// lost under an open connection and back again.
#include <functional>
#include <string>

#include "data/DbConnection.h"
#include "data/ado/ComError.h"

// The server of a test's own (an OwnServers), or a failure when the test command could have
// started it, or else a skip.
#define QELVO_OWN_SERVER(server)                       \
  if (!(server).Available()) {                         \
    if ((server).Expected()) FAIL() << (server).Why(); \
    GTEST_SKIP() << (server).Why();                    \
  }

struct Refusal {
  ado::HRESULT code = 0;
  std::string description;
  std::string state;
  std::string source;
  double seconds = 0;
};

// Opens and expects a refusal with error information, a closed connection, and no hang.
Refusal ExpectRefused(const std::string& connectionString, const std::string& user = {},
                      const std::string& password = {});

// The description of the ComError `call` raises; a failure when it raises none.
std::string ExpectComError(const std::function<void()>& call);

// Against a server `stop` takes away and `resume` brings back: every call on the connection
// fails with a ComError, the rows read before stay readable but cannot be written back, and
// ReOpen then gives a working connection. `table` is made by the test; `whileDown` checks more
// while the server is away, given the description of the first failure.
void ExpectServerLossAndReOpen(const std::string& connectionString, const std::string& table,
                               const std::function<bool()>& stop, const std::function<bool()>& resume,
                               const std::function<void(DbConnection&, const std::string&)>& whileDown = {});
