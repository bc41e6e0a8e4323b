// The filter-row toggle only lays the result out again: it never runs the request a second time,
// so an INSERT or a batch is not repeated; the record pane under a filter and after a statement
// without rows. On a SQLite file, and on PostgreSQL and MariaDB (the
// database e2edb of the servers named by QELVO_TEST_PG / QELVO_TEST_MARIADB).
#include <cstdlib>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/ado/ConnectionString.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/FirstStart.h"

namespace e2e {
namespace {

struct Backend {
  std::string name;
  std::string serverVariable;  // empty for SQLite
};

void PrintTo(const Backend& backend, std::ostream* os) {
  *os << backend.name;
}

std::vector<Backend> Backends() {
  std::vector<Backend> list{{"SQLite", ""}};
  for (const Backend& server : {Backend{"PostgreSQL", "QELVO_TEST_PG"}, Backend{"MariaDB", "QELVO_TEST_MARIADB"}})
    if (const char* text = std::getenv(server.serverVariable.c_str()); text && *text) list.push_back(server);
  return list;
}

class FilterToggleTest : public ProgramTest, public testing::WithParamInterface<Backend> {
 protected:
  static constexpr const char* kTable = "e2e_toggle";
  // Without a key, so that a statement run again adds its row again.
  static constexpr const char* kLog = "e2e_toggle_log";

  void SetUp() override {
    ProgramTest::SetUp();
    if (GetParam().serverVariable.empty()) {
      MakeSqliteDatabase(data_.File("toggle.db"), {"PRAGMA user_version = 1"});
      connection_ = SqliteConnectionString(data_.File("toggle.db"));
    } else {
      ado::ConnectionString server = ado::ConnectionString::Parse(std::getenv(GetParam().serverVariable.c_str()));
      server.Set("DATABASE", "e2edb");
      connection_ = server.ToOdbcString();
    }
    Run({std::string("DROP TABLE IF EXISTS ") + kTable, std::string("DROP TABLE IF EXISTS ") + kLog,
         std::string("CREATE TABLE ") + kLog + " (name VARCHAR(20))",
         std::string("CREATE TABLE ") + kTable + " (id INTEGER PRIMARY KEY, name VARCHAR(20))",
         std::string("INSERT INTO ") + kTable + " VALUES (1, 'Apple')",
         std::string("INSERT INTO ") + kTable + " VALUES (2, 'Banana')"});
  }

  void TearDown() override {
    ProgramTest::TearDown();
    if (!GetParam().serverVariable.empty())
      Run({std::string("DROP TABLE IF EXISTS ") + kTable, std::string("DROP TABLE IF EXISTS ") + kLog});
  }

  // Statements behind the program's back.
  void Run(const std::vector<std::string>& statements) {
    DbConnection db;
    db.Open(connection_, "", "");
    for (const std::string& statement : statements) db.Execute(statement);
    db.Close();
  }

  long RowsIn(const char* table) {
    DbConnection db;
    db.Open(connection_, "", "");
    DbRecordset count;
    count.Open(&db, std::string("SELECT COUNT(*) FROM ") + table);
    const long n = std::stol(count.GetFieldValueIdx(0));
    count.Close();
    db.Close();
    return n;
  }

  Program& StartWith(const std::string& query) {
    Program& p = Start();
    p.TypeConnection(connection_);
    p.TypeQuery(query);
    return p;
  }

