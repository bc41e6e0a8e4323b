// The connection, holder, recordset and field-description wrappers, on every database.
#include <gtest/gtest.h>

#include "data/DbConnection.h"
#include "data/DbConnectionHolder.h"
#include "data/DbFieldInfo.h"
#include "data/DbRecordset.h"
#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "tests/ComErrorOf.h"
#include "tests/data/ado/TraceRecorder.h"
#include "tests/support/data/TestDatabases.h"

namespace {

class DbLayer : public testing::TestWithParam<TestDatabase> {
 protected:
  void SetUp() override {
    db_ = std::make_unique<FreshDatabase>(GetParam());
    const TestDatabase& p = GetParam();
    db_->Run({"CREATE TABLE qt_people (id " + p.autoIncrementKey +
                  ", name VARCHAR(10), qty INTEGER, notes TEXT, code VARCHAR(10000))",
              "INSERT INTO qt_people (name, qty, notes) VALUES ('Ann', 1, 'x')",
              "INSERT INTO qt_people (name, qty, notes) VALUES ('Bob', NULL, NULL)",
              "INSERT INTO qt_people (name, qty, notes) VALUES ('Cid', 3, 'z')",
              "CREATE TABLE qt_nokey (a INTEGER, b VARCHAR(10))", "INSERT INTO qt_nokey VALUES (1, 'one')"});
    connection_.Open(db_->ConnectionString(), "", "");
    RecordsetCursorLocation = 3;
  }
  void TearDown() override { RecordsetCursorLocation = 3; }

