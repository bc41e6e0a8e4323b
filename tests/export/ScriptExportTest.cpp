// The script export run: passes and their order, the output file (created, emptied, appended, CR LF),
// what the user sees, and the SQL Server script of the sample database against expected files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "export/CsvExport.h"
#include "export/MysqlScriptGenerator.h"
#include "export/SQLServerScriptGenerator.h"
#include "export/ScriptExport.h"
#include "tests/export/ExportTestSupport.h"

namespace {
int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t i = text.find(part); i != std::string::npos; i = text.find(part, i + part.size())) ++n;
  return n;
}

class ScriptExportTest : public testing::Test {
 protected:
  void SetUp() override {
    settings.SetText("Export", "OutputFile", output);
    settings.SetText("Export", "AppendMode", "0");
  }

  void Run(const ScriptGenerator& generator, const std::vector<std::string>& tables,
           const std::optional<std::string>& query = std::nullopt) {
    RunScriptExport(generator, db, tables, query, ui, settings, starter);
  }

  TempFolder folder;
  std::string db = MakeSqliteDatabase(
      folder,
      {"CREATE TABLE A (id INTEGER PRIMARY KEY AUTOINCREMENT, t VARCHAR(10))", "INSERT INTO A (t) VALUES ('a1')",
       "INSERT INTO A (t) VALUES ('a2')", "CREATE TABLE \"B b\" (n INTEGER, s TEXT)",
       "INSERT INTO \"B b\" VALUES (1, 'x' || char(10) || 'y')", "CREATE TABLE E (n INTEGER)"});
  std::string output = folder.File("out.sql");
  SettingsStore settings = DefaultSettings();
  RecordingUi ui;
  RecordingStarter starter;
  SQLServerScriptGenerator sqlServer{settings};
  MysqlScriptGenerator mysql{settings};
};

TEST_F(ScriptExportTest, StructureOfEveryTableThenRowsOfEveryTable) {
  settings.SetText("Export", "ExportMode", "1");
  Run(sqlServer, {"A", "B b", "E"});
  const std::string text = ReadFileBytes(output);
  const std::size_t createA = text.find("CREATE TABLE [dbo].[A]");
  const std::size_t createB = text.find("CREATE TABLE [dbo].[B b]");
  const std::size_t createE = text.find("CREATE TABLE [dbo].[E]");
  const std::size_t rowsA = text.find("INSERT INTO A ");
  const std::size_t rowsB = text.find("INSERT INTO [B b] ");
  ASSERT_NE(createE, std::string::npos) << text;
  EXPECT_LT(createA, createB);
  EXPECT_LT(createB, createE);
  EXPECT_LT(createE, rowsA);
  EXPECT_LT(rowsA, rowsB);
  // Mode 1: the structure pass dropped the tables, the data pass deletes nothing.
  EXPECT_EQ(Count(text, "drop table"), 3);
  EXPECT_EQ(Count(text, "DELETE FROM"), 0);
  EXPECT_EQ(Count(text, "INSERT INTO"), 3);
  EXPECT_EQ(ui.calls, (std::vector<std::string>{"ResetStatusPanes", "BeginWait", "RecordCount:A", "RecordCount:B b",
                                                "RecordCount:E", "RecordCount:A", "RecordCount:B b", "RecordCount:E",
                                                "RecordCount:", "Elapsed", "EndWait"}));
  EXPECT_GE(ui.elapsed, 0);
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0], (std::vector<std::string>{"xdg-open", output}));
  EXPECT_FALSE(starter.waited[0]);
}

TEST_F(ScriptExportTest, FileHasCrLfLineEndsAndTheTemplatesCrCrLf) {
  settings.SetText("Export", "ExportMode", "2");
  Run(sqlServer, {"A"});
  const std::string text = ReadFileBytes(output);
  EXPECT_EQ(text.rfind("if exists (select * from sysobjects", 0), 0u);
  EXPECT_NE(text.find("drop table [dbo].[A]\r\n;\r\n\r\nCREATE TABLE [dbo].[A] (\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ALTER TABLE [dbo].[A] WITH NOCHECK ADD\r\r\n"), std::string::npos);
  EXPECT_NE(text.find("PRIMARY KEY  NONCLUSTERED\r\r\n\t(\r\n"), std::string::npos);
  // Every LF is preceded by a CR.
  for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
    ASSERT_EQ(text[i - 1], '\r');
}

