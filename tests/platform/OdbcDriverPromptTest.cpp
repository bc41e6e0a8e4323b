// The ODBC driver prompt against the SQLite ODBC driver of this machine: the attributes become a
// DRIVER= string, a real no-prompt connect completes it, a refused connection is explained and
// the prompt stays open; Cancel gives nothing.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <future>
#include <memory>

#include "data/DbConnection.h"
#include "data/OdbcConnectionBuilder.h"
#include "data/OdbcDriverPrompt.h"
#include "data/ado/ConnectionString.h"
#include "platform/OdbcConnect.h"
#include "platform/OdbcDriverPromptDialog.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/platform/QtTestEnvironment.h"

namespace {

struct OdbcPrompt : ::testing::Test {
  std::shared_ptr<ScriptedPrompts> prompts = std::make_shared<ScriptedPrompts>();
  void SetUp() override { SetPromptSeam(prompts); }
  void TearDown() override { SetPromptSeam(nullptr); }
  static QLineEdit* Edit(QDialog& d, int id) {
    return qobject_cast<QLineEdit*>(static_cast<OdbcDriverPromptDialog&>(d).Control(id));
  }
  static void Click(QDialog& d, int id) {
    qobject_cast<QPushButton*>(static_cast<OdbcDriverPromptDialog&>(d).Control(id))->click();
  }
};

std::string MakeDatabase() {
  const std::string path = QDir(qtest_env::TempFolder()).filePath("odbc.db").toStdString();
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return path;
}

TEST_F(OdbcPrompt, TheFieldsMakeADriverString) {
  OdbcDriverPromptDialog dialog("PostgreSQL Unicode");
  Edit(dialog, OdbcDriverPromptDialog::kServer)->setText(" db.example ");
  Edit(dialog, OdbcDriverPromptDialog::kPort)->setText("5433");
  Edit(dialog, OdbcDriverPromptDialog::kDatabase)->setText("shop");
  Edit(dialog, OdbcDriverPromptDialog::kUser)->setText("ann");
  Edit(dialog, OdbcDriverPromptDialog::kPassword)->setText(" p;w ");
  Edit(dialog, OdbcDriverPromptDialog::kOther)->setText("SSLmode=require;DRIVER=ignored");
  const std::optional<std::string> text = dialog.BuildConnectionString(false);
  ASSERT_TRUE(text);
  const ado::ConnectionString parsed = ado::ConnectionString::Parse(*text);
  EXPECT_EQ(text->rfind("DRIVER={PostgreSQL Unicode};", 0), 0u) << *text;
  EXPECT_EQ(parsed.Get("SERVER"), "db.example");
  EXPECT_EQ(parsed.Get("PORT"), "5433");
  EXPECT_EQ(parsed.Get("DATABASE"), "shop");
  EXPECT_EQ(parsed.Get("UID"), "ann");
  EXPECT_EQ(parsed.Get("PWD"), " p;w ") << "a password keeps its blanks and semicolons";
  EXPECT_EQ(parsed.Get("SSLmode"), "require");
  EXPECT_EQ(parsed.Get("DRIVER"), "PostgreSQL Unicode");
}

TEST_F(OdbcPrompt, StartsFromGivenAttributesInTheirFields) {
  OdbcDriverPromptDialog dialog("MariaDB Unicode", "DRIVER={X};SERVER=h;PORT=3307;USER=bob;PASSWORD=pw;OPTION=3");
  EXPECT_EQ(Edit(dialog, OdbcDriverPromptDialog::kServer)->text(), "h");
  EXPECT_EQ(Edit(dialog, OdbcDriverPromptDialog::kPort)->text(), "3307");
  EXPECT_EQ(Edit(dialog, OdbcDriverPromptDialog::kUser)->text(), "bob");
  EXPECT_EQ(Edit(dialog, OdbcDriverPromptDialog::kPassword)->text(), "pw");
  EXPECT_EQ(Edit(dialog, OdbcDriverPromptDialog::kOther)->text(), "OPTION=3");
}

TEST_F(OdbcPrompt, CompletesARealConnectionWithoutPrompting) {
  const std::string path = MakeDatabase();
  prompts->AnswerDialog([&](QDialog& d) {
    Edit(d, OdbcDriverPromptDialog::kDatabase)->setText(QString::fromStdString(path));
    Click(d, OdbcDriverPromptDialog::kOk);
    return ScriptedPrompts::kUseDialogResult;
  });
  const std::string completed = PromptOdbcDriverConnection(nullptr, "SQLite3");
  ASSERT_FALSE(completed.empty()) << (prompts->Messages().empty() ? "" : prompts->Messages()[0].text);
  const ado::ConnectionString parsed = ado::ConnectionString::Parse(completed);
  EXPECT_EQ(parsed.Get("DATABASE"), path);
  EXPECT_TRUE(parsed.Has("DRIVER"));
  EXPECT_TRUE(prompts->Messages().empty());
  // The completed string connects again as it is.
  EXPECT_TRUE(CompleteOdbcConnection(completed).ok);
}

TEST_F(OdbcPrompt, ARefusedConnectionIsExplainedAndCancelGivesNothing) {
  prompts->AnswerDialog([&](QDialog& d) {
    Click(d, OdbcDriverPromptDialog::kOk);  // the driver does not exist
    EXPECT_TRUE(d.result() != QDialog::Accepted);
    Click(d, OdbcDriverPromptDialog::kCancel);
    return ScriptedPrompts::kUseDialogResult;
  });
  EXPECT_EQ(PromptOdbcDriverConnection(nullptr, "No Such Driver 42"), "");
  ASSERT_EQ(prompts->Messages().size(), 1u);
  EXPECT_EQ(prompts->Messages()[0].text.rfind("The connection failed:\n", 0), 0u);
  EXPECT_GT(prompts->Messages()[0].text.size(), std::string("The connection failed:\n").size());
}

TEST_F(OdbcPrompt, IsTheDataLayersDriverPrompt) {
  const std::string path = MakeDatabase();
  RegisterOdbcDriverPromptDialog();
  prompts->AnswerDialog([&](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Connect to SQLite3");
    Edit(d, OdbcDriverPromptDialog::kDatabase)->setText(QString::fromStdString(path));
    Click(d, OdbcDriverPromptDialog::kOk);
    return ScriptedPrompts::kUseDialogResult;
  });
  prompts->AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
  const std::string built = BuildOdbcConnectionString(nullptr, "SQLite3");
  EXPECT_NE(built.find(path), std::string::npos) << built;
  EXPECT_EQ(BuildOdbcConnectionString(nullptr, "SQLite3"), "") << "Cancel";
  SetOdbcDriverPrompt(nullptr);
}

TEST_F(OdbcPrompt, Screenshot) {
  OdbcDriverPromptDialog dialog("PostgreSQL Unicode", "SERVER=localhost;PORT=5432;DATABASE=shop;UID=ann");
  ASSERT_TRUE(qtest_env::ShowActive(dialog));
  qtest_env::Screenshot(dialog, "odbc-driver-prompt");
}

}  // namespace

