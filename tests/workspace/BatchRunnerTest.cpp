#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "data/DbConnection.h"
#include "data/ErrorText.h"
#include "tests/workspace/RecordingStarter.h"
#include "workspace/BatchRunner.h"
#include "workspace/MemoryProfileStore.h"
#include "workspace/ReportFile.h"
#include "workspace/SettingsStore.h"

namespace {

// The window's side of a batch: answers the confirmation and keeps what it was shown.
class ScriptedUi : public BatchUi {
 public:
  bool ConfirmBatch(const std::string& question) override {
    questions.push_back(question);
    return answer;
  }
  void BeginBatch() override { ++begun; }
  void EndBatch() override { ++ended; }
  bool ShowSummary(const std::string& text) override {
    summaries.push_back(text);
    return showReport;
  }
  void ShowReport(const std::string& path, const std::string& text) override { reports.push_back({path, text}); }

  bool answer = true;
  bool showReport = true;
  std::vector<std::pair<std::string, std::string>> reports;
  std::vector<std::string> questions;
  std::vector<std::string> summaries;
  int begun = 0;
  int ended = 0;
};

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class Batch : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    settings.LoadAll(MemoryProfileStore());
    // An empty file is an empty SQLite database; the provider opens only files that exist.
    std::string database = folder.filePath("batch test.db").toStdString();
    std::ofstream{database};
    connection.Open("Provider=SQLite;Data Source=" + database, "", "");
    connection.Execute("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT)");
    reportPath = folder.filePath("my reports/QelvoReport.txt").toStdString();
    std::filesystem::create_directories(folder.filePath("my reports").toStdString());
  }
  BatchRunner Runner() { return BatchRunner(ui, settings, starter, reportPath); }
  std::string Count() { return connection.QuerySingleField("SELECT count(*) FROM t"); }
  // The text the data layer gives for a failing statement, as the report must show it.
  std::string ErrorTextOf(const std::string& statement) {
    try {
      connection.Execute(statement);
    } catch (const ado::ComError& error) {
      return ComErrorText(error);
    }
    ADD_FAILURE() << "no error from " << statement;
    return {};
  }

  QTemporaryDir folder;
  SettingsStore settings;
  DbConnection connection;
  ScriptedUi ui;
  RecordingStarter starter;
  std::string reportPath;
};

TEST_F(Batch, WhenAllSucceedTheLastStatementGoesToTheGrid) {
  BatchRunner runner = Runner();
  std::string shown = runner.Run(&connection, "INSERT INTO t VALUES (1, 'a;b');\nSELECT * FROM t;\n");
  EXPECT_EQ(shown, "SELECT * FROM t");
  EXPECT_EQ(ui.questions, (std::vector<std::string>{"Execute list of 2 queries ?"}));
  EXPECT_EQ(Count(), "1");
  EXPECT_EQ(runner.Errors(), 0u);
  EXPECT_EQ(runner.Log(), (std::vector<std::string>{"[K]   0 \"INSERT INTO t VALUES (1, 'a;b')\""}));
  EXPECT_TRUE(ui.summaries.empty());
  EXPECT_TRUE(starter.started.empty());
  EXPECT_FALSE(std::filesystem::exists(reportPath));
  EXPECT_EQ(ui.begun, 1);
  EXPECT_EQ(ui.ended, 1);
}

TEST_F(Batch, AFailureRunsTheRestWritesTheReportAndOpensIt) {
  const std::string bad = "INSERT INTO missing VALUES (1)";
  const std::string error = ErrorTextOf(bad);
  EXPECT_NE(error.find("no such table"), std::string::npos) << error;

  BatchRunner runner = Runner();
  std::string shown = runner.Run(&connection, bad + ";\nINSERT INTO t VALUES (2, 'b');\nSELECT name\n  FROM t;");
  EXPECT_EQ(shown, "");
  EXPECT_EQ(Count(), "1");  // the batch never stops early
  EXPECT_EQ(ui.summaries, (std::vector<std::string>{"Queries : 3\r\nErrors : 1"}));
  EXPECT_EQ(FileBytes(reportPath),
            "[E]   0 \"" + bad + "\"\r\n[E] Error: " + error +
                "\r\n[K]   1 \"INSERT INTO t VALUES (2, 'b')\"\r\n[K]   2 \"SELECT name FROM t\"\r\n");
  // The viewer gets the path with its blank as one argument.
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0], (std::vector<std::string>{"xdg-open", reportPath}));
  EXPECT_FALSE(starter.waited[0]);
  EXPECT_EQ(ui.ended, 1);
  EXPECT_TRUE(ui.reports.empty()) << "the viewer started: no window of our own";
}

