// The suite never shrinks silently: when the test command started the servers, both are named
// and both answer, so that no server instance of the suite is dropped or skipped unnoticed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "data/DbConnection.h"
#include "data/ErrorText.h"
#include "data/ado/ComError.h"

TEST(TestServers, TheServersOfTheTestCommandAnswer) {
  const char* script = std::getenv("QELVO_SERVERS_SCRIPT");
  const bool started = script && *script;
  for (const char* variable : {"QELVO_TEST_PG", "QELVO_TEST_MARIADB"}) {
    const char* connectionString = std::getenv(variable);
    if (!connectionString || !*connectionString) {
      EXPECT_FALSE(started) << variable << " is not set, although the test command started the servers";
      continue;
    }
    try {
      DbConnection connection;
      connection.Open(connectionString, "", "");
      connection.Close();
    } catch (const ado::ComError& e) {
      ADD_FAILURE() << variable << " names a server that does not answer: " << ComErrorText(e);
    }
  }
}
