// Connecting through ODBC: DSN-less strings and DSNs, and every way a connection can fail, each
// a ComError with the driver's own words that comes within the login timeout instead of a hang.
#include <gtest/gtest.h>

#include <chrono>

#include "data/DbConnection.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/ServerFaults.h"

using namespace ado;

namespace {

constexpr double kHang = 30;  // far beyond the 5-second login timeout

void ExpectDriverText(const Refusal& r, const std::string& words) {
  EXPECT_EQ(r.code, E_FAIL) << r.description;
  EXPECT_EQ(r.description.rfind("[unixODBC]", 0), 0u) << r.description;
  EXPECT_NE(r.description.find(words), std::string::npos) << r.description;
  EXPECT_LT(r.seconds, kHang);
}

class OdbcConnect : public testing::Test {
 protected:
  void SetUp() override {
    if (SharedPostgresString().empty() || SharedMariaDbString().empty())
      GTEST_SKIP() << "needs the test command's servers (QELVO_TEST_PG, QELVO_TEST_MARIADB)";
  }
  static std::string Pg(const std::string& server, int port, const std::string& password = "secret") {
    return "DRIVER={PostgreSQL Unicode};SERVER=" + server + ";PORT=" + std::to_string(port) +
           ";DATABASE=testdb;UID=tester;PWD=" + password;
  }
  static std::string Maria(const std::string& server, int port, const std::string& password = "secret") {
    return "DRIVER={MariaDB Unicode};SERVER=" + server + ";PORT=" + std::to_string(port) +
           ";DATABASE=testdb;UID=tester;PWD=" + password;
  }
};

}  // namespace

TEST_F(OdbcConnect, DsnLessStringsDsnsAndTheMsdasqlProviderAllConnect) {
  for (const std::string& text : {SharedPostgresString(), "Provider=MSDASQL;" + SharedPostgresString(),
                                  SharedMariaDbString(), std::string("Provider=MSDASQL.1;") + SharedMariaDbString()}) {
    ConnectionPtr c;
    c.CreateInstance();
    c->Open(text, "", "");
    EXPECT_EQ(c->GetState(), adStateOpen) << text;
    c->Execute("SELECT 1");
    EXPECT_EQ(c->GetConnectionString(), text) << "the string is kept as given";
  }
  // The DSNs of the test command's driver list; user and password come from Open.
  for (const char* dsn : {"DSN=QelvoPG", "DSN=QelvoMariaDB"}) {
    ConnectionPtr c;
    c.CreateInstance();
    c->Open(dsn, "tester", "secret");
    c->Execute("SELECT 1");
  }
}

TEST_F(OdbcConnect, OpensUserAndPasswordWinOverTheStrings) {
  ConnectionPtr c;
  c.CreateInstance();
  c->Open(Pg("127.0.0.1", SharedPostgresPort(), "wrong"), "tester", "secret");
  EXPECT_EQ(c->GetState(), adStateOpen);
}

TEST_F(OdbcConnect, AWrongPasswordIsRefusedWithTheServersWords) {
  ExpectDriverText(ExpectRefused(Pg("127.0.0.1", SharedPostgresPort(), "wrong")), "password authentication failed");
  ExpectDriverText(ExpectRefused(Maria("127.0.0.1", SharedMariaDbPort(), "wrong")), "Access denied");
}

TEST_F(OdbcConnect, AnUnknownHostIsRefused) {
  ExpectDriverText(ExpectRefused(Pg("no-such-host.invalid", 5432)), "no-such-host.invalid");
  ExpectDriverText(ExpectRefused(Maria("no-such-host.invalid", 3306)), "no-such-host.invalid");
}

TEST_F(OdbcConnect, APortNobodyListensOnIsRefused) {
  int port = ClosedPort();
  ExpectDriverText(ExpectRefused(Pg("127.0.0.1", port)), "Connection refused");
  ExpectDriverText(ExpectRefused(Maria("127.0.0.1", port)), "Can't connect");
}

TEST_F(OdbcConnect, AHostThatNeverAnswersEndsWithTheLoginTimeout) {
  SilentPort silent;
  ASSERT_GT(silent.Port(), 0);
  Refusal pg = ExpectRefused(Pg("127.0.0.1", silent.Port()));
  ExpectDriverText(pg, "timeout");
  Refusal maria = ExpectRefused(Maria("127.0.0.1", silent.Port()));
  ExpectDriverText(maria, "Can't connect");
  // MariaDB's driver ignores the login timeout attribute; the provider gives it its own keyword.
  EXPECT_GE(maria.seconds, 4.0) << "the refusal came from the timeout, not from the port";
}

TEST_F(OdbcConnect, AnUnknownDriverIsNamedInTheError) {
  Refusal r = ExpectRefused("DRIVER={No Such Driver};SERVER=127.0.0.1");
  EXPECT_EQ(r.code, E_FAIL);
  EXPECT_EQ(r.description, "[unixODBC][Driver Manager]Can't open lib 'No Such Driver' : file not found");
  r = ExpectRefused("DSN=NoSuchDataSource");
  EXPECT_NE(r.description.find("Data source name not found"), std::string::npos) << r.description;
}

TEST_F(OdbcConnect, AMalformedStringIsRefusedBeforeAnyDriverIsAsked) {
  Refusal r = ExpectRefused("DRIVER={PostgreSQL Unicode;SERVER=127.0.0.1");
  EXPECT_EQ(r.code, E_FAIL);
  EXPECT_FALSE(r.description.empty());
  r = ExpectRefused("just some words");
  EXPECT_EQ(r.code, E_FAIL);
}

TEST_F(OdbcConnect, TheDbConnectionWrapperTracesAndReraisesTheRefusal) {
  DbConnection connection;
  try {
    connection.Open(Maria("127.0.0.1", SharedMariaDbPort(), "wrong"), "", "");
    FAIL();
  } catch (const ComError& e) {
    EXPECT_NE(e.Description().find("Access denied"), std::string::npos);
  }
  EXPECT_FALSE(connection.IsOpen());
}
