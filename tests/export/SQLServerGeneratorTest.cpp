// The SQL Server generator: its type table, every statement text, and the literals that SQL Server
// reads back as the same values.
#include <gtest/gtest.h>

#include "export/SQLServerScriptGenerator.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/GeneratorTestSupport.h"

using namespace ado;

namespace {
const std::string kDropT =
    "if exists (select * from sysobjects where id = object_id(N'[dbo].[T]') and OBJECTPROPERTY(id, "
    "N'IsUserTable') = 1)\ndrop table [dbo].[T]\n;\n\n";

class SQLServerGeneratorTest : public testing::Test {
 protected:
  SettingsStore settings = DefaultSettings();
  SQLServerScriptGenerator generator{settings};
};

TEST_F(SQLServerGeneratorTest, CreateTableOfThreeTypedColumns) {
  const std::vector<DbFieldInfo> fields = {Field("a", adInteger, 4, true, true, false), Field("b", adVarChar, 50),
                                           Field("c", adDouble, 8)};
  EXPECT_EQ(CreateText(generator, "T", fields, true), kDropT +
                                                          "CREATE TABLE [dbo].[T] (\n"
                                                          "\t[a] [int] IDENTITY (1, 1) NOT NULL ,\n"
                                                          "\t[b] [nvarchar] (50) NULL ,\n"
                                                          "\t[c] [float] NULL ,\n"
                                                          ") ON [PRIMARY]\n;\n"
                                                          "\nALTER TABLE [dbo].[T] WITH NOCHECK ADD\r\n"
                                                          "\tCONSTRAINT [DF_T_c] DEFAULT (0) FOR [c],\n"
                                                          "\tCONSTRAINT [PK_T] PRIMARY KEY  NONCLUSTERED\r\n\t(\n"
                                                          "\t\t[a]\n"
                                                          "\t)  ON [PRIMARY]\n"
                                                          ";\n\n\n");
}

TEST_F(SQLServerGeneratorTest, AlterTableOnlyWhenThereAreDefaultsOrKeys) {
  EXPECT_EQ(CreateText(generator, "T", {Field("s", adVarChar, 10), Field("d", adDBTimeStamp, 16)}, false),
            "CREATE TABLE [dbo].[T] (\n\t[s] [nvarchar] (10) NULL ,\n\t[d] [datetime] NULL ,\n) ON [PRIMARY]\n;\n\n");
  // Defaults without a key: commas between the constraints only, so that the statement parses.
  EXPECT_EQ(CreateText(generator, "T", {Field("x", adInteger, 4), Field("s", adVarChar, 10), Field("y", adSmallInt, 2)},
                       false),
            "CREATE TABLE [dbo].[T] (\n\t[x] [int] NULL ,\n\t[s] [nvarchar] (10) NULL ,\n\t[y] [smallint] NULL ,\n"
            ") ON [PRIMARY]\n;\n"
            "\nALTER TABLE [dbo].[T] WITH NOCHECK ADD\r\n"
            "\tCONSTRAINT [DF_T_x] DEFAULT (0) FOR [x],\n"
            "\tCONSTRAINT [DF_T_y] DEFAULT (0) FOR [y]\n"
            ";\n\n\n");
  // A text key: NOT NULL and in the primary key, no default; two key columns separated by a comma.
  EXPECT_EQ(CreateText(generator, "T", {Field("k", adVarChar, 5, true), Field("n", adInteger, 4, true)}, false),
            "CREATE TABLE [dbo].[T] (\n\t[k] [nvarchar] (5) NOT NULL ,\n\t[n] [int] NOT NULL ,\n) ON [PRIMARY]\n;\n"
            "\nALTER TABLE [dbo].[T] WITH NOCHECK ADD\r\n"
            "\tCONSTRAINT [DF_T_n] DEFAULT (0) FOR [n],\n"
            "\tCONSTRAINT [PK_T] PRIMARY KEY  NONCLUSTERED\r\n\t(\n\t\t[k],\n\t\t[n]\n\t)  ON [PRIMARY]\n;\n\n\n");
}

TEST_F(SQLServerGeneratorTest, NamesInsideTheTemplatesBracketsAreBare) {
  const std::string text = CreateText(generator, "[Order Details]",
                                      {Field("Unit Price", adInteger, 4, true), Field("a]b", adInteger, 4)}, true);
  EXPECT_NE(text.find("object_id(N'[dbo].[Order Details]')"), std::string::npos) << text;
  EXPECT_NE(text.find("drop table [dbo].[Order Details]\n"), std::string::npos);
  EXPECT_NE(text.find("CREATE TABLE [dbo].[Order Details] (\n\t[Unit Price] [int] NOT NULL ,\n\t[a]]b] [int] NULL ,"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("CONSTRAINT [DF_Order Details_Unit Price] DEFAULT (0) FOR [Unit Price],"), std::string::npos);
  EXPECT_NE(text.find("CONSTRAINT [PK_Order Details] PRIMARY KEY"), std::string::npos);
  // A quote in the name cannot end the object_id literal early.
  EXPECT_NE(generator.DropTableStatement("Zed's").find("object_id(N'[dbo].[Zed''s]')"), std::string::npos);
  EXPECT_NE(generator.DropTableStatement("Zed's").find("drop table [dbo].[Zed's]"), std::string::npos);
}

TEST_F(SQLServerGeneratorTest, TypeTableHoldsEveryValue) {
  struct Case {
    DbFieldInfo field;
    std::string definition;
  };
  const std::vector<Case> cases = {
      {Field("v", adTinyInt, 1), "[smallint]"},
      {Field("v", adUnsignedTinyInt, 1), "[tinyint]"},
      {Field("v", adUnsignedSmallInt, 2), "[int]"},
      {Field("v", adUnsignedInt, 4), "[bigint]"},
      {Field("v", adUnsignedBigInt, 8), "[decimal] (20, 0)"},
      {Field("v", adBigInt, 8), "[bigint]"},
      {Field("v", adSingle, 4), "[real]"},
      {Field("v", adCurrency, 8), "[money]"},
      {DecimalField("v", adDecimal, 10, 2), "[decimal] (10, 2)"},
      {DecimalField("v", adNumeric, 38, 10), "[numeric] (38, 10)"},
      {DecimalField("v", adNumeric, 0, 0), "[numeric] (38, 0)"},
      {Field("v", adBoolean, 2), "[tinyint]"},
      {Field("v", adDBDate, 6), "[datetime]"},
      {Field("v", adDBTime, 6), "[datetime]"},
      {Field("v", adChar, 10), "[char] (10)"},
      {Field("v", adChar, 9000), "[varchar] (max)"},
      {Field("v", adVarChar, 4000), "[nvarchar] (4000)"},
      {Field("v", adVarChar, 4001), "[nvarchar] (max)"},
      {Field("v", adVarWChar, 30), "[nvarchar] (30)"},
      {Field("v", adLongVarChar, 2147483647), "[ntext]"},
      {Field("v", adLongVarWChar, 2147483647), "[ntext]"},
      {Field("v", adBinary, 16), "[binary] (16)"},
      {Field("v", adVarBinary, 100), "[varbinary] (100)"},
      {Field("v", adVarBinary, 100000), "[varbinary] (max)"},
      {Field("v", adLongVarBinary, 2147483647), "[varbinary] (max)"},
      {Field("v", adFileTime, 8), "[datetime]"},
  };
  for (const Case& c : cases) {
    const std::string text = CreateText(generator, "T", {c.field}, false);
    EXPECT_NE(text.find("\t[v] " + c.definition + " NULL ,\n"), std::string::npos)
        << DataTypeName(c.field.type) << ": " << text;
  }
}

TEST_F(SQLServerGeneratorTest, TypesWithoutTranslationLeavePlaceholderAndWarning) {
  TraceCapture trace;
  EXPECT_EQ(generator.TranslateFieldType(Field("w", adWChar, 10)), "***adWChar***");
  EXPECT_TRUE(trace.Has("W|SQLServerScriptGenerator::TranslateFieldType() : unknown type \"adWChar\" for field \"w\""));
  EXPECT_EQ(generator.TranslateFieldType(Field("g", adGUID, 16)), "***adGUID***");
  EXPECT_EQ(generator.TranslateFieldType(Field("q", 999)), "???");
  EXPECT_EQ(CreateText(generator, "T", {Field("w", adWChar, 10)}, false),
            "CREATE TABLE [dbo].[T] (\n\t[w] [***adWChar***] NULL ,\n) ON [PRIMARY]\n;\n\n");
}

class SQLServerInsertTest : public SQLServerGeneratorTest {
 protected:
  TempFolder folder;
  std::string db = MakeSqliteDatabase(
      folder,
      {"CREATE TABLE T (a INTEGER PRIMARY KEY AUTOINCREMENT, s VARCHAR(100), n NUMERIC(10,2), b BOOLEAN, "
       "d DATETIME, r DOUBLE, i BIGINT, m MONEY, x BLOB)",
       "INSERT INTO T (s, n, b, d, r, i, m, x) VALUES ('ab' || char(9) || 'cd', '3,5', -1, '2024-01-31 08:05:09', "
       "0.1, -9223372036854775808, 12.5, X'00FF10')",
       "INSERT INTO T (s, n, b, d, r, i, m, x) VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)",
       "INSERT INTO T (s, n, b, d, r, i, m, x) VALUES ('O''Neil', 2.25, 0, '2003-02-01', 1e300, "
       "9223372036854775807, 0, X'')",
       "INSERT INTO T (s) VALUES ('C:\\x \"q\"')", "INSERT INTO T (s) VALUES ('five')",
       "CREATE TABLE P (k VARCHAR(5) PRIMARY KEY, v INTEGER)", "INSERT INTO P VALUES ('a', 1)",
       "CREATE TABLE L (v INTEGER, w TEXT, a INTEGER PRIMARY KEY AUTOINCREMENT)",
       "INSERT INTO L (v, w) VALUES (1, 'x')"});
};

TEST_F(SQLServerInsertTest, RowsWithIdentityInsertAroundThem) {
  const std::string text = InsertText(generator, db, "T", "SELECT * FROM T", 0, true, true);
  const std::string head = "INSERT INTO T (a,s,n,b,d,r,i,m,x) VALUES (";
  EXPECT_EQ(text, "DELETE FROM T;\nSET IDENTITY_INSERT T ON;\n" + head +
                      "1,'ab'+CHAR(9)+'cd',3.5,1,'2024-01-31 08:05:09',0.1,-9223372036854775808,12.5,0x00FF10);\n" +
                      head + "2,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);\n" + head +
                      "3,'O''Neil',2.25,0,'2003-02-01 00:00:00',1e+300,9223372036854775807,0,0x);\n" + head +
                      "4,'C:\\x \"q\"',NULL,NULL,NULL,NULL,NULL,NULL,NULL);\n" + head +
                      "5,'five',NULL,NULL,NULL,NULL,NULL,NULL,NULL);\n"
                      "SET IDENTITY_INSERT T OFF;\n\n");
}

TEST_F(SQLServerInsertTest, MaxRecordsAndAutonumbersOff) {
  const std::string limited = InsertText(generator, db, "T", "SELECT a, s FROM T", 2, true, false);
  EXPECT_EQ(limited,
            "SET IDENTITY_INSERT T ON;\nINSERT INTO T (a,s) VALUES (1,'ab'+CHAR(9)+'cd');\n"
            "INSERT INTO T (a,s) VALUES (2,NULL);\nSET IDENTITY_INSERT T OFF;\n\n");
  // The autonumber column is last: the lists stay well formed without it.
  EXPECT_EQ(InsertText(generator, db, "L", "SELECT * FROM L", 0, false, false),
            "INSERT INTO L (v,w) VALUES (1,'x');\n\n");
  // A table without an identity column takes no IDENTITY_INSERT, which SQL Server would refuse.
  EXPECT_EQ(InsertText(generator, db, "P", "SELECT * FROM P", 0, true, false),
            "INSERT INTO P (k,v) VALUES ('a',1);\n\n");
}

TEST_F(SQLServerInsertTest, StringLiteralsHoldTheSameText) {
  TempFolder f;
  const std::string strings = MakeSqliteDatabase(
      f, {"CREATE TABLE S (id INTEGER PRIMARY KEY, v TEXT)",
          "INSERT INTO S VALUES (1, 'a' || char(13) || char(10) || 'b')",
          "INSERT INTO S VALUES (2, char(9) || 'x' || char(8) || char(26))", "INSERT INTO S VALUES (3, 'Müller')",
          "INSERT INTO S VALUES (4, 'back\\slash ''q'' \"dq\"')", "INSERT INTO S VALUES (5, '')",
          "INSERT INTO S VALUES (6, 'n' || char(0) || 'ul')", "INSERT INTO S VALUES (7, 'Ö' || char(10) || 'ß')"});
  auto literal = [&](int id) {
    return LiteralOf(generator, strings, "SELECT v FROM S WHERE id=" + std::to_string(id));
  };
  EXPECT_EQ(literal(1), "'a'+CHAR(13)+''+CHAR(10)+'b'");
  EXPECT_EQ(literal(2), "''+CHAR(9)+'x'+CHAR(8)+''+CHAR(26)+''");
  EXPECT_EQ(literal(3), "N'Müller'");
  EXPECT_EQ(literal(4), "'back\\slash ''q'' \"dq\"'");
  EXPECT_EQ(literal(5), "''");
  EXPECT_EQ(literal(6), "'n'+CHAR(0)+'ul'");
  EXPECT_EQ(literal(7), "N'Ö'+CHAR(10)+N'ß'");
}

TEST_F(SQLServerInsertTest, LongJoinedTextIsWidenedBeforeTheFirstJoin) {
  TempFolder f;
  const std::string strings = MakeSqliteDatabase(
      f,
      {"CREATE TABLE S (v TEXT)", "INSERT INTO S VALUES ('ab' || char(10) || replace(hex(zeroblob(2500)), '0', 'z'))"});
  const std::string literal = LiteralOf(generator, strings, "SELECT v FROM S");
  EXPECT_EQ(literal.substr(0, 50), "CAST('ab' AS varchar(max))+CHAR(10)+'zzzzzzzzzzzzz");
  EXPECT_EQ(literal.size(), std::string("CAST('ab' AS varchar(max))+CHAR(10)+''").size() + 5000);
}

TEST_F(SQLServerInsertTest, TextNeverGoesUnquotedIntoTheScript) {
  TempFolder f;
  const std::string mixed = MakeSqliteDatabase(
      f, {"CREATE TABLE M (id INTEGER PRIMARY KEY, n INTEGER, d DATE, g GUID)",
          "INSERT INTO M VALUES (1, '1); DROP TABLE x; --', 'some day', '{6F9619FF-8B86-D011-B42D-00C04FC964FF}')",
          "INSERT INTO M VALUES (2, ' 1,5 ', '2024-02-29', NULL)"});
  EXPECT_EQ(LiteralOf(generator, mixed, "SELECT n, d, g FROM M WHERE id=1"),
            "'1); DROP TABLE x; --','some day','{6F9619FF-8B86-D011-B42D-00C04FC964FF}'");
  EXPECT_EQ(LiteralOf(generator, mixed, "SELECT n, d, g FROM M WHERE id=2"), "1.5,'2024-02-29 00:00:00',NULL");
}
}  // namespace
