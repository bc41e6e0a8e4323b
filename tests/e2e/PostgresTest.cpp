// The same run against a PostgreSQL database through ODBC: execute, sort by a header click and
// filter by the filter row; and a connection string built through the driver's prompt.
// QELVO_TEST_PG names the server (an ODBC connection string); the tests use its database e2edb.
#include <QLineEdit>
#include <QListWidget>
#include <cstdlib>

#include "data/DbConnection.h"
#include "data/ado/ConnectionString.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/OdbcDriverPromptDialog.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/SelectListDlg.h"

namespace e2e {
namespace {

std::optional<ado::ConnectionString> Server() {
  const char* text = std::getenv("QELVO_TEST_PG");
  if (!text || !*text) return std::nullopt;
  ado::ConnectionString server = ado::ConnectionString::Parse(text);
  server.Set("DATABASE", "e2edb");
  return server;
}

class PostgresTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    std::optional<ado::ConnectionString> server = Server();
    if (!server) GTEST_SKIP() << "QELVO_TEST_PG is not set";
    server_ = *server;
    connection_ = server_.ToOdbcString();
  }

  // Statements on e2edb, behind the program's back.
  void Run(const std::vector<std::string>& statements) {
    DbConnection db;
    db.Open(connection_, "", "");
    for (const std::string& statement : statements) db.Execute(statement);
    db.Close();
  }

  ado::ConnectionString server_;
  std::string connection_;
};

TEST_F(PostgresTest, ExecuteSortAndFilter) {
  const std::string table = "e2e_items_run";
  Run({"DROP TABLE IF EXISTS " + table,
       "CREATE TABLE " + table + " (id integer PRIMARY KEY, name varchar(40), qty integer, active boolean)",
       "INSERT INTO " + table + " VALUES (1, 'Apple', 10, true), (2, 'Banana', 25, false), (3, 'Cherry', 5, true)"});

  Program& p = Start();
  p.TypeConnection(connection_);
  p.TypeQuery("SELECT id, name, qty, active FROM " + table + " ORDER BY id");
  p.PressExecute();
  EXPECT_TRUE(prompts_->Messages().empty()) << prompts_->Messages().front().text;
  EXPECT_EQ(p.Cell(0, 2), "name");
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  EXPECT_EQ(p.Column(3), (std::vector<std::string>{"10", "25", "5"}));
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "3");

  // Header clicks: name ascending, then descending; then qty in the direction used last.
  p.ClickCell(0, 2);
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  p.ClickCell(0, 2);
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"Cherry", "Banana", "Apple"}));
  EXPECT_EQ(p.Grid().GetSortColumn(), 2);
  p.ClickCell(0, 3);
  EXPECT_EQ(p.Column(3), (std::vector<std::string>{"25", "10", "5"}));

  // The filter row: a prefix on the text column, then a number.
  p.TypeFilter(2, "B");
  EXPECT_EQ(p.Column(2), std::vector<std::string>{"Banana"});
  p.TypeFilter(2, "");
  p.TypeFilter(3, "5");
  EXPECT_EQ(p.Column(2), std::vector<std::string>{"Cherry"});

  // A batch on the server: the insert runs, the select fills the grid.
  p.TypeQuery("INSERT INTO " + table + " VALUES (4, 'Date', 7, false);\nSELECT name FROM " + table + " ORDER BY id;");
  prompts_->AnswerMessage(IDYES);
  p.PressExecute();
  EXPECT_EQ(p.Column(1), (std::vector<std::string>{"Apple", "Banana", "Cherry", "Date"}));
  Run({"DROP TABLE " + table});
}

TEST_F(PostgresTest, AWrongPasswordIsWhatTheSecondBoxSays) {
  ado::ConnectionString wrong = server_;
  wrong.Set("PWD", "wrong");
  Program& p = Start();
  p.TypeConnection(wrong.ToOdbcString());
  p.TypeQuery("SELECT 1");
  p.PressExecute();
  ASSERT_EQ(prompts_->Messages().size(), 2u);
  EXPECT_EQ(prompts_->Messages()[0].text, "Errore nell'apertura del database");
  EXPECT_NE(prompts_->Messages()[1].text.find("password authentication failed for user"), std::string::npos)
      << prompts_->Messages()[1].text;
  EXPECT_LE(p.DataRowCount(), 0);
}

TEST_F(PostgresTest, TheDriverPromptBuildsAConnectionThatRuns) {
  Program& p = Start();
  p.Workspace().SetConnectionMode(CQelvoView::kModeOdbc);
  p.TypeConnection("");
  const std::string driver = "PostgreSQL Unicode";
  prompts_->AnswerDialog([driver](QDialog& dialog) {
    auto& select = dynamic_cast<CSelectListDlg&>(dialog);
    const QList<QListWidgetItem*> items = select.List()->findItems(QString::fromStdString(driver), Qt::MatchExactly);
    if (items.isEmpty()) return int(QDialog::Rejected);
    select.List()->setCurrentItem(items.first());
    select.accept();
    return ScriptedPrompts::kUseDialogResult;
  });
  const ado::ConnectionString server = server_;
  prompts_->AnswerDialog([server](QDialog& dialog) {
    auto& prompt = dynamic_cast<OdbcDriverPromptDialog&>(dialog);
    auto set = [&prompt](int id, const std::string& value) {
      qobject_cast<QLineEdit*>(prompt.Control(id))->setText(QString::fromStdString(value));
    };
    set(OdbcDriverPromptDialog::kServer, server.Get("SERVER").value_or(""));
    set(OdbcDriverPromptDialog::kPort, server.Get("PORT").value_or(""));
    set(OdbcDriverPromptDialog::kDatabase, "e2edb");
    set(OdbcDriverPromptDialog::kUser, server.Get("UID").value_or(""));
    set(OdbcDriverPromptDialog::kPassword, server.Get("PWD").value_or(""));
    prompt.accept();
    return ScriptedPrompts::kUseDialogResult;
  });
  p.RunCommand(CQelvoView::IDC_BUILD_CONNECTION);
  ASSERT_TRUE(prompts_->Unanswered().empty()) << prompts_->Unanswered().front();
  const std::string built = p.Workspace().ConnectionText();
  ASSERT_FALSE(built.empty());
  EXPECT_NE(built.find("e2edb"), std::string::npos) << built;
  // The driver wrote the password; the editor shows its placeholder.
  EXPECT_EQ(built.find("PWD=" + server_.Get("PWD").value_or("")), std::string::npos) << built;
  EXPECT_NE(built.find("<saved-password:"), std::string::npos) << built;

  p.TypeQuery("SELECT 40 + 2 AS answer");
  p.PressExecute();
  EXPECT_TRUE(prompts_->Messages().empty());
  EXPECT_EQ(p.Cell(0, 1), "answer");
  EXPECT_EQ(p.Column(1), std::vector<std::string>{"42"});
}

}  // namespace
}  // namespace e2e