TEST_F(ScriptExportTest, DataOnlyZapsWhenAskedAndEmptyTablesWriteNothing) {
  settings.SetText("Export", "ExportMode", "3");
  Run(mysql, {"A", "E"});
  EXPECT_EQ(ReadFileBytes(output),
            "SET NAMES utf8mb4;\r\n\r\n"
            "DELETE FROM A;\r\nINSERT INTO A (id,t) VALUES (1,'a1');\r\nINSERT INTO A (id,t) VALUES (2,'a2');\r\n\r\n");
  settings.SetText("Export", "InsertDropOrZapTableStatement", "0");
  settings.SetText("Export", "InsertAutonumbers", "0");
  settings.SetText("Export", "MaxRecords", "1");
  Run(mysql, {"A"});
  EXPECT_EQ(ReadFileBytes(output), "SET NAMES utf8mb4;\r\n\r\nINSERT INTO A (t) VALUES ('a1');\r\n\r\n");
}

TEST_F(ScriptExportTest, AppendAddsToTheFileOtherwiseItIsEmptied) {
  WriteFileBytes(output, "-- before\r\n");
  settings.SetText("Export", "ExportMode", "2");
  settings.SetText("Export", "AppendMode", "1");
  Run(mysql, {"E"});
  const std::string appended = ReadFileBytes(output);
  EXPECT_EQ(appended.rfind("-- before\r\nSET NAMES utf8mb4;\r\n\r\nDROP TABLE IF EXISTS E;", 0), 0u) << appended;
  settings.SetText("Export", "AppendMode", "0");
  Run(mysql, {"E"});
  EXPECT_EQ(ReadFileBytes(output), appended.substr(std::string("-- before\r\n").size()));
}

TEST_F(ScriptExportTest, QueryExportUsesTheQueryUnderTheTargetName) {
  settings.SetText("Export", "ExportMode", "1");
  settings.SetText("Export", "InsertDropOrZapTableStatement", "0");
  Run(mysql, {"Target Name"}, "SELECT t FROM A WHERE id = 2");
  EXPECT_EQ(ReadFileBytes(output),
            "SET NAMES utf8mb4;\r\n\r\n"
            "CREATE TABLE `Target Name` (\r\n    t                    varchar(10) NULL\r\n);\r\n\r\n"
            "INSERT INTO `Target Name` (t) VALUES ('a2');\r\n\r\n");
}

TEST_F(ScriptExportTest, UnwritableFileIsReportedAndTheRunCompletes) {
  const std::string missing = folder.File("no/such/folder/out.sql");
  settings.SetText("Export", "OutputFile", missing);
  settings.SetText("Export", "ExportMode", "1");
  Run(sqlServer, {"A"});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Unable to write to file \"" + missing + "\"");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
  EXPECT_FALSE(std::filesystem::exists(missing));
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0].back(), missing);
  EXPECT_EQ(ui.calls.back(), "EndWait");
  EXPECT_GE(ui.elapsed, 0);
}

