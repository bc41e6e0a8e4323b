// Files named on the command line: a SQLite database becomes the connection with its first
// table's SELECT ready, a script goes into the query editor, and a file that cannot be read is
// reported while the editors keep what they held.
#include <QLabel>
#include <fstream>

#include "grid/db/DbGridCtrl.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/CommandLineFile.h"
#include "workspace/ui/QelvoView.h"

namespace e2e {
namespace {

class CommandLineFileTest : public ProgramTest {
 protected:
  void Write(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
  }
};

TEST_F(CommandLineFileTest, ADatabaseIsConnectedWithItsFirstTableReady) {
  const std::string db = data_.File("Atlas of places.db");
  MakeSqliteDatabase(db,
                     {"CREATE TABLE zones (id INTEGER)", "CREATE TABLE \"Place names\" (name TEXT)",
                      "INSERT INTO \"Place names\" VALUES ('Ålesund'), ('Zed''s')", "CREATE VIEW a_view AS SELECT 1"});
  Program& p = StartWithArguments({db});
  EXPECT_EQ(p.Workspace().ConnectionText(), "Provider=SQLite;Data Source=" + db);
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT * FROM \"Place names\"");
  EXPECT_EQ(p.Workspace().Label(CQelvoView::IDC_QUERY_LABEL)->text(), "Query *");
  // Ready, not run: Ctrl+Enter shows the rows.
  EXPECT_EQ(p.DataRowCount(), -1);
  p.PressExecute();
  EXPECT_EQ(p.DataRowCount(), 2);
  EXPECT_TRUE(prompts_->Messages().empty());
}

TEST_F(CommandLineFileTest, AScriptGoesIntoTheQueryEditorAfterTheDatabase) {
  const std::string db = data_.File("shop.sqlite");
  MakeSqliteDatabase(db, {"CREATE TABLE Items (Name TEXT)"});
  const std::string script = data_.File("report.sql");
  Write(script, "SELECT Name\nFROM Items\n");
  Program& p = StartWithArguments({db, script});
  EXPECT_EQ(p.Workspace().ConnectionText(), "Provider=SQLite;Data Source=" + db);
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT Name\nFROM Items\n");
}

TEST_F(CommandLineFileTest, UnreadableFilesAreReportedAndLoseNothing) {
  Program& first = Start();
  first.TypeQuery("SELECT 'kept'");
  Stop();
  const std::string broken = data_.File("broken.db");
  Write(broken, std::string("SQLite format 3\0", 16) + std::string(200, '\x7f'));
  const std::string missing = data_.File("missing.sql");
  Program& p = StartWithArguments({broken, missing});
  ASSERT_EQ(prompts_->Messages().size(), 2u);
  EXPECT_EQ(prompts_->Messages()[0].text.rfind("Unable to open database \"" + broken + "\": ", 0), 0u)
      << prompts_->Messages()[0].text;
  EXPECT_EQ(prompts_->Messages()[1].text, "Unable to read file \"" + missing + "\"");
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT 'kept'");
}

TEST(CommandLineFile, KnowsADatabaseByItsHeaderOrAnEmptyFileByItsName) {
  TempFolder folder;
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(folder.File(name), std::ios::binary) << bytes;
    return folder.File(name);
  };
  EXPECT_TRUE(IsSqliteDatabaseFile(write("data.bin", std::string("SQLite format 3\0", 16) + "rest")));
  EXPECT_FALSE(IsSqliteDatabaseFile(write("x.db", "SELECT 1")));
  EXPECT_TRUE(IsSqliteDatabaseFile(write("empty.SQLite3", "")));
  EXPECT_FALSE(IsSqliteDatabaseFile(write("empty.sql", "")));
  EXPECT_EQ(FirstTableQuery(folder.File("empty.SQLite3")), std::nullopt);
  const std::string db = folder.File("t.db");
  MakeSqliteDatabase(db, {"CREATE TABLE b (x)", "CREATE TABLE \"A\"\"q\" (x)", "CREATE TABLE c_1 (x)"});
  EXPECT_EQ(FirstTableQuery(db), "SELECT * FROM \"A\"\"q\"");
}

}  // namespace
}  // namespace e2e