  std::string connection_;
};

TEST_P(FilterToggleTest, TheRecordPaneShowsRowsUnderAFilterAndRowsAStatementChanged) {
  Program& p = StartWith(std::string("INSERT INTO ") + kLog + " VALUES ('Cherry')");
  p.PressExecute();
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "1 row affected");
  p.TypeQuery(std::string("UPDATE ") + kTable + " SET name = name");
  p.PressExecute();
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "2 rows affected");
  p.TypeQuery(std::string("DELETE FROM ") + kLog + " WHERE name = 'none'");
  p.PressExecute();
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "0 rows affected");
  p.TypeQuery("SELECT * FROM nowhere_at_all");
  prompts_->AnswerMessage(IDOK);
  p.PressExecute();
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "") << "a failed statement changed nothing that can be counted";

  p.TypeQuery(std::string("SELECT id, name FROM ") + kTable + " ORDER BY id");
  p.PressExecute();
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "2");
  p.TypeFilter(2, "B");
  ASSERT_EQ(p.Column(2), std::vector<std::string>{"Banana"});
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "1 of 2");
  // The same run again brings the filter back, and the pane says so.
  p.PressExecute();
  ASSERT_EQ(p.Column(2), std::vector<std::string>{"Banana"});
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "1 of 2");
  p.TypeFilter(2, "");
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "2");
}

TEST_P(FilterToggleTest, ASingleInsertRunsOnceWhateverTheToggles) {
  Program& p = StartWith(std::string("INSERT INTO ") + kLog + " VALUES ('Cherry')");
  p.PressExecute();
  ASSERT_EQ(RowsIn(kLog), 1);
  p.RunCommand(ID_FILTER_ROW);
  p.RunCommand(ID_FILTER_ROW);
  p.RunCommand(ID_FILTER_ROW);
  EXPECT_EQ(RowsIn(kLog), 1);
  EXPECT_FALSE(AppSettings().GetBool("Grid", "UseFilters"));
  EXPECT_EQ(p.CheckOf(ID_FILTER_ROW), 0);
}

TEST_P(FilterToggleTest, ABatchIsNeitherAskedForNorRunAgain) {
  Program& p = StartWith(std::string("INSERT INTO ") + kTable + " VALUES (3, 'Cherry');\nSELECT name FROM " + kTable +
                         " ORDER BY id;");
  prompts_->AnswerMessage(IDYES);
  p.PressExecute();
  ASSERT_EQ(prompts_->Messages().size(), 1u);
  ASSERT_EQ(p.Column(1), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  ASSERT_EQ(p.Grid().GetFilterRow(), 1);

  p.RunCommand(ID_FILTER_ROW);
  EXPECT_EQ(p.Grid().GetFilterRow(), -2);
  EXPECT_EQ(p.Grid().GetFirstDataRow(), 1);
  EXPECT_EQ(p.Column(1), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  p.RunCommand(ID_FILTER_ROW);
  EXPECT_EQ(p.Grid().GetFilterRow(), 1);
  EXPECT_EQ(p.Column(1), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
  EXPECT_EQ(prompts_->Messages().size(), 1u) << "the batch was confirmed again";
  EXPECT_EQ(RowsIn(kTable), 3);
}

TEST_P(FilterToggleTest, AResultIsLaidOutAgainFromTheRowsAlreadyFetched) {
  Program& p = StartWith(std::string("SELECT id, name FROM ") + kTable + " ORDER BY id");
  p.PressExecute();
  ASSERT_EQ(p.Column(2), (std::vector<std::string>{"Apple", "Banana"}));
  p.TypeFilter(2, "B");
  ASSERT_EQ(p.Column(2), std::vector<std::string>{"Banana"});

  // The toggle asks the database nothing: a row added meanwhile appears at the next run only.
  Run({std::string("INSERT INTO ") + kTable + " VALUES (3, 'Cherry')"});
  p.RunCommand(ID_FILTER_ROW);
  EXPECT_EQ(p.Grid().GetFilterRow(), -2);
  // Without a filter row no filter stays applied.
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"Apple", "Banana"}));
  p.RunCommand(ID_FILTER_ROW);
  EXPECT_EQ(p.Grid().GetFilterRow(), 1);
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"Apple", "Banana"}));
  EXPECT_TRUE(prompts_->Messages().empty());

  p.PressExecute();
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
}

INSTANTIATE_TEST_SUITE_P(Databases, FilterToggleTest, testing::ValuesIn(Backends()),
                         [](const testing::TestParamInfo<Backend>& info) { return info.param.name; });

}  // namespace
}  // namespace e2e
