// The MySQL generator: its type table, statement texts and backslash-escaped literals.
#include <gtest/gtest.h>

#include "export/MysqlScriptGenerator.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/GeneratorTestSupport.h"

using namespace ado;

namespace {
class MysqlGeneratorTest : public testing::Test {
 protected:
  SettingsStore settings = DefaultSettings();
  MysqlScriptGenerator generator{settings};
};

TEST_F(MysqlGeneratorTest, CreateTableOfThreeTypedColumns) {
  const std::vector<DbFieldInfo> fields = {Field("a", adInteger, 4, true, true, false), Field("b", adVarChar, 50),
                                           Field("c", adSingle, 4)};
  EXPECT_EQ(CreateText(generator, "T", fields, false),
            "CREATE TABLE T (\n"
            "    a                    int(11) UNSIGNED NOT NULL AUTO_INCREMENT,\n"
            "    b                    varchar(50) NULL,\n"
            "    c                    float(2) NULL,\n"
            "    PRIMARY KEY(a)\n"
            ");\n\n");
  EXPECT_EQ(generator.DropTableStatement("T"), "DROP TABLE IF EXISTS T;\n\n");
  EXPECT_EQ(CreateText(generator, "T", {Field("only", adInteger, 4)}, true),
            "DROP TABLE IF EXISTS T;\n\nCREATE TABLE T (\n    only                 int NULL\n);\n\n");
}

TEST_F(MysqlGeneratorTest, NullabilityKeysAndLongNames) {
  const std::string text =
      CreateText(generator, "T",
                 {Field("k1", adVarChar, 10, true), Field("required", adInteger, 4, false, false, false),
                  Field("a_name_longer_than_twenty", adInteger, 4), Field("k2", adInteger, 4, true)},
                 false);
  EXPECT_EQ(text,
            "CREATE TABLE T (\n"
            "    k1                   varchar(10) NOT NULL,\n"
            "    required             int NOT NULL,\n"
            "    a_name_longer_than_twenty int NULL,\n"
            "    k2                   int NOT NULL,\n"
            "    PRIMARY KEY(k1,k2)\n"
            ");\n\n");
}

TEST_F(MysqlGeneratorTest, AutonumberOutsideThePrimaryKeyGetsAnIndex) {
  // MySQL refuses an AUTO_INCREMENT column that leads no index.
  EXPECT_EQ(CreateText(generator, "T", {Field("a", adInteger, 4, false, true, false), Field("b", adVarChar, 5)}, false),
            "CREATE TABLE T (\n"
            "    a                    int(11) UNSIGNED NOT NULL AUTO_INCREMENT,\n"
            "    b                    varchar(5) NULL,\n"
            "    KEY(a)\n"
            ");\n\n");
  EXPECT_EQ(
      CreateText(generator, "T",
                 {Field("k", adVarChar, 5, true, false, false), Field("a", adBigInt, 8, true, true, false)}, false),
      "CREATE TABLE T (\n"
      "    k                    varchar(5) NOT NULL,\n"
      "    a                    bigint NOT NULL AUTO_INCREMENT,\n"
      "    PRIMARY KEY(k,a),\n"
      "    KEY(a)\n"
      ");\n\n");
}

TEST_F(MysqlGeneratorTest, TypeTableHoldsEveryValue) {
  struct Case {
    DbFieldInfo field;
    std::string definition;
  };
  const std::vector<Case> cases = {
      {Field("v", adTinyInt, 1), "tinyint(1)"},
      {Field("v", adSmallInt, 2), "int"},
      {Field("v", adBigInt, 8), "bigint"},
      {Field("v", adUnsignedTinyInt, 1), "tinyint unsigned"},
      {Field("v", adUnsignedSmallInt, 2), "smallint unsigned"},
      {Field("v", adUnsignedInt, 4), "int unsigned"},
      {Field("v", adUnsignedBigInt, 8), "bigint unsigned"},
      {Field("v", adSingle, 4), "float(2)"},
      {Field("v", adDouble, 8), "double"},
      {Field("v", adCurrency, 8), "decimal(19,4)"},
      {DecimalField("v", adDecimal, 10, 2), "decimal(10,2)"},
      {DecimalField("v", adNumeric, 38, 10), "decimal(38,10)"},
      {DecimalField("v", adNumeric, 1000, 998), "decimal(65,30)"},
      {Field("v", adBoolean, 2), "tinyint(1)"},
      {Field("v", adDate, 8), "datetime"},
      {Field("v", adDBDate, 6), "date"},
      {Field("v", adDBTime, 6), "time"},
      {Field("v", adDBTimeStamp, 16), "datetime"},
      {Field("v", adChar, 3), "varchar(3)"},
      {Field("v", adWChar, 3), "varchar(3)"},
      {Field("v", adVarWChar, 200), "varchar(200)"},
      {Field("v", adVarChar, 100000), "mediumtext"},
      {Field("v", adLongVarChar, 2147483647), "mediumtext"},
      {Field("v", adBinary, 16), "varbinary(16)"},
      {Field("v", adVarBinary, 300), "varbinary(300)"},
      {Field("v", adVarBinary, 100000), "longblob"},
      {Field("v", adLongVarBinary, 2147483647), "longblob"},
  };
  for (const Case& c : cases) {
    const std::string text = CreateText(generator, "T", {c.field}, false);
    EXPECT_EQ(text, "CREATE TABLE T (\n    v                    " + c.definition + " NULL\n);\n\n")
        << DataTypeName(c.field.type);
  }
  EXPECT_EQ(CreateText(generator, "T", {Field("v", adUnsignedInt, 4, true, true, false)}, false),
            "CREATE TABLE T (\n    v                    int unsigned NOT NULL AUTO_INCREMENT,\n    PRIMARY KEY(v)\n"
            ");\n\n");
}

TEST_F(MysqlGeneratorTest, TypesWithoutTranslationLeavePlaceholderAndWarning) {
  TraceCapture trace;
  EXPECT_EQ(generator.TranslateFieldType(Field("v", adVariant)), "***adVariant***");
  EXPECT_TRUE(trace.Has("W|MysqlScriptGenerator::TranslateFieldType() : unknown type \"adVariant\" for field \"v\""));
  EXPECT_EQ(generator.TranslateFieldType(Field("c", adChapter)), "***adChapter***");
  EXPECT_EQ(generator.TranslateFieldType(Field("q", 4242)), "???");
}

TEST_F(MysqlGeneratorTest, StringLiteralsUseBackslashEscapes) {
  TempFolder f;
  const std::string strings = MakeSqliteDatabase(
      f, {"CREATE TABLE S (id INTEGER PRIMARY KEY, v TEXT)", "INSERT INTO S VALUES (1, 'O''Neil')",
          "INSERT INTO S VALUES (2, 'line1' || char(10) || 'line2' || char(13))",
          "INSERT INTO S VALUES (3, char(8) || char(9) || char(26) || '\"\\')",
          "INSERT INTO S VALUES (4, 'n' || char(0) || 'ul')", "INSERT INTO S VALUES (5, 'Zürich 日本')"});
  auto literal = [&](int id) {
    return LiteralOf(generator, strings, "SELECT v FROM S WHERE id=" + std::to_string(id));
  };
  EXPECT_EQ(literal(1), "'O\\'Neil'");
  EXPECT_EQ(literal(2), "'line1\\nline2\\r'");
  EXPECT_EQ(literal(3), "'\\b\\t\\Z\\\"\\\\'");
  EXPECT_EQ(literal(4), "'n\\0ul'");
  EXPECT_EQ(literal(5), "'Zürich 日本'");
}

TEST_F(MysqlGeneratorTest, RowsWithoutIdentityLines) {
  TempFolder f;
  const std::string db =
      MakeSqliteDatabase(f, {"CREATE TABLE T (a INTEGER PRIMARY KEY AUTOINCREMENT, d DATETIME, x BLOB, c MONEY)",
                             "INSERT INTO T (d, x, c) VALUES ('2024-01-31 08:05:09', X'', 1234.5678)",
                             "INSERT INTO T (d, x, c) VALUES (NULL, X'7F80', NULL)"});
  EXPECT_EQ(InsertText(generator, db, "T", "SELECT * FROM T", 0, true, true),
            "DELETE FROM T;\n"
            "INSERT INTO T (a,d,x,c) VALUES (1,'2024-01-31 08:05:09',X'',1234.5678);\n"
            "INSERT INTO T (a,d,x,c) VALUES (2,NULL,0x7F80,NULL);\n\n");
  EXPECT_EQ(InsertText(generator, db, "T", "SELECT * FROM T", 1, false, false),
            "INSERT INTO T (d,x,c) VALUES ('2024-01-31 08:05:09',X'',1234.5678);\n\n");
  EXPECT_EQ(generator.ScriptPrologue(), "SET NAMES utf8mb4;\n\n");
}

TEST_F(MysqlGeneratorTest, NumbersNoServerHoldsBecomeNullWithAWarning) {
  TempFolder f;
  const std::string db = MakeSqliteDatabase(
      f,
      {"CREATE TABLE T (r DOUBLE, s TEXT)", "INSERT INTO T VALUES (9e999, 'x')", "INSERT INTO T VALUES (-9e999, 'y')"});
  TraceCapture trace;
  EXPECT_EQ(InsertText(generator, db, "T", "SELECT * FROM T"),
            "INSERT INTO T (r,s) VALUES (NULL,'x');\nINSERT INTO T (r,s) VALUES (NULL,'y');\n\n");
  EXPECT_TRUE(trace.Has("W|ScriptGenerator::WriteInsertStatements() : value \"inf\" of field \"r\" written as NULL"))
      << trace.Lines().size();
}
}  // namespace
