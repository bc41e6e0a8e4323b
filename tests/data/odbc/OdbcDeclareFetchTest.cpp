// psqlODBC reads a result from a server cursor as the rows are fetched (declare/fetch), 10,000 at
// a time, unless the connection string or the DSN chooses otherwise: what the server last heard
// from a connection that has read the first row of a big result says which way it reads.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

class OdbcDeclareFetch : public testing::Test, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    if (SharedPostgresString().empty()) GTEST_SKIP() << "needs the test command's PostgreSQL (QELVO_TEST_PG)";
  }

  // The last statement the server had from `connection` after it read the first row of a
  // hundred thousand.
  std::string LastStatementWhileReading(const std::string& connection) {
    Connect(connection);
    const std::string pid = Open("SELECT pg_backend_pid()")->GetCollect(0L).ToText();
    RecordsetPtr rs = Open("SELECT n FROM generate_series(1, 100000) AS g(n)", adUseServer);
    EXPECT_EQ(rs->GetCollect(0L).ToInt64(), 1);
    ConnectionPtr watcher;
    watcher.CreateInstance();
    watcher->Open(SharedPostgresString(), "", "");
    RecordsetPtr seen;
    seen.CreateInstance();
    seen->PutCursorLocation(adUseClient);
    seen->Open("SELECT query FROM pg_stat_activity WHERE pid = " + pid, watcher);
    const std::string query = seen->GetEOF() ? "" : seen->GetCollect(0L).ToText();
    // The rest still reads, in order.
    long rows = 1;
    for (rs->MoveNext(); !rs->GetEOF(); rs->MoveNext()) ++rows;
    EXPECT_EQ(rows, 100000);
    return query;
  }
  static bool FetchesBy(const std::string& query, int rows) {
    std::string lower = query;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("fetch " + std::to_string(rows) + " in ") != std::string::npos;
  }
  static std::string WithoutChoice() {
    std::string text = SharedPostgresString();
    EXPECT_EQ(text.find("UseDeclareFetch"), std::string::npos);
    return text;
  }
};

}  // namespace

TEST_F(OdbcDeclareFetch, IsOnByDefaultThroughAStringOrADsn) {
  std::string query = LastStatementWhileReading(WithoutChoice());
  EXPECT_TRUE(FetchesBy(query, 10000)) << query;
  query = LastStatementWhileReading("DSN=QelvoPG;UID=tester;PWD=secret");
  EXPECT_TRUE(FetchesBy(query, 10000)) << query;
}

TEST_F(OdbcDeclareFetch, TheUsersOwnSettingWins) {
  for (const char* choice : {";UseDeclareFetch=0", ";B6=0"}) {
    const std::string query = LastStatementWhileReading(WithoutChoice() + choice);
    EXPECT_NE(query.find("generate_series"), std::string::npos) << choice << ": " << query;
  }
  std::string query = LastStatementWhileReading(WithoutChoice() + ";UseDeclareFetch=1;Fetch=1000");
  EXPECT_TRUE(FetchesBy(query, 1000)) << query;
  // Declare/fetch asked for without a size: psqlODBC's own size stays.
  query = LastStatementWhileReading(WithoutChoice() + ";UseDeclareFetch=1");
  EXPECT_FALSE(FetchesBy(query, 10000)) << query;
  EXPECT_NE(query.find("fetch "), std::string::npos) << query;
}

// A driver list of its own needs a fresh process: the driver manager reads its ini files once.
TEST_F(OdbcDeclareFetch, APsqlOdbcDriverUnderAnotherNameIsKnownByItsLibrary) {
  const char* sysIni = std::getenv("ODBCSYSINI");
  if (!sysIni) GTEST_SKIP() << "needs the test command's driver list (ODBCSYSINI)";
  const std::string folder = MakeTemporaryFolder();
  {
    std::ifstream in(std::string(sysIni) + "/odbcinst.ini");
    std::ostringstream drivers;
    drivers << in.rdbuf();
    std::ofstream(folder + "/odbcinst.ini") << drivers.str() << "\n[Elephant]\nDriver=psqlodbcw.so\nCommLog=0\n";
    std::ofstream(folder + "/odbc.ini") << "";
  }
  std::string text = WithoutChoice();
  text.replace(text.find("{PostgreSQL Unicode}"), 20, "{Elephant}");
  const std::string out = folder + "/query.txt";
  pid_t child = fork();
  if (child == 0) {
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("QELVO_DECLARE_FETCH_CONNECTION", text.c_str(), 1);
    setenv("QELVO_DECLARE_FETCH_OUT", out.c_str(), 1);
    int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, 1);
    execl("/proc/self/exe", "tests_data_odbc", "--gtest_also_run_disabled_tests",
          "--gtest_filter=OdbcDeclareFetch.DISABLED_ChildWritesTheLastStatement", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::ifstream in(out);
  const std::string query((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RemoveFolder(folder);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(FetchesBy(query, 10000)) << query;
}

TEST_F(OdbcDeclareFetch, DISABLED_ChildWritesTheLastStatement) {
  const char* connection = std::getenv("QELVO_DECLARE_FETCH_CONNECTION");
  const char* out = std::getenv("QELVO_DECLARE_FETCH_OUT");
  ASSERT_TRUE(connection && out);
  std::ofstream(out) << LastStatementWhileReading(connection);
}