// The prompt's test connect runs on the GUI thread: against a server that accepts and never
// answers it must give up within the login timeout, as the provider does, not freeze the program.
TEST(OdbcPromptConnect, AServerThatNeverAnswersIsRefusedWithinTheLoginTimeout) {
  // A listener that never accepts: the kernel completes each handshake, and nothing is ever said.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 16), 0);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string port = std::to_string(ntohs(address.sin_port));
  bool closed = false;
  for (const std::string driver : {"PostgreSQL Unicode", "MariaDB Unicode"}) {
    const std::string text =
        "DRIVER={" + driver + "};SERVER=127.0.0.1;PORT=" + port + ";DATABASE=testdb;UID=tester;PWD=secret";
    const auto start = std::chrono::steady_clock::now();
    std::future<OdbcCompletion> done = std::async(std::launch::async, [text] { return CompleteOdbcConnection(text); });
    // Far beyond the 5-second login timeout; closing the listener then resets a connect that
    // would otherwise wait for ever.
    if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
      close(listener);
      closed = true;
      ADD_FAILURE() << driver << ": still connecting after 20 s";
    }
    const OdbcCompletion completion = done.get();
    EXPECT_FALSE(completion.ok) << driver;
    EXPECT_EQ(completion.error.rfind("[unixODBC]", 0), 0u) << completion.error;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20) << driver;
    if (closed) break;
  }
  if (!closed) close(listener);
}