TEST_F(Batch, TheReportShowsInAWindowOfOurOwnWhenNoViewerStartsAndOnlyWhenWanted) {
  starter.succeed = false;  // no xdg-open on this desktop
  BatchRunner runner = Runner();
  runner.Run(&connection, "SELECT * FROM nowhere;\nSELECT 1;");
  ASSERT_EQ(starter.started.size(), 1u);
  ASSERT_EQ(ui.reports.size(), 1u);
  EXPECT_EQ(ui.reports[0].first, reportPath);
  EXPECT_EQ(ui.reports[0].second, FileBytes(reportPath)) << "the window shows what the file holds";
  EXPECT_NE(ui.reports[0].second.find("[E]   0 \"SELECT * FROM nowhere\""), std::string::npos);

  // Declining the offer shows nothing and starts nothing.
  ui.showReport = false;
  runner.Run(&connection, "SELECT * FROM nowhere;\nSELECT 1;");
  EXPECT_EQ(ui.summaries.size(), 2u);
  EXPECT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(ui.reports.size(), 1u);
}

TEST_F(Batch, AFailedLastStatementIsCountedToo) {
  settings.SetText("General", "BatchSeparator", "GO");
  BatchRunner runner = Runner();
  EXPECT_EQ(runner.Run(&connection, "DELETE FROM nowhere\nGO\nSELECT nothing FROM t\nGO"), "");
  EXPECT_EQ(ui.summaries, (std::vector<std::string>{"Queries : 2\r\nErrors : 2"}));
  std::string report = FileBytes(reportPath);
  EXPECT_EQ(report.find("[E]   0 \"DELETE FROM nowhere\"\r\n[E] Error: "), 0u) << report;
  EXPECT_NE(report.find("\r\n[E]   1 \"SELECT nothing FROM t\"\r\n[E] Error: "), std::string::npos) << report;
}

TEST_F(Batch, WithoutAConnectionEveryStatementFails) {
  BatchRunner runner = Runner();
  EXPECT_EQ(runner.Run(nullptr, "SELECT 1;\nSELECT 2;"), "");
  EXPECT_EQ(ui.summaries, (std::vector<std::string>{"Queries : 2\r\nErrors : 2"}));
  ASSERT_EQ(runner.Log().size(), 4u);
  EXPECT_EQ(runner.Log()[0], "[E]   0 \"SELECT 1\"");
  EXPECT_EQ(runner.Log()[1], "[E] Error: " + ComErrorText(ado::ComError(ado::adErrObjectClosed)));
  EXPECT_NE(runner.Log()[1], "[E] Error: ");
  // The single-statement path needs no connection here: the grid opens its own.
  EXPECT_EQ(runner.Run(nullptr, "SELECT 1;"), "SELECT 1;");
}

TEST_F(Batch, AnsweringNoRunsNothing) {
  ui.answer = false;
  BatchRunner runner = Runner();
  EXPECT_EQ(runner.Run(&connection, "INSERT INTO t VALUES (1, 'x');\nINSERT INTO t VALUES (2, 'y');"), "");
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(Count(), "0");
  EXPECT_EQ(ui.begun, 0);
  EXPECT_EQ(ui.ended, 0);
  EXPECT_TRUE(ui.summaries.empty());
}