  std::unique_ptr<FreshDatabase> db_;
  DbConnection connection_;
};

TEST_P(DbLayer, QuerySingleFieldReadsTheFirstValueAndNeverRaises) {
  EXPECT_EQ(connection_.QuerySingleField("SELECT name FROM qt_people ORDER BY id"), "Ann");
  EXPECT_EQ(connection_.QuerySingleField("SELECT qty FROM qt_people WHERE name = 'Cid'"), "3");
  EXPECT_EQ(connection_.QuerySingleField("SELECT qty FROM qt_people WHERE name = 'Bob'"), "");
  EXPECT_EQ(connection_.QuerySingleField(nullptr), "");
  TraceRecorder trace;
  EXPECT_EQ(connection_.QuerySingleField("SELECT name FROM qt_people WHERE 1 = 0"), "");
  EXPECT_TRUE(trace.Has("W|DbConnection::QuerySingleField(...) : no records available"));
  EXPECT_EQ(connection_.QuerySingleField("SELECT nothing FROM qt_nowhere"), "");
  EXPECT_TRUE(trace.Has("E|DbConnection::QuerySingleField(\"SELECT nothing FROM qt_nowhere\") : ")) << trace.All();
}

TEST_P(DbLayer, ExecuteTracesTheQueryAndItsTime) {
  TraceRecorder trace;
  connection_.Execute("UPDATE qt_people SET qty = 5 WHERE name = 'Ann'");
  ASSERT_GE(trace.Lines().size(), 2u);
  EXPECT_EQ(trace.Lines()[0], "Q|UPDATE qt_people SET qty = 5 WHERE name = 'Ann'");
  EXPECT_EQ(trace.Lines()[1].rfind(" |qry time = ", 0), 0u);
  EXPECT_COM_ERROR(connection_.Execute("UPDATE qt_nowhere SET x = 1"), ado::DB_E_ERRORSINCOMMAND);
  EXPECT_TRUE(trace.Has("E|DbConnection::Execute() : "));
}

TEST_P(DbLayer, EnumTablesHonoursTheMask) {
  db_->Run({"CREATE VIEW qv_people AS SELECT name FROM qt_people"});
  std::vector<std::pair<std::string, int>> all;
  ASSERT_TRUE(connection_.EnumTables(all, 1 | 4));
  bool table = false, view = false;
  for (auto& [name, kind] : all) {
    if (name == "qt_people") table = kind == 1;
    if (name == "qv_people") view = kind == 4;
  }
  EXPECT_TRUE(table && view);
  std::vector<std::string> tables;
  ASSERT_TRUE(connection_.EnumTables(tables, 1));
  EXPECT_EQ(std::count(tables.begin(), tables.end(), "qv_people"), 0);
  EXPECT_EQ(std::count(tables.begin(), tables.end(), "qt_people"), 1);
  connection_.Close();
  EXPECT_FALSE(connection_.EnumTables(tables, 1));
  EXPECT_TRUE(tables.empty());
}

TEST_P(DbLayer, EnumTableFieldsListsColumnsInOrder) {
  std::vector<std::string> fields;
  ASSERT_TRUE(connection_.EnumTableFields("QT_PEOPLE", fields));
  EXPECT_EQ(fields, (std::vector<std::string>{"id", "name", "qty", "notes", "code"}));
  EXPECT_FALSE(connection_.EnumTableFields("qt_nowhere", fields));
  EXPECT_TRUE(fields.empty());
}

TEST_P(DbLayer, RecordCountAndMovesFollowTheCursorLocation) {
  for (int location : {3, 2}) {
    RecordsetCursorLocation = location;
    DbRecordset rs;
    rs.Open(&connection_, "SELECT id, name, qty FROM qt_people ORDER BY id");
    TraceRecorder trace;
    EXPECT_EQ(rs.GetRecordCount(), 3);
    EXPECT_EQ(trace.Has("W|Performance warning : using DbRecordset::SlowRecordCount(), elapsed time = "),
              location == 2);
    EXPECT_EQ(rs.GetFieldValueIdx(1), "Ann");
    EXPECT_TRUE(rs.MoveRecordRel(0));
    EXPECT_TRUE(rs.MoveRecordRel(2));
    EXPECT_EQ(rs.GetFieldValueIdx(1), "Cid");
    EXPECT_FALSE(rs.MoveRecordRel(1));
    EXPECT_TRUE(trace.Has("E|DbRecordset::MoveRecordRel(1) failed"));
    rs.MoveFirst();
    rs.MoveNext();
    EXPECT_EQ(rs.GetFieldValueIdx(2), "") << "a NULL reads as empty text";
    rs.Close();
  }
}

TEST_P(DbLayer, AFailedReadTracesTheReaderThatFailed) {
  DbRecordset rs;
  rs.Open(&connection_, "SELECT id, name FROM qt_people ORDER BY id");
  TraceRecorder trace;
  EXPECT_THROW(rs.GetFieldViewIdx(7), ado::ComError);
  EXPECT_TRUE(trace.Has("E|DbRecordset::GetFieldViewIdx(7) : ")) << trace.All();
  EXPECT_FALSE(trace.Has("GetFieldVariantIdx")) << trace.All();
  trace.Clear();
  EXPECT_THROW(rs.GetFieldValueIdx(7), ado::ComError);
  EXPECT_TRUE(trace.Has("E|DbRecordset::GetFieldVariantIdx(7) : ")) << trace.All();
  EXPECT_TRUE(trace.Has("E|DbRecordset::GetFieldValueIdx(7) : ")) << trace.All();
  rs.Close();
}

TEST_P(DbLayer, TextValuesAreCutOnlyWhereTheFieldSaysAndLongTextGoesInChunks) {
  DbRecordset rs;
  rs.Open(&connection_, "SELECT id, name, notes, code FROM qt_people ORDER BY id");
  TraceRecorder trace;
  rs.SetFieldValue("name", std::string("abcdefghijklmnopqrst"));
  std::string longText(8193, 'q');
  rs.SetFieldValue("notes", longText);
  EXPECT_TRUE(trace.Has("DbRecordset::SetFieldValueEx(\"notes\")"));
  trace.Clear();
  std::string medium(9000, 'm');
  rs.SetFieldValue("code", medium);
  EXPECT_FALSE(trace.Has("SetFieldValueEx")) << "a field that is not long takes the text as one value";
  rs.Update();
  rs.Close();
  EXPECT_EQ(connection_.QuerySingleField("SELECT name FROM qt_people WHERE notes IS NOT NULL ORDER BY id"),
            "abcdefghij");
  EXPECT_EQ(connection_.QuerySingleField("SELECT notes FROM qt_people ORDER BY id"), longText);
  EXPECT_EQ(connection_.QuerySingleField("SELECT code FROM qt_people ORDER BY id"), medium);
}

TEST_P(DbLayer, SortAndFilterMoveToTheFirstRecord) {
  DbRecordset rs;
  rs.Open(&connection_, "SELECT id, name, qty FROM qt_people");
  rs.Sort("[name] DESC");
  EXPECT_EQ(rs.GetFieldValueIdx(1), "Cid");
  rs.Filter("qty = 1");
  EXPECT_EQ(rs.GetRecordCount(), 1);
  EXPECT_EQ(rs.GetFieldValueIdx(1), "Ann");
  TraceRecorder trace;
  EXPECT_COM_ERROR(rs.Filter("qty = 'many'"), ado::adErrInvalidArgument);
  EXPECT_TRUE(trace.Has("E|DbRecordset::Filter(\"qty = 'many'\") : "));
  EXPECT_EQ(rs.GetRecordCount(), 1) << "a rejected filter keeps the previous one";
  rs.Filter(nullptr);
  EXPECT_EQ(rs.GetRecordCount(), 3);
}

TEST_P(DbLayer, FieldInfoDescribesEveryField) {
  DbRecordset rs;
  rs.Open(&connection_, "SELECT id, name, qty * 2 AS twice FROM qt_people");
  std::vector<DbFieldInfo> fields;
  ASSERT_TRUE(rs.GetFieldsInfo(fields));
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[0].name, "id");
  EXPECT_TRUE(fields[0].isKeyColumn);
  EXPECT_TRUE(fields[0].isAutoIncrement);
  EXPECT_EQ(fields[0].baseTableName, "qt_people");
  EXPECT_EQ(fields[1].baseColumnName, "name");
  EXPECT_TRUE(fields[1].isNullable);
  EXPECT_NE(fields[1].attributes.find(" adFldIsNullable"), std::string::npos);
  EXPECT_EQ(fields[1].definedSize, 10);
  EXPECT_EQ(fields[2].baseTableName, "NULL") << "a computed column has no base table";
  DbFieldInfo info;
  EXPECT_FALSE(rs.GetFieldInfo("nosuch", info));
  EXPECT_TRUE(info.name.empty());
  EXPECT_TRUE(rs.GetFieldInfoIdx(1, info));
  EXPECT_EQ(info.name, "name");
}

