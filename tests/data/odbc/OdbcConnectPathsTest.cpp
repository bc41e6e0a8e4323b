// Every way Qelvo opens ODBC connects alike: a server that accepts and never answers ends each
// within the login timeout, and a string built through the driver prompt opens as a typed one does.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>

#include "data/DbConnection.h"
#include "data/OdbcConnectionBuilder.h"
#include "data/OdbcDriverPrompt.h"
#include "data/Trace.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

constexpr double kHang = 20;  // far beyond the 5-second login timeout, well before the mute port gives up

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Pg(int port, const std::string& password = "secret") {
  return "DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=" + std::to_string(port) +
         ";DATABASE=testdb;UID=tester;PWD=" + password;
}
std::string Maria(int port, const std::string& password = "secret") {
  return "DRIVER={MariaDB Unicode};SERVER=127.0.0.1;PORT=" + std::to_string(port) +
         ";DATABASE=testdb;UID=tester;PWD=" + password;
}

class AnsweringPrompt : public OdbcDriverPrompt {
 public:
  explicit AnsweringPrompt(std::string answer) : answer_(std::move(answer)) {}
  std::optional<std::string> Prompt(void*, const std::string&) override { return answer_; }

 private:
  std::string answer_;
};

struct PromptAnswers {
  explicit PromptAnswers(const std::string& answer) { SetOdbcDriverPrompt(std::make_shared<AnsweringPrompt>(answer)); }
  ~PromptAnswers() { SetOdbcDriverPrompt(nullptr); }
};

struct ErrorTrace {
  ErrorTrace() {
    TraceSetObserver([this](const std::string&, char kind, const std::string& text) {
      if (kind == 'E') lines += text + "\n";
    });
  }
  ~ErrorTrace() { TraceSetObserver(nullptr); }
  std::string lines;
};

}  // namespace

TEST(OdbcConnectPaths, AServerThatNeverAnswersEndsEveryPathWithinTheLoginTimeout) {
  MutePort mute;
  ASSERT_GT(mute.Port(), 0);
  for (const std::string& text : {Pg(mute.Port()), Maria(mute.Port())}) {
    SCOPED_TRACE(text);
    // The provider.
    auto start = std::chrono::steady_clock::now();
    ConnectionPtr connection;
    connection.CreateInstance();
    try {
      connection->Open(text, "", "");
      ADD_FAILURE() << "a mute server cannot be connected to";
    } catch (const ComError& e) {
      EXPECT_EQ(e.Error(), E_FAIL);
      EXPECT_EQ(e.Description().rfind("[unixODBC]", 0), 0u) << e.Description();
    }
    EXPECT_LT(SecondsSince(start), kHang);

    // The string builder behind the driver prompt.
    PromptAnswers answers(text);
    ErrorTrace trace;
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(BuildOdbcConnectionString(nullptr, "any"), "");
    EXPECT_LT(SecondsSince(start), kHang);
    EXPECT_NE(trace.lines.find("BuildOdbcConnectionString() : [unixODBC]"), std::string::npos) << trace.lines;
  }
}

TEST(OdbcConnectPaths, AStringBuiltThroughThePromptOpensAsTheTypedOne) {
  if (SharedPostgresString().empty()) GTEST_SKIP() << "needs the test command's servers";
  const std::string typed = Pg(SharedPostgresPort());
  std::string built;
  {
    PromptAnswers answers(typed);
    built = BuildOdbcConnectionString(nullptr, "PostgreSQL Unicode");
  }
  ASSERT_FALSE(built.empty());
  for (const std::string& text : {typed, built}) {
    SCOPED_TRACE(text);
    ConnectionPtr connection;
    connection.CreateInstance();
    connection->Open(text, "", "");
    connection->Execute("DROP TABLE IF EXISTS qt_other");
    connection->Execute("CREATE TABLE qt_other (id INTEGER PRIMARY KEY, flag BOOLEAN)");
    connection->Execute("INSERT INTO qt_other VALUES (1, TRUE)");
    RecordsetPtr rs;
    rs.CreateInstance();
    rs->Open("SELECT flag FROM qt_other", connection, adOpenKeyset, adLockOptimistic, adCmdText);
    EXPECT_EQ(rs->GetFields()->GetItem("flag")->GetType(), adBoolean);
    EXPECT_EQ(rs->GetCollect("flag"), Variant(true));
    rs->Close();
    connection->Execute("DROP TABLE qt_other");
  }
}
