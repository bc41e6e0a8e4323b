// The driver manager's side: the list of installed drivers and the prompted connection string.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "data/DbConnection.h"
#include "data/OdbcConnectionBuilder.h"
#include "data/OdbcDriverPrompt.h"
#include "data/OdbcDrivers.h"
#include "data/Trace.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/TestDatabases.h"

namespace {

// ListOdbcDrivers in a fresh run of this test program whose driver manager reads the given
// odbcinst.ini (the driver manager caches its ini files for the life of a process, and a forked
// child inherits that cache). Returns "ok" or "failed" on the first line and then one driver per
// line.
std::string ListInChild(const std::string& odbcinst) {
  std::string folder = MakeTemporaryFolder();
  std::ofstream(folder + "/odbcinst.ini") << odbcinst;
  std::ofstream(folder + "/odbc.ini") << "";
  std::string out = folder + "/list.txt";
  pid_t child = fork();
  if (child == 0) {
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("QELVO_DRIVER_LIST_OUT", out.c_str(), 1);
    int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, 1);
    execl("/proc/self/exe", "tests_data_odbc", "--gtest_also_run_disabled_tests",
          "--gtest_filter=OdbcDriverManagerChild.DISABLED_WritesTheDriverList", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::ifstream in(out);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RemoveFolder(folder);
  return text;
}

class RecordingPrompt : public OdbcDriverPrompt {
 public:
  explicit RecordingPrompt(std::optional<std::string> answer) : answer_(std::move(answer)) {}
  std::optional<std::string> Prompt(void* ownerWindow, const std::string& driverName) override {
    owner = ownerWindow;
    driver = driverName;
    ++calls;
    return answer_;
  }
  void* owner = nullptr;
  std::string driver;
  int calls = 0;

 private:
  std::optional<std::string> answer_;
};

struct PromptGuard {
  ~PromptGuard() { SetOdbcDriverPrompt(nullptr); }
};

struct TraceLines {
  TraceLines() {
    TraceSetObserver([this](const std::string&, char kind, const std::string& text) {
      lines.push_back(std::string(1, kind) + "|" + text);
    });
  }
  ~TraceLines() { TraceSetObserver(nullptr); }
  bool Has(const std::string& part) const {
    for (const std::string& l : lines)
      if (l.find(part) != std::string::npos) return true;
    return false;
  }
  std::vector<std::string> lines;
};

}  // namespace

// The child's half of ListInChild (disabled: it runs only when ListInChild asks for it).
TEST(OdbcDriverManagerChild, DISABLED_WritesTheDriverList) {
  const char* out = std::getenv("QELVO_DRIVER_LIST_OUT");
  if (!out) GTEST_SKIP() << "runs only as the child of ListInChild";
  std::vector<std::string> drivers{"kept"};
  std::string text = ListOdbcDrivers(drivers) ? "ok\n" : "failed\n";
  for (const std::string& d : drivers) text += d + "\n";
  std::ofstream(out) << text;
}

TEST(OdbcDriverManager, ListsTheInstalledDriversInTheDriverManagersOrder) {
  std::string listed = ListInChild(
      "[Zeta Driver]\nDriver=/nonexistent/libzeta.so\n\n[Alpha Ünïcode Driver]\nDriver=/nonexistent/libalpha.so\n\n"
      "[Middle]\nDriver=/nonexistent/libmiddle.so\n");
  EXPECT_EQ(listed, "ok\nkept\nZeta Driver\nAlpha Ünïcode Driver\nMiddle\n");
}

TEST(OdbcDriverManager, AnEmptyDriverListGivesAnEmptyListAndTrue) {
  EXPECT_EQ(ListInChild(""), "ok\nkept\n");
}

TEST(OdbcDriverManager, TheTestCommandsDriversAreListed) {
  std::vector<std::string> drivers;
  ASSERT_TRUE(ListOdbcDrivers(drivers));
  EXPECT_NE(std::find(drivers.begin(), drivers.end(), "PostgreSQL Unicode"), drivers.end());
  EXPECT_NE(std::find(drivers.begin(), drivers.end(), "MariaDB Unicode"), drivers.end());
}

TEST(OdbcDriverManager, WithoutARegisteredPromptTheBuiltStringIsEmpty) {
  PromptGuard guard;
  SetOdbcDriverPrompt(nullptr);
  TraceLines trace;
  EXPECT_EQ(BuildOdbcConnectionString(nullptr, "PostgreSQL Unicode"), "");
  EXPECT_TRUE(trace.Has("W|BuildOdbcConnectionString() : no driver prompt for \"PostgreSQL Unicode\""));
}

TEST(OdbcDriverManager, ACancelledPromptGivesEmptyText) {
  PromptGuard guard;
  auto prompt = std::make_shared<RecordingPrompt>(std::nullopt);
  SetOdbcDriverPrompt(prompt);
  int owner = 0;
  EXPECT_EQ(BuildOdbcConnectionString(&owner, "MariaDB Unicode"), "");
  EXPECT_EQ(prompt->calls, 1);
  EXPECT_EQ(prompt->owner, &owner);
  EXPECT_EQ(prompt->driver, "MariaDB Unicode");
}

TEST(OdbcDriverManager, ThePromptsAnswerIsCompletedByTheDriverAndOpens) {
  if (SharedPostgresString().empty()) GTEST_SKIP() << "needs the test command's servers";
  PromptGuard guard;
  std::string answer = "DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=" + std::to_string(SharedPostgresPort()) +
                       ";DATABASE=testdb;UID=tester;PWD=secret";
  SetOdbcDriverPrompt(std::make_shared<RecordingPrompt>(answer));
  std::string built = BuildOdbcConnectionString(nullptr, "PostgreSQL Unicode");
  ASSERT_FALSE(built.empty());
  EXPECT_EQ(built.rfind("DRIVER={PostgreSQL Unicode}", 0), 0u) << built;
  EXPECT_NE(built.find("DATABASE=testdb"), std::string::npos) << built;
  DbConnection connection;
  connection.Open(built, "", "");
  EXPECT_EQ(connection.GetDatabaseKind(), DatabaseKind::PostgreSql);
  EXPECT_EQ(connection.QuerySingleField("SELECT 6 * 7"), "42");
}

TEST(OdbcDriverManager, AnAnswerTheDriverRefusesGivesEmptyTextAndATrace) {
  if (SharedMariaDbString().empty()) GTEST_SKIP() << "needs the test command's servers";
  PromptGuard guard;
  SetOdbcDriverPrompt(std::make_shared<RecordingPrompt>(
      "DRIVER={MariaDB Unicode};SERVER=127.0.0.1;PORT=" + std::to_string(SharedMariaDbPort()) +
      ";DATABASE=testdb;UID=tester;PWD=wrong"));
  TraceLines trace;
  EXPECT_EQ(BuildOdbcConnectionString(nullptr, "MariaDB Unicode"), "");
  EXPECT_TRUE(trace.Has("E|BuildOdbcConnectionString() : [unixODBC][ma-"))
      << (trace.lines.empty() ? "" : trace.lines[0]);
  EXPECT_TRUE(trace.Has("Access denied"));
}