TEST_P(DbLayer, DuplicateRecordCopiesAllButTheAutoIncrementColumn) {
  DbRecordset rs;
  rs.Open(&connection_, "SELECT id, name, qty FROM qt_people ORDER BY id");
  long id = rs.DuplicateRecord();
  EXPECT_EQ(id, 4);
  EXPECT_EQ(connection_.QuerySingleField("SELECT COUNT(*) FROM qt_people WHERE name = 'Ann'"), "2");
  rs.Close();
  DbRecordset plain;
  plain.Open(&connection_, "SELECT a, b FROM qt_nokey");
  EXPECT_EQ(plain.DuplicateRecord(), -1);
  EXPECT_EQ(connection_.QuerySingleField("SELECT COUNT(*) FROM qt_nokey WHERE b = 'one'"), "2");
}

INSTANTIATE_TEST_SUITE_P(Databases, DbLayer, testing::ValuesIn(TestDatabases()), TestDatabaseName);

// ---- Without a server: connection-string rules, the trace, the holder ----------------------

std::string SqliteFile(const std::string& folder) {
  return "Provider=SQLite;Data Source=" + folder + "/h.db;Create=True";
}

TEST(DbConnectionKind, IsReadFromTheConnectionString) {
  auto kindOf = [](const std::string& text) {
    DbConnection c;
    try {
      c.Open(text, "", "");
    } catch (const ado::ComError&) {
    }
    return c.GetDatabaseKind();
  };
  EXPECT_EQ(kindOf("Provider=Nowhere;DBQ=x.mdb;Server=MySql"), DatabaseKind::MySql);
  EXPECT_EQ(kindOf("Provider=Nowhere;DBQ=x.mdb"), DatabaseKind::Jet);
  EXPECT_EQ(kindOf("Provider=Nowhere;DRIVER={PostgreSQL Unicode}"), DatabaseKind::PostgreSql);
  EXPECT_EQ(kindOf("Provider=Nowhere;driver={postgresql Unicode}"), DatabaseKind::Other);
  // The native MariaDB provider, whichever way its name is written.
  EXPECT_EQ(kindOf("Provider=MariaDB;Host=127.0.0.1;Port=1"), DatabaseKind::MySql);
  EXPECT_EQ(kindOf("provider=mysql;Host=127.0.0.1;Port=1"), DatabaseKind::MySql);
  EXPECT_EQ(kindOf("Provider=MariaDBX;Host=x"), DatabaseKind::Other);
  // The native provider, whatever its server is called.
  EXPECT_EQ(kindOf("Provider=postgresql;Host=mysql-host;Port=1"), DatabaseKind::PostgreSql);
}

