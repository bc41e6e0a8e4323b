// What makes a generated script load on its target whatever the source held: names in the target's
// own quotes, nullability, keys the target can index, fractions of a second, decimal commas, and
// the MySQL column layout by characters.
#include <gtest/gtest.h>

#include "export/MysqlScriptGenerator.h"
#include "export/NameDelimiting.h"
#include "export/SQLServerScriptGenerator.h"
#include "export/TargetNames.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/GeneratorTestSupport.h"

using namespace ado;

namespace {
class TargetRulesTest : public testing::Test {
 protected:
  // The create statement GenerateStructure writes for one table of the test database.
  std::string Structure(const ScriptGenerator& g, const std::string& table) {
    DbConnection connection;
    connection.Open(db, "", "");
    std::ostringstream out;
    g.GenerateStructure(connection, DelimitTableName(table, settings), std::nullopt, false, out);
    connection.Close();
    return out.str();
  }

  TempFolder folder;
  std::string db = MakeSqliteDatabase(
      folder,
      {"CREATE TABLE Country (code TEXT PRIMARY KEY, name TEXT NOT NULL, note TEXT)",
       "INSERT INTO Country VALUES ('IT', 'Italia', NULL)", "INSERT INTO Country VALUES ('Zürich', 'CH', 'x')",
       "CREATE TABLE Empty (k TEXT PRIMARY KEY)", "CREATE TABLE Blobs (k BLOB PRIMARY KEY)",
       "INSERT INTO Blobs VALUES (X'0102030405')",
       "CREATE TABLE Times (id INTEGER PRIMARY KEY, whole DATETIME, part DATETIME)",
       "INSERT INTO Times VALUES (1, '2024-01-31 08:05:09', '2024-01-31 08:05:09.125')",
       "INSERT INTO Times VALUES (2, NULL, '2024-01-31 08:05:10')",
       "CREATE TABLE Money (m MONEY, d DECIMAL(10,2), t TEXT)", "INSERT INTO Money VALUES ('12,5', '3,25', '1,5')"});
  SettingsStore settings = DefaultSettings();
  MysqlScriptGenerator mysql{settings};
  SQLServerScriptGenerator sqlServer{settings};
};

TEST(TargetNamesTest, QuotedWhenTheTargetCouldNotReadThemBare) {
  EXPECT_EQ(TargetName("Orders", NameQuotes::Backquotes, false), "Orders");
  EXPECT_EQ(TargetName("Order Details", NameQuotes::Backquotes, false), "`Order Details`");
  EXPECT_EQ(TargetName("unit-price", NameQuotes::Brackets, false), "[unit-price]");
  EXPECT_EQ(TargetName("2nd", NameQuotes::Backquotes, false), "`2nd`");
  EXPECT_EQ(TargetName("Città", NameQuotes::Backquotes, false), "`Città`");
  EXPECT_EQ(TargetName("order", NameQuotes::Backquotes, false), "`order`");
  EXPECT_EQ(TargetName("Key", NameQuotes::Brackets, false), "[Key]");
  EXPECT_EQ(TargetName("user", NameQuotes::Brackets, false), "[user]");
  EXPECT_EQ(TargetName("plain", NameQuotes::Brackets, true), "[plain]");
  EXPECT_EQ(TargetName("a`b", NameQuotes::Backquotes, false), "`a``b`");
  EXPECT_EQ(TargetName("a]b", NameQuotes::Brackets, false), "[a]]b]");
  EXPECT_EQ(Utf8Length("Città"), 5u);
}

TEST_F(TargetRulesTest, EachTargetUsesItsOwnQuotesWhateverTheDelimiterSettings) {
  // The default delimiters are [ and ]: a MySQL script still writes backquotes.
  const std::vector<DbFieldInfo> fields = {Field("Unit Price", adInteger, 4, true), Field("order", adVarChar, 5)};
  const std::string create = CreateText(mysql, "[Order Details]", fields, true);
  EXPECT_NE(create.find("DROP TABLE IF EXISTS `Order Details`;"), std::string::npos) << create;
  EXPECT_NE(create.find("CREATE TABLE `Order Details` (\n    `Unit Price`         int NOT NULL,\n"
                        "    `order`              varchar(5) NULL,\n    PRIMARY KEY(`Unit Price`)"),
            std::string::npos)
      << create;
  EXPECT_EQ(create.find('['), std::string::npos) << create;

  // Backquote delimiters, as a MySQL user sets them: a SQL Server script still writes brackets.
  for (const char* key : {"TableNamePrefix", "TableNamePostfix", "FieldNamePrefix", "FieldNamePostfix"})
    settings.SetText("General", key, "`");
  const std::string db2 = MakeSqliteDatabase(
      folder, {"CREATE TABLE \"B b\" (\"x y\" INTEGER, n INTEGER)", "INSERT INTO \"B b\" VALUES (1, 2)"}, "b.db");
  const std::string rows = InsertText(sqlServer, db2, "`B b`", "SELECT * FROM `B b`", 0, true, true);
  EXPECT_EQ(rows, "DELETE FROM [B b];\nINSERT INTO [B b] ([x y],n) VALUES (1,2);\n\n");
  const std::string server = CreateText(sqlServer, "`B b`", {Field("x y", adInteger, 4)}, true);
  EXPECT_NE(server.find("CREATE TABLE [dbo].[B b] (\n\t[x y] [int] NULL ,"), std::string::npos) << server;
  EXPECT_EQ(server.find('`'), std::string::npos) << server;
  EXPECT_EQ(InsertText(mysql, db2, "`B b`", "SELECT * FROM `B b`"), "INSERT INTO `B b` (`x y`,n) VALUES (1,2);\n\n");
}

TEST_F(TargetRulesTest, SqlServerKeepsNotNullOffTheKey) {
  const std::string text =
      CreateText(sqlServer, "T",
                 {Field("k", adInteger, 4, true, false, false), Field("required", adVarChar, 10, false, false, false),
                  Field("optional", adVarChar, 10)},
                 false);
  EXPECT_NE(text.find("\t[k] [int] NOT NULL ,\n\t[required] [nvarchar] (10) NOT NULL ,\n"
                      "\t[optional] [nvarchar] (10) NULL ,\n"),
            std::string::npos)
      << text;
  // From a real table: the NOT NULL column stays so, the other one does not.
  const std::string country = Structure(sqlServer, "Country");
  EXPECT_NE(country.find("\t[name] [ntext] NOT NULL ,\n\t[note] [ntext] NULL ,"), std::string::npos) << country;
}

TEST_F(TargetRulesTest, UnboundedTextKeysGetALengthFromTheirValues) {
  // Zürich is the longest code: six characters (seven bytes).
  const std::string my = Structure(mysql, "Country");
  EXPECT_NE(my.find("    code                 varchar(6) NOT NULL,"), std::string::npos) << my;
  EXPECT_NE(my.find("    name                 mediumtext NOT NULL,"), std::string::npos) << my;
  EXPECT_NE(my.find("PRIMARY KEY(code)\n"), std::string::npos) << my;
  const std::string server = Structure(sqlServer, "Country");
  EXPECT_NE(server.find("\t[code] [nvarchar] (6) NOT NULL ,"), std::string::npos) << server;
  // No values: room for ordinary keys.
  EXPECT_NE(Structure(mysql, "Empty").find("    k                    varchar(255) NOT NULL,"), std::string::npos);
  const std::string blobs = Structure(mysql, "Blobs");
  EXPECT_NE(blobs.find("    k                    varbinary(5) NOT NULL,"), std::string::npos) << blobs;
  EXPECT_NE(Structure(sqlServer, "Blobs").find("\t[k] [varbinary] (5) NOT NULL ,"), std::string::npos);
}

TEST_F(TargetRulesTest, KeyLengthsAreReadEvenWhereTheSourceRefusesTheDelimitedColumnNames) {
  // SQLite reads neither <a b> nor the column list: the whole table is read instead.
  settings.SetText("General", "FieldNamePrefix", "<");
  settings.SetText("General", "FieldNamePostfix", ">");
  db =
      MakeSqliteDatabase(folder, {"CREATE TABLE K (\"a b\" TEXT PRIMARY KEY)", "INSERT INTO K VALUES ('xyz')"}, "k.db");
  const std::string text = Structure(mysql, "K");
  EXPECT_NE(text.find("    `a b`                varchar(3) NOT NULL,"), std::string::npos) << text;
}

TEST_F(TargetRulesTest, MysqlKeysLongerThanAnIndexTakeAPrefix) {
  const std::string one = CreateText(mysql, "T", {Field("k", adVarWChar, 1000, true)}, false);
  EXPECT_NE(one.find("    k                    varchar(1000) NOT NULL,\n    PRIMARY KEY(k(768))"), std::string::npos)
      << one;
  // Two long text columns and an integer share the 3072 bytes; a short one takes what it needs.
  const std::string three = CreateText(mysql, "T",
                                       {Field("a", adVarWChar, 2000, true), Field("n", adInteger, 4, true),
                                        Field("b", adVarWChar, 2000, true), Field("c", adVarWChar, 10, true)},
                                       false);
  EXPECT_NE(three.find("PRIMARY KEY(a(378),n,b(378),c)"), std::string::npos) << three;
  // A key of a type without a length always has one.
  EXPECT_NE(CreateText(mysql, "T", {Field("m", adLongVarChar, 0, true)}, false).find("PRIMARY KEY(m(768))"),
            std::string::npos);
  // A key the index holds whole keeps no prefix.
  EXPECT_NE(CreateText(mysql, "T", {Field("k", adVarWChar, 768, true)}, false).find("PRIMARY KEY(k)"),
            std::string::npos);
}

TEST_F(TargetRulesTest, FractionsOfASecondAreKept) {
  const std::string my = Structure(mysql, "Times");
  EXPECT_NE(my.find("    whole                datetime NULL,\n    part                 datetime(6) NULL"),
            std::string::npos)
      << my;
  const std::string server = Structure(sqlServer, "Times");
  EXPECT_NE(server.find("\t[whole] [datetime] NULL ,\n\t[part] [datetime2] (6) NULL ,"), std::string::npos) << server;
  // A source that reports its precision needs no reading of rows.
  DbFieldInfo ts = Field("ts", adDBTimeStamp, 16);
  ts.numericScale = 3;
  EXPECT_EQ(mysql.TranslateFieldType(ts), "datetime(3)");
  EXPECT_EQ(sqlServer.TranslateFieldType(ts) + sqlServer.TypeLength(ts), "datetime2 (3)");
  EXPECT_EQ(InsertText(mysql, db, "Times", "SELECT whole, part FROM Times"),
            "INSERT INTO Times (whole,part) VALUES ('2024-01-31 08:05:09','2024-01-31 08:05:09.125');\n"
            "INSERT INTO Times (whole,part) VALUES (NULL,'2024-01-31 08:05:10');\n\n");
}

TEST_F(TargetRulesTest, DecimalCommaTextsAreNumbersInNumericColumns) {
  // Money and decimal columns take 12.5 and 3.25; a text column keeps its text.
  EXPECT_EQ(InsertText(mysql, db, "Money", "SELECT * FROM Money"),
            "INSERT INTO Money (m,d,t) VALUES (12.5,3.25,'1,5');\n\n");
  EXPECT_EQ(InsertText(sqlServer, db, "Money", "SELECT * FROM Money"),
            "INSERT INTO Money (m,d,t) VALUES (12.5,3.25,'1,5');\n\n");
}

TEST_F(TargetRulesTest, MysqlNamesArePaddedByCharacters) {
  const std::string text = CreateText(mysql, "T", {Field("Città", adInteger, 4), Field("x", adInteger, 4)}, false);
  EXPECT_NE(text.find("    `Città`              int NULL,\n    x                    int NULL"), std::string::npos)
      << text;
}
}  // namespace
