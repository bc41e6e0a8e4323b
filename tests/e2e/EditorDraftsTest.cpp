// The editors' texts across a restart: what was typed and never executed comes back, with its
// marker; executed texts come back without one.
#include <QLabel>

#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/QelvoView.h"

namespace e2e {
namespace {

class EditorDraftsTest : public ProgramTest {};

TEST_F(EditorDraftsTest, TextsNeverExecutedSurviveARestart) {
  Program& p = Start();
  p.TypeConnection("Provider=SQLite;Data Source=/nowhere/half");
  p.TypeQuery("SELECT Name\nFROM Items WHERE Name LIKE 'Å%");
  Stop();

  Program& again = Start();
  EXPECT_EQ(again.Workspace().ConnectionText(), "Provider=SQLite;Data Source=/nowhere/half");
  EXPECT_EQ(again.Workspace().QueryText(), "SELECT Name\nFROM Items WHERE Name LIKE 'Å%");
  EXPECT_EQ(again.Workspace().Label(CQelvoView::IDC_QUERY_LABEL)->text(), "Query *");
  EXPECT_EQ(again.Workspace().Label(CQelvoView::IDC_CONNECTION_LABEL)->text(), "Connection string *");
  EXPECT_TRUE(again.Workspace().Control(CQelvoView::IDC_EXECUTE)->isEnabled());

  // Emptied editors stay empty: the first-start texts do not come back over them.
  again.TypeConnection("");
  again.TypeQuery("");
  Stop();
  Program& third = Start();
  EXPECT_EQ(third.Workspace().ConnectionText(), "");
  EXPECT_EQ(third.Workspace().QueryText(), "");
  EXPECT_EQ(third.Workspace().Label(CQelvoView::IDC_QUERY_LABEL)->text(), "Query");
}

TEST_F(EditorDraftsTest, AnEditAfterExecutingIsKeptBesideTheHistory) {
  const std::string db = data_.File("d.db");
  MakeSqliteDatabase(db, {"CREATE TABLE Items (Name TEXT)", "INSERT INTO Items VALUES ('a')"});
  Program& p = Start();
  p.TypeConnection("Provider=SQLite;Data Source=" + db);
  p.TypeQuery("SELECT * FROM Items");
  p.PressExecute();
  p.TypeQuery("SELECT * FROM Items WHERE");
  Stop();

  Program& again = Start();
  EXPECT_EQ(again.Workspace().QueryText(), "SELECT * FROM Items WHERE");
  EXPECT_EQ(again.Workspace().Label(CQelvoView::IDC_QUERY_LABEL)->text(), "Query *");
  EXPECT_EQ(again.Workspace().Label(CQelvoView::IDC_CONNECTION_LABEL)->text(), "Connection string");
  EXPECT_EQ(again.Workspace().QueryHistory().Entries(), std::vector<std::string>{"SELECT * FROM Items"});
}

}  // namespace
}  // namespace e2e
