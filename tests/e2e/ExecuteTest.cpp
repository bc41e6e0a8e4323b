// The main job end to end on a SQLite file: typing a connection string and a query, Ctrl+Enter,
// what the grid and the status bar show, the histories, and batches.
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "grid/db/DbGridCtrl.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/HistoryCache.h"
#include "workspace/ProfileStore.h"
#include "workspace/QSettingsProfileStore.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/TextDlg.h"

namespace e2e {
namespace {

std::vector<std::string> HistoryEntries(const char* section) {
  std::vector<std::string> entries;
  const int count = AppProfile().ReadInt(section, "Count").value_or(0);
  for (int i = 0; i < count; ++i)
    entries.push_back(AppProfile().ReadBinary(section, HistoryValueName(i)).value_or("?"));
  return entries;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class ExecuteTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    db_ = data_.File("shop.db");
    MakeSqliteDatabase(db_, {
                                "CREATE TABLE Items (ID INTEGER PRIMARY KEY, Name VARCHAR(40), Qty INTEGER, "
                                "Price DECIMAL(10,2), Active BOOLEAN, Since DATE)",
                                "INSERT INTO Items VALUES (1, 'Apple', 10, 1.5, 1, '2003-02-01')",
                                "INSERT INTO Items VALUES (2, 'Banana', 25, 0.25, 0, '2003-02-05')",
                                "INSERT INTO Items VALUES (3, 'Cherry', 5, 12, 1, '2004-07-10')",
                            });
    connection_ = SqliteConnectionString(db_);
  }

  // Starts the program with the test database and a query typed in.
  Program& StartWith(const std::string& query) {
    Program& p = Start();
    p.TypeConnection(connection_);
    p.TypeQuery(query);
    return p;
  }

  std::string db_;
  std::string connection_;
};

TEST_F(ExecuteTest, CtrlEnterFillsTheGridAndTheStatusPanes) {
  Program& p = StartWith("SELECT ID, Name, Qty FROM Items ORDER BY ID");
  p.PressExecute();

  ASSERT_EQ(p.Grid().GetColumnCount(), 4);
  EXPECT_EQ(p.Cell(0, 2), "Name");
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  EXPECT_EQ(p.Column(3), (std::vector<std::string>{"10", "25", "5"}));
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "3");
  EXPECT_TRUE(std::regex_match(p.Pane(ID_INDICATOR_ELAPSED), std::regex(R"(\d+\.\d\d sec)")))
      << p.Pane(ID_INDICATOR_ELAPSED);
  EXPECT_TRUE(prompts_->Messages().empty());
  // Both texts are in their histories, written at once.
  EXPECT_EQ(HistoryEntries(ConnectionHistoryName), std::vector<std::string>{connection_});
  EXPECT_EQ(HistoryEntries(QueryHistoryName), std::vector<std::string>{"SELECT ID, Name, Qty FROM Items ORDER BY ID"});
}

TEST_F(ExecuteTest, ASelectionRunsAloneWhileTheHistoryGetsTheWholeText) {
  const std::string query = "SELECT Name FROM Items WHERE ID = 1\nSELECT Qty FROM Items WHERE ID = 2";
  Program& p = StartWith(query);
  QPlainTextEdit* editor = p.Workspace().QueryEditor();
  QTextCursor cursor = editor->textCursor();
  const int secondLine = static_cast<int>(QString::fromStdString(query).indexOf(QLatin1Char('\n'))) + 1;
  cursor.setPosition(secondLine);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
  p.PressExecute();

  EXPECT_EQ(p.Cell(0, 1), "Qty");
  EXPECT_EQ(p.Column(1), std::vector<std::string>{"25"});
  EXPECT_EQ(HistoryEntries(QueryHistoryName), std::vector<std::string>{query});
  EXPECT_EQ(p.Workspace().QueryText(), query);

  // The caret alone (no selection) runs the whole text: two lines without a separator are one
  // statement, which SQLite refuses; the grid reports that itself.
  cursor.clearSelection();
  editor->setTextCursor(cursor);
  prompts_->AnswerMessage(IDOK);
  p.PressExecute();
  ASSERT_EQ(prompts_->Messages().size(), 1u);
  EXPECT_EQ(prompts_->Messages()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_LE(p.DataRowCount(), 0);
}

TEST_F(ExecuteTest, AnEmptyQueryIsRememberedAndRunsNothing) {
  Program& p = StartWith("SELECT * FROM Items");
  p.PressExecute();
  ASSERT_EQ(p.DataRowCount(), 3);
  p.TypeQuery("");
  EXPECT_FALSE(p.IsEnabled(CQelvoView::IDC_EXECUTE));
  EXPECT_FALSE(p.Workspace().Control(CQelvoView::IDC_EXECUTE)->isEnabled());
  p.PressExecute();
  EXPECT_EQ(HistoryEntries(QueryHistoryName), (std::vector<std::string>{"SELECT * FROM Items", ""}));
  // Nothing ran: the grid refreshed from what it held.
  EXPECT_EQ(p.DataRowCount(), 3);
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "");
  EXPECT_EQ(p.Pane(ID_INDICATOR_ELAPSED), "");
}