TEST_F(ScriptExportTest, DatabaseErrorEndsTheRunAndKeepsWhatWasWritten) {
  settings.SetText("Export", "ExportMode", "2");
  Run(sqlServer, {"A", "Missing", "E"});
  const std::string text = ReadFileBytes(output);
  EXPECT_NE(text.find("CREATE TABLE [dbo].[A]"), std::string::npos);
  EXPECT_EQ(text.find("[E]"), std::string::npos);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_NE(ui.messages[0].text.find("Missing"), std::string::npos) << ui.messages[0].text;
  EXPECT_TRUE(starter.started.empty());
  EXPECT_EQ(ui.elapsed, -2);  // the panes are left as they were
  EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(ScriptExportTest, ConnectionFailureLeavesTheFileAlone) {
  WriteFileBytes(output, "keep");
  db = "Provider=SQLite;Data Source=" + folder.File("absent.db");
  Run(sqlServer, {"A"});
  EXPECT_EQ(ReadFileBytes(output), "keep");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(starter.started.empty());
  EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(ScriptExportTest, OtherModesWriteNothingButFinishTheRun) {
  settings.SetText("Export", "ExportMode", "7");
  settings.SetText("General", "ScriptFileReader", "");
  Run(mysql, {"A"});
  EXPECT_TRUE(std::filesystem::exists(output));
  EXPECT_EQ(ReadFileBytes(output), "");
  EXPECT_TRUE(starter.started.empty());  // no viewer configured
  EXPECT_GE(ui.elapsed, 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ScriptExportTest, ViewerCommandIsSplitAndThePathIsOneArgument) {
  settings.SetText("General", "ScriptFileReader", "kate --new");
  settings.SetText("Export", "OutputFile", folder.File("a file; with spaces.sql"));
  Run(mysql, {"E"});
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0], (std::vector<std::string>{"kate", "--new", folder.File("a file; with spaces.sql")}));
}

// The expected files were written by hand from the statement templates and literal rules; see
// golden/README.md for how each part was derived.
TEST(SampleDatabaseScriptTest, SqlServerScriptMatchesTheExpectedFiles) {
  const std::string sample = SampleDatabasePath();
  if (sample.empty()) GTEST_SKIP() << "QELVO_SAMPLE_DB is not set: build the sample_db target and run through ctest";
  TempFolder folder;
  SettingsStore settings = DefaultSettings();
  settings.SetText("Export", "AppendMode", "0");
  SQLServerScriptGenerator generator{settings};
  RecordingUi ui;
  RecordingStarter starter;
  const std::vector<std::string> tables = {"Categories", "Customers", "Products", "Orders", "Order Details", "Notes"};
  const std::string golden = QELVO_EXPORT_GOLDEN_DIR;

  settings.SetText("Export", "OutputFile", folder.File("structure.sql"));
  settings.SetText("Export", "ExportMode", "2");
  RunScriptExport(generator, SqliteConnectionString(sample), tables, std::nullopt, ui, settings, starter);
  EXPECT_EQ(ReadFileBytes(folder.File("structure.sql")), ReadFileBytes(golden + "/sqlserver_structure.sql"));

  settings.SetText("Export", "OutputFile", folder.File("data.sql"));
  settings.SetText("Export", "ExportMode", "3");
  RunScriptExport(generator, SqliteConnectionString(sample), tables, std::nullopt, ui, settings, starter);
  EXPECT_EQ(ReadFileBytes(folder.File("data.sql")), ReadFileBytes(golden + "/sqlserver_data.sql"));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ScriptExportTest, WriteFailureOnTheWayIsReported) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  settings.SetText("Export", "OutputFile", "/dev/full");
  settings.SetText("Export", "ExportMode", "1");
  Run(mysql, {"A", "B b"});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Unable to write to file \"/dev/full\"");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
}
}  // namespace

namespace {
// Progress reaches the window every few rows, and a stop leaves only whole statements and rows.
class StoppedExportTest : public testing::Test {
 protected:
  TempFolder folder;
  std::string db =
      MakeSqliteDatabase(folder, {"CREATE TABLE M (n INTEGER, t TEXT)", "CREATE TABLE Z (n INTEGER)",
                                  "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 1000) "
                                  "INSERT INTO M SELECT i, 'line' || char(10) || i FROM c"});
  std::string output = folder.File("out.sql");
  SettingsStore settings = DefaultSettings();
  RecordingUi ui;
  RecordingStarter starter;
};

TEST_F(StoppedExportTest, ScriptEndsAtTheLastWholeStatementAndNoViewerStarts) {
  settings.SetText("Export", "OutputFile", output);
  settings.SetText("Export", "AppendMode", "0");
  settings.SetText("Export", "ExportMode", "1");
  SQLServerScriptGenerator generator{settings};
  ui.stopAt = 200;
  RunScriptExport(generator, db, {"Z", "M"}, std::nullopt, ui, settings, starter);
  // Structure of each table, then the rows of M reported every 64 rows until the stop.
  EXPECT_EQ(ui.progress, (std::vector<std::string>{"Z:0", "M:0", "M:0", "M:64", "M:128", "M:192", "M:256"}));
  const std::string text = ReadFileBytes(output);
  EXPECT_EQ(Count(text, "INSERT INTO M (n,t) VALUES ("), 256);
  EXPECT_EQ(text.substr(text.size() - 4), ");\r\n") << text.substr(text.size() - 100);
  EXPECT_TRUE(starter.started.empty());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_NE(std::find(ui.calls.begin(), ui.calls.end(), "RecordCount:Canceled"), ui.calls.end());
  EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(StoppedExportTest, CsvEndsAtTheLastWholeRowWithoutAMessage) {
  DbConnection connection;
  connection.Open(db, "", "");
  DbRecordset rs;
  rs.Open(&connection, "SELECT * FROM M");
  ui.stopAt = 100;
  EXPECT_FALSE(WriteCsvFile(output, rs, ";", ui));
  const std::string text = ReadFileBytes(output);
  // The header and 128 rows of two lines each (a line feed inside each quoted text).
  EXPECT_EQ(Count(text, "\r\n"), 1 + 128);
  EXPECT_EQ(text.substr(text.size() - 6), "128\"\r\n");
  EXPECT_TRUE(ui.messages.empty());
}
}  // namespace