TEST_F(Batch, OneStatementOrNoneGoesToTheGridAsTyped) {
  BatchRunner runner = Runner();
  for (const char* text : {"SELECT 1;", "SELECT 1; SELECT 2;", "-- only\n# comments\n", "", "  SELECT 1  \n;\n"})
    EXPECT_EQ(runner.Run(&connection, text), text);
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(Batch, ABlankSeparatorMakesTheWholeTextOneStatement) {
  settings.SetText("General", "BatchSeparator", " \t ");
  BatchRunner runner = Runner();
  std::string text = "INSERT INTO t VALUES (1, 'x');\nSELECT * FROM t;";
  EXPECT_EQ(runner.Run(&connection, text), text);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(RequestStatements(text, settings), (std::vector<std::string>{text}));
}

TEST_F(Batch, AnOldReportIsReplacedAndAnUnwritableOneStillShowsTheSummary) {
  std::ofstream(reportPath) << "an older and much longer report\r\nwith lines\r\nof its own\r\n";
  BatchRunner runner = Runner();
  runner.Run(&connection, "SELECT * FROM nowhere;\nSELECT 1;");
  EXPECT_EQ(FileBytes(reportPath).find("[E]   0 \"SELECT * FROM nowhere\""), 0u);
  EXPECT_EQ(FileBytes(reportPath).find("older"), std::string::npos);

  std::string unwritable = folder.filePath("no such folder/QelvoReport.txt").toStdString();
  BatchRunner lost(ui, settings, starter, unwritable);
  lost.Run(&connection, "SELECT * FROM nowhere;\nSELECT 1;");
  EXPECT_EQ(ui.summaries.size(), 2u);
  // A viewer would open a file that is not there: the report shows from memory instead.
  EXPECT_EQ(starter.started.size(), 1u);
  ASSERT_EQ(ui.reports.size(), 1u);
  EXPECT_EQ(ui.reports[0].second.find("[E]   0 \"SELECT * FROM nowhere\""), 0u);
}

TEST_F(Batch, NoViewerIsStartedWhenNoneIsConfigured) {
  settings.SetText("General", "ScriptFileReader", "");
  BatchRunner runner = Runner();
  runner.Run(&connection, "SELECT * FROM nowhere;\nSELECT 1;");
  EXPECT_EQ(ui.summaries.size(), 1u);
  EXPECT_TRUE(starter.started.empty());
  EXPECT_EQ(ui.reports.size(), 1u) << "the report shows in our own window";
}

TEST(BatchLog, LinesKeepTheirShapeForAnyStatement) {
  EXPECT_EQ(BatchFailureLine(1234, "y"), "[E] 1234 \"y\"");
  std::string longStatement(40000, 'z');
  EXPECT_EQ(BatchSuccessLine(0, longStatement), "[K]   0 \"" + longStatement + "\"");
  EXPECT_EQ(BatchSummaryText(12, 0), "Queries : 12\r\nErrors : 0");
}

TEST(ReportPath, BesideTheExecutableWhenItsFolderIsWritable) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  std::string writable = folder.path().toStdString();
  EXPECT_EQ(ChooseReportPath(writable, "/data"), writable + "/QelvoReport.txt");
  EXPECT_EQ(ChooseReportPath(writable + "/missing", "/data"), "/data/QelvoReport.txt");
  EXPECT_EQ(ChooseReportPath("", "/data"), "/data/QelvoReport.txt");
  // The test executable's own folder (the build tree) is writable.
  EXPECT_EQ(DefaultReportPath(), ExecutableFolder() + "/QelvoReport.txt");
  EXPECT_TRUE(std::filesystem::exists(ExecutableFolder() + "/tests_workspace"));
}

TEST(ReportPath, TheUserDataFolderFollowsXdgDataHome) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const char* old = std::getenv("XDG_DATA_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", folder.path().toUtf8().constData(), 1);
  std::string data = UserDataFolder();
  EXPECT_EQ(data, folder.path().toStdString() + "/Tolvane/Qelvo");
  EXPECT_TRUE(std::filesystem::is_directory(data));
  if (old)
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