TEST(DbConnectionTrace, PasswordsNeverReachTheTrace) {
  std::string folder = MakeTemporaryFolder();
  {
    TraceRecorder trace;
    DbConnection c;
    c.Open(SqliteFile(folder) + ";Password=topsecret", "user", "pw123");
    c.ReOpen();
    c.Close();
    std::string all = trace.All();
    EXPECT_EQ(all.find("topsecret"), std::string::npos) << all;
    EXPECT_EQ(all.find("pw123"), std::string::npos) << all;
    EXPECT_NE(all.find("\"user\",\"***\""), std::string::npos) << all;
    EXPECT_NE(all.find("Password=***"), std::string::npos) << all;
  }
  RemoveFolder(folder);
}

TEST(DbConnectionTrace, OpenOnAnOpenConnectionClosesItFirst) {
  std::string folder = MakeTemporaryFolder();
  {
    DbConnection c;
    c.Open(SqliteFile(folder), "", "");
    TraceRecorder trace;
    c.Open(SqliteFile(folder), "", "");
    EXPECT_TRUE(c.IsOpen());
    EXPECT_TRUE(trace.Has("W|DbConnection::OpenEx() : current connection forcibly closed"));
  }
  RemoveFolder(folder);
}

namespace {
int boxes = 0;
std::string lastBoxText;
void RecordBox(const std::string& text, const std::string& caption) {
  ++boxes;
  lastBoxText = text + "|" + caption;
}
}  // namespace

TEST(DbConnectionHolderTest, OpensOncePerConnectionStringAndReopensOnChange) {
  std::string folder = MakeTemporaryFolder();
  bool wasPrivate = PrivateConnections;
  PrivateConnections = true;
  {
    DbConnectionHolder holder;
    TraceRecorder trace;
    CurrentConnectionString = SqliteFile(folder);
    DbConnection* first = holder.GetConnection();
    EXPECT_TRUE(first->IsOpen());
    holder.GetConnection();
    EXPECT_EQ(trace.Count("|DbConnection::Open(\""), 1);
    CurrentConnectionString = "Provider=SQLite;Data Source=" + folder + "/other.db;Create=True";
    DbConnection* second = holder.GetConnection();
    EXPECT_TRUE(second->IsOpen());
    EXPECT_EQ(trace.Count("|DbConnection::Open(\""), 2);
  }
  PrivateConnections = wasPrivate;
  CurrentConnectionString.clear();
  RemoveFolder(folder);
}

TEST(DbConnectionHolderTest, TwoFailedOpensReachTheCallerThenNoMoreTries) {
  bool wasPrivate = PrivateConnections;
  PrivateConnections = true;
  SetOpenErrorBox(RecordBox);
  boxes = 0;
  {
    DbConnectionHolder holder;
    CurrentConnectionString = "Provider=SQLite;Data Source=/no/such/folder/x.db";
    TraceRecorder trace;
    EXPECT_COM_ERROR(holder.GetConnection(), ado::E_FAIL);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(lastBoxText, "Errore nell'apertura del database|DbConnection");
    EXPECT_EQ(trace.Count("|DbConnection::Open(\""), 2);
    DbConnection* again = holder.GetConnection();
    EXPECT_FALSE(again->IsOpen());
    EXPECT_EQ(trace.Count("|DbConnection::Open(\""), 2) << "the opened flag stays set";
  }
  SetOpenErrorBox(nullptr);
  PrivateConnections = wasPrivate;
  CurrentConnectionString.clear();
}

}  // namespace