TEST_F(ExecuteTest, MarkersAndHistorySteps) {
  Program& p = StartWith("SELECT Name FROM Items");
  CQelvoView& view = p.Workspace();
  QLabel* queryLabel = view.Label(CQelvoView::IDC_QUERY_LABEL);
  EXPECT_EQ(queryLabel->text(), "Query *");
  EXPECT_EQ(view.Label(CQelvoView::IDC_CONNECTION_LABEL)->text(), "Connection string *");
  p.PressExecute();
  EXPECT_EQ(queryLabel->text(), "Query");
  EXPECT_EQ(view.Label(CQelvoView::IDC_CONNECTION_LABEL)->text(), "Connection string");
  p.TypeQuery("SELECT Qty FROM Items");
  p.PressExecute();
  EXPECT_TRUE(view.Control(CQelvoView::IDC_QUERY_BACK)->isEnabled());
  EXPECT_FALSE(view.Control(CQelvoView::IDC_QUERY_FORWARD)->isEnabled());

  // Ctrl+PgDn at the newest entry changes nothing; Ctrl+PgUp shows the one before.
  QTest::keyClick(view.QueryEditor(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(view.QueryText(), "SELECT Qty FROM Items");
  QTest::keyClick(view.QueryEditor(), Qt::Key_PageUp, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(view.QueryText(), "SELECT Name FROM Items");
  EXPECT_EQ(queryLabel->text(), "Query");
  EXPECT_TRUE(view.Control(CQelvoView::IDC_QUERY_FORWARD)->isEnabled());

  // Editing an older entry shows the marker; stepping removes it.
  QTest::keyClicks(view.QueryEditor(), " ");
  EXPECT_EQ(queryLabel->text(), "Query *");
  p.RunCommand(CQelvoView::IDC_QUERY_FORWARD);
  EXPECT_EQ(view.QueryText(), "SELECT Qty FROM Items");
  EXPECT_EQ(queryLabel->text(), "Query");
}

TEST_F(ExecuteTest, TheNewestEntriesComeBackAfterARestart) {
  Program& p = StartWith("SELECT Qty FROM Items");
  p.PressExecute();
  Stop();
  Program& again = Start();
  EXPECT_EQ(again.Workspace().ConnectionText(), connection_);
  EXPECT_EQ(again.Workspace().QueryText(), "SELECT Qty FROM Items");
  EXPECT_EQ(again.Workspace().Label(CQelvoView::IDC_QUERY_LABEL)->text(), "Query");
}

TEST_F(ExecuteTest, AQueryStoredWithCrLfIsRememberedOnce) {
  {
    QSettingsProfileStore profile(settings_.Path() + "/Tolvane/Qelvo.conf");
    profile.WriteInt(ConnectionHistoryName, "Count", 1);
    profile.WriteBinary(ConnectionHistoryName, "00000", connection_);
    profile.WriteInt(QueryHistoryName, "Count", 1);
    profile.WriteBinary(QueryHistoryName, "00000", "SELECT Name\r\nFROM Items");
  }
  Program& p = Start();
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT Name\nFROM Items");
  p.PressExecute();
  EXPECT_EQ(p.Column(1), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  EXPECT_EQ(HistoryEntries(QueryHistoryName), std::vector<std::string>{"SELECT Name\nFROM Items"});
  EXPECT_FALSE(p.Workspace().Control(CQelvoView::IDC_QUERY_BACK)->isEnabled()) << "no older entry to step back to";
}

TEST_F(ExecuteTest, ClearHistoryAsksAndEmptiesBothLists) {
  Program& p = StartWith("SELECT * FROM Items");
  p.PressExecute();
  prompts_->AnswerMessage(IDNO);
  p.RunCommand(ID_CLEAR_HISTORY);
  EXPECT_EQ(HistoryEntries(QueryHistoryName).size(), 1u);
  prompts_->AnswerMessage(IDYES);
  p.RunCommand(ID_CLEAR_HISTORY);
  ASSERT_EQ(prompts_->Messages().size(), 2u);
  EXPECT_EQ(prompts_->Messages()[1].text, "Clear history");
  EXPECT_EQ(prompts_->Messages()[1].caption, "Qelvo");
  EXPECT_EQ(prompts_->Messages()[1].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(AppProfile().ReadInt(QueryHistoryName, "Count"), 0);
  EXPECT_EQ(AppProfile().ReadInt(ConnectionHistoryName, "Count"), 0);
  // The editors keep their texts.
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT * FROM Items");
}

TEST_F(ExecuteTest, FirstStartOffersTheSampleDatabase) {
  Program& p = Start();
  const std::string sample = FindSampleDatabase();
  ASSERT_FALSE(sample.empty());
  EXPECT_EQ(p.Workspace().ConnectionText(), SqliteConnectionString(sample));
  EXPECT_EQ(p.Workspace().QueryText(), FirstStartQuery);
  EXPECT_EQ(p.Workspace().Label(CQelvoView::IDC_QUERY_LABEL)->text(), "Query");
  p.PressExecute();
  EXPECT_GT(p.DataRowCount(), 0);
  EXPECT_TRUE(prompts_->Messages().empty());
}

TEST_F(ExecuteTest, ABatchThatSucceedsShowsItsLastStatement) {
  Program& p =
      StartWith("INSERT INTO Items (ID, Name, Qty) VALUES (4, 'Date', 7);\nSELECT Name FROM Items ORDER BY ID;");
  prompts_->AnswerMessage(IDYES);
  p.PressExecute();
  ASSERT_EQ(prompts_->Messages().size(), 1u);
  EXPECT_EQ(prompts_->Messages()[0].text, "Execute list of 2 queries ?");
  EXPECT_EQ(prompts_->Messages()[0].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(p.Column(1), (std::vector<std::string>{"Apple", "Banana", "Cherry", "Date"}));
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "4");
  EXPECT_TRUE(started_->empty());
}

TEST_F(ExecuteTest, ABatchThatFailsReportsAndSummarises) {
  Program& p = StartWith("INSERT INTO Nowhere VALUES (1);\nSELECT Name FROM Items;");
  prompts_->AnswerMessage(IDYES);
  prompts_->AnswerMessage(IDYES);
  p.PressExecute();
  ASSERT_EQ(prompts_->Messages().size(), 2u);
  EXPECT_EQ(prompts_->Messages()[1].text, "Queries : 2\r\nErrors : 1\r\n\r\nShow the report?");
  EXPECT_EQ(prompts_->Messages()[1].type, MB_YESNO | MB_ICONINFORMATION);
  EXPECT_EQ(p.Grid().GetColumnCount(), 0);

  const std::string report = p.Bottom().LastBatch().ReportPath();
  const std::string text = ReadFile(report);
  EXPECT_EQ(text.rfind("[E]   0 \"INSERT INTO Nowhere VALUES (1)\"\r\n[E] Error: ", 0), 0u) << text;
  EXPECT_NE(text.find("Nowhere"), std::string::npos);
  EXPECT_NE(text.find("\r\n[K]   1 \"SELECT Name FROM Items\"\r\n"), std::string::npos) << text;
  // The report opens in the configured viewer.
  ASSERT_EQ(started_->size(), 1u);
  EXPECT_EQ(started_->at(0), (std::vector<std::string>{"xdg-open", report}));
}

TEST_F(ExecuteTest, AFailedBatchWithoutAViewerShowsItsReportInOurOwnWindow) {
  Program& p = StartWith("INSERT INTO Nowhere VALUES (1);\nSELECT Name FROM Items;");
  AppSettings().SetText("General", "ScriptFileReader", "");  // no viewer configured
  prompts_->AnswerMessage(IDYES);
  prompts_->AnswerMessage(IDYES);
  std::string shown;
  prompts_->AnswerDialog([&](QDialog& dialog) {
    auto& report = dynamic_cast<CTextDlg&>(dialog);
    report.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&report));
    shown = report.Edit()->toPlainText().toStdString();
    const std::string folder = QELVO_E2E_SCREENSHOTS;
    std::filesystem::create_directories(folder);
    report.grab().save(QString::fromStdString(folder + "/batch_report.png"));
    return int(QDialog::Rejected);
  });
  p.PressExecute();
  EXPECT_TRUE(started_->empty());
  ASSERT_EQ(prompts_->Dialogs().size(), 1u);
  EXPECT_EQ(prompts_->Dialogs()[0].title, "Batch report - " + p.Bottom().LastBatch().ReportPath());
  EXPECT_EQ(shown.rfind("[E]   0 \"INSERT INTO Nowhere VALUES (1)\"\n[E] Error: ", 0), 0u) << shown;
  EXPECT_NE(shown.find("[K]   1 \"SELECT Name FROM Items\""), std::string::npos) << shown;
}

TEST_F(ExecuteTest, RefusingABatchLeavesTheGridAsItWas) {
  Program& p = StartWith("SELECT Name FROM Items");
  p.PressExecute();
  p.TypeQuery("DELETE FROM Items;\nSELECT * FROM Items;");
  prompts_->AnswerMessage(IDNO);
  p.PressExecute();
  EXPECT_EQ(p.Column(1), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  RunSqlite(db_, "SELECT 1");  // the file is untouched: no DELETE ran
  Program& same = P();
  same.TypeQuery("SELECT COUNT(*) AS n FROM Items");
  same.PressExecute();
  EXPECT_EQ(same.Column(1), std::vector<std::string>{"3"});
}

TEST_F(ExecuteTest, AConnectionThatCannotOpenIsReportedAndLosesNothing) {
  Program& p = Start();
  const std::string bad = SqliteConnectionString(data_.File("no/such/folder/x.db"));
  p.TypeConnection(bad);
  p.TypeQuery("SELECT 1");
  p.PressExecute();
  // The connection holder says the database did not open; the grid then reports why.
  ASSERT_EQ(prompts_->Messages().size(), 2u);
  EXPECT_EQ(prompts_->Messages()[0].caption, "DbConnection");
  EXPECT_EQ(prompts_->Messages()[1].caption, "Qelvo");
  EXPECT_EQ(prompts_->Messages()[1].type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_NE(prompts_->Messages()[1].text.find("unable to open database file"), std::string::npos)
      << prompts_->Messages()[1].text;
  EXPECT_LE(p.DataRowCount(), 0);
  // The texts stay, in the editors and in the histories.
  EXPECT_EQ(p.Workspace().ConnectionText(), bad);
  EXPECT_EQ(HistoryEntries(ConnectionHistoryName), std::vector<std::string>{bad});
}

TEST_F(ExecuteTest, ABatchOnAConnectionThatCannotOpenLogsTheOpensError) {
  Program& p = Start();
  p.TypeConnection(SqliteConnectionString(data_.File("no/such/folder/x.db")));
  p.TypeQuery("INSERT INTO Items (ID) VALUES (9);\nSELECT Name FROM Items;");
  prompts_->AnswerMessage(IDOK);
  prompts_->AnswerMessage(IDYES);
  p.PressExecute();
  const std::string text = ReadFile(p.Bottom().LastBatch().ReportPath());
  EXPECT_EQ(text.rfind("[E]   0 \"INSERT INTO Items (ID) VALUES (9)\"\r\n[E] Error: ", 0), 0u) << text;
  EXPECT_NE(text.find("unable to open database file"), std::string::npos) << text;
  EXPECT_EQ(text.find("closed"), std::string::npos) << text;
}

TEST_F(ExecuteTest, InPlaceEditToggleFollowsTheSetting) {
  Program& p = StartWith("SELECT Name FROM Items");
  p.PressExecute();
  const bool before = AppSettings().GetBool("Grid", "InPlaceEdit");
  EXPECT_EQ(p.Grid().IsEditable(), before);
  p.RunCommand(ID_IN_PLACE_EDIT);
  EXPECT_EQ(AppSettings().GetBool("Grid", "InPlaceEdit"), !before);
  EXPECT_EQ(p.Grid().IsEditable(), !before);
  EXPECT_EQ(p.CheckOf(ID_IN_PLACE_EDIT), before ? 0 : 1);
}

}  // namespace
}  // namespace e2e
