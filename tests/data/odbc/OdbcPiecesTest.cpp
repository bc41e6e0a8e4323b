// The provider's pieces that need no server: text conversion, diagnostics, type mapping.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "data/ado/AdoEnums.h"
#include "data/ado/GuidText.h"
#include "data/ado/odbc/OdbcCheck.h"
#include "data/ado/odbc/OdbcParameters.h"
#include "data/ado/odbc/OdbcRead.h"
#include "data/ado/odbc/OdbcSchema.h"
#include "data/ado/odbc/OdbcText.h"
#include "data/ado/odbc/OdbcTypes.h"
#include "data/ado/odbc/OdbcValues.h"
#include "text/TextUtil.h"

using namespace ado;
using namespace ado::odbc;

TEST(OdbcText, Utf8AndUtf16RoundTripEveryPlane) {
  std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E z";  // A é € 𝄞 z
  WideString wide = ToWide(text);
  EXPECT_EQ(wide, (WideString{u'A', u'é', u'€', 0xD834, 0xDD1E, u' ', u'z'}));
  EXPECT_EQ(ToUtf8(wide), text);
  EXPECT_EQ(ToUtf8(ToWide("")), "");
}

TEST(OdbcText, Utf8IsRecognisedAsToWideTakesIt) {
  for (const char* good : {"", "plain", "Último Pau-De-Arara", "€", "\xF0\x9D\x84\x9E clef"})
    EXPECT_TRUE(IsUtf8(good)) << good;
  for (const char* bad : {"\xC3\xFF"
                          "A",
                          "\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"})
    EXPECT_FALSE(IsUtf8(bad)) << bad;
}

TEST(OdbcText, BrokenInputBecomesReplacementCharactersNotGarbage) {
  // A lone continuation byte, a cut sequence, an overlong form, an encoded surrogate.
  EXPECT_EQ(ToWide("a\x80"
                   "b"),
            (WideString{u'a', 0xFFFD, u'b'}));
  EXPECT_EQ(ToWide("\xE2\x82"), (WideString{0xFFFD, 0xFFFD}));
  EXPECT_EQ(ToWide("\xC0\xAF"), (WideString{0xFFFD, 0xFFFD}));
  EXPECT_EQ(ToWide("\xED\xA0\x80"), (WideString{0xFFFD, 0xFFFD, 0xFFFD}));
  const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00};
  EXPECT_EQ(ToUtf8(lone, 4), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

TEST(OdbcDiagnostics, DescriptionsTakeTheDriverManagersForm) {
  std::vector<DiagnosticRecord> records{
      {"42P01", 1, "ERROR: relation \"x\" does not exist;\nError while executing the query"},
      {"42S02", 1146, "[ma-3.1.15][10.11.19-MariaDB]Table 'testdb.x' doesn't exist"},
      {"IM002", 0, "[unixODBC][Driver Manager]Data source name not found"},
      {"42S02", 1146, "[ma-3.1.15][10.11.19-MariaDB]Table 'testdb.x' doesn't exist"}};
  EXPECT_EQ(FormatDiagnostics(records, "PostgreSQL Unicode"),
            "[unixODBC][PostgreSQL Unicode]ERROR: relation \"x\" does not exist;\nError while executing the query\n"
            "[unixODBC][ma-3.1.15][10.11.19-MariaDB]Table 'testdb.x' doesn't exist\n"
            "[unixODBC][Driver Manager]Data source name not found");
  EXPECT_EQ(FormatDiagnostics({{"HY000", 0, "boom"}}, ""), "[unixODBC][Driver]boom");
}

TEST(OdbcDiagnostics, StatesChooseTheHResultAdoGives) {
  EXPECT_EQ(HResultForState("42P01", DB_E_ERRORSINCOMMAND), DB_E_ERRORSINCOMMAND);
  EXPECT_EQ(HResultForState("23505", DB_E_ERRORSINCOMMAND), DB_E_INTEGRITYVIOLATION);
  EXPECT_EQ(HResultForState("08S01", DB_E_ERRORSINCOMMAND), E_FAIL);
  EXPECT_EQ(HResultForState("22003", DB_E_ERRORSINCOMMAND), DB_E_DATAOVERFLOW);
}

TEST(OdbcTypes, SqlTypesMapToTheAdoTypesOfAdosOdbcProvider) {
  struct Case {
    SQLSMALLINT sql;
    SQLULEN size;
    SQLSMALLINT digits;
    bool isUnsigned;
    int ado;
    long definedSize;
  };
  const Case cases[] = {
      {SQL_INTEGER, 10, 0, false, adInteger, 4},
      {SQL_INTEGER, 10, 0, true, adUnsignedInt, 4},
      {SQL_BIGINT, 19, 0, false, adBigInt, 8},
      {SQL_SMALLINT, 5, 0, false, adSmallInt, 2},
      {SQL_TINYINT, 3, 0, false, adTinyInt, 1},
      {SQL_TINYINT, 3, 0, true, adUnsignedTinyInt, 1},
      {SQL_BIT, 1, 0, false, adBoolean, 2},
      {SQL_REAL, 7, 0, false, adSingle, 4},
      {SQL_FLOAT, 15, 0, false, adDouble, 8},
      {SQL_DOUBLE, 15, 0, false, adDouble, 8},
      {SQL_NUMERIC, 38, 10, false, adNumeric, 19},
      {SQL_DECIMAL, 10, 2, false, adNumeric, 19},
      {SQL_CHAR, 5, 0, false, adChar, 5},
      {SQL_VARCHAR, 40, 0, false, adVarChar, 40},
      {SQL_VARCHAR, 10000, 0, false, adVarChar, 10000},
      {SQL_VARCHAR, 0, 0, false, adLongVarChar, kLongDefinedSize},
      {SQL_LONGVARCHAR, 65535, 0, false, adLongVarChar, 65535},
      {SQL_WCHAR, 3, 0, false, adWChar, 3},
      {SQL_WVARCHAR, 30, 0, false, adVarWChar, 30},
      {SQL_WLONGVARCHAR, 0, 0, false, adLongVarWChar, kLongDefinedSize},
      {SQL_BINARY, 4, 0, false, adBinary, 4},
      {SQL_VARBINARY, 20, 0, false, adVarBinary, 20},
      {SQL_LONGVARBINARY, 0, 0, false, adLongVarBinary, kLongDefinedSize},
      {SQL_TYPE_DATE, 10, 0, false, adDBDate, 6},
      {SQL_TYPE_TIME, 8, 0, false, adDBTime, 6},
      {SQL_TYPE_TIMESTAMP, 26, 6, false, adDBTimeStamp, 16},
      {SQL_GUID, 36, 0, false, adGUID, 16},
  };
  for (const Case& c : cases) {
    MappedType m = MapSqlType(SqlColumnType{c.sql, c.size, c.digits, c.isUnsigned});
    EXPECT_EQ(m.type, c.ado) << "SQL type " << c.sql;
    EXPECT_EQ(m.definedSize, c.definedSize) << "SQL type " << c.sql;
  }
  MappedType numeric = MapSqlType(SqlColumnType{SQL_NUMERIC, 38, 10, false});
  EXPECT_EQ(numeric.precision, 38);
  EXPECT_EQ(numeric.scale, 10);
  EXPECT_TRUE(MapSqlType(SqlColumnType{SQL_LONGVARCHAR, 0, 0, false}).attributes & adFldLong);
  EXPECT_FALSE(MapSqlType(SqlColumnType{SQL_VARCHAR, 10000, 0, false}).attributes & adFldLong);
}

TEST(OdbcTypes, WideColumnsAreReadInPiecesNotBound) {
  auto plan = [](SQLSMALLINT sql, SQLULEN size) {
    SqlColumnType c{sql, size, 0, false};
    return PlanFetch(c, MapSqlType(c));
  };
  EXPECT_GT(plan(SQL_VARCHAR, 40).elementBytes, 0);
  // Room for forty characters outside the basic plane (two UTF-16 units each) and the terminator.
  EXPECT_EQ(plan(SQL_VARCHAR, 40).elementBytes, static_cast<SQLLEN>(81 * sizeof(SQLWCHAR)));
  EXPECT_EQ(plan(SQL_VARCHAR, 10000).elementBytes, 0);
  EXPECT_EQ(plan(SQL_LONGVARCHAR, 100).elementBytes, 0);
  EXPECT_EQ(plan(SQL_LONGVARBINARY, 0).elementBytes, 0);
  EXPECT_EQ(plan(SQL_NUMERIC, 38).cType, SQL_C_CHAR);
  EXPECT_EQ(plan(SQL_DOUBLE, 15).cType, SQL_C_DOUBLE);
}

TEST(OdbcValues, GuidsReadAsAdoShowsThem) {
  EXPECT_EQ(GuidText("a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"), "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}");
  EXPECT_EQ(GuidText("{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}"), "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}");
  EXPECT_EQ(GuidText("not a guid"), "not a guid");
}

TEST(OdbcValues, ValuesBeyondTheirAdoTypeKeepTheirText) {
  RowStore store;
  RowStore::Builder& row = store.BeginRow();
  std::string digits = "123456789012345678901234567890123456789012345.5";  // 46 digits
  AppendValue(row, ValueKind::Decimal, adNumeric, digits.data(), digits.size());
  SQL_TIMESTAMP_STRUCT ancient{50, 1, 2, 3, 4, 5, 600000000};
  AppendValue(row, ValueKind::Timestamp, adDBTimeStamp, reinterpret_cast<const char*>(&ancient), sizeof ancient);
  std::string duration = "838:59:59";
  AppendValue(row, ValueKind::DateTimeText, adDBTime, duration.data(), duration.size());
  SQLBIGINT wide = 70000;
  AppendValue(row, ValueKind::Integer, adSmallInt, reinterpret_cast<const char*>(&wide), sizeof wide);
  RowStore::RowId id = store.EndRow();
  EXPECT_EQ(store.GetVariant(id, 0).Str(), digits);
  EXPECT_EQ(store.GetVariant(id, 1).Str(), "0050-01-02 03:04:05.6");
  EXPECT_EQ(store.GetVariant(id, 2).Str(), duration);
  EXPECT_EQ(store.GetVariant(id, 3).vt(), VT_I8);
  EXPECT_EQ(store.GetVariant(id, 3).Int(), 70000);
}

TEST(OdbcParameters, DoublesAreWrittenInTheCFormWhateverTheProcessLocale) {
  const char* before = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = before ? before : "C";
  ASSERT_NE(std::setlocale(LC_NUMERIC, "it_IT.UTF-8"), nullptr);
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  EXPECT_STREQ(probe, "1,5") << "the comma locale is in force";
  EXPECT_EQ(DoubleText(0.1), "0.1");
  EXPECT_EQ(DoubleText(1e300), "1e+300");
  EXPECT_EQ(DoubleText(-2.5), "-2.5");
  EXPECT_EQ(DoubleText(1.0 / 3.0), "0.3333333333333333");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(OdbcSchema, TableTypesUseOleDbNames) {
  EXPECT_EQ(OleDbTableType("BASE TABLE"), "TABLE");
  EXPECT_EQ(OleDbTableType("view"), "VIEW");
  EXPECT_EQ(OleDbTableType("SYSTEM TABLE"), "SYSTEM TABLE");
}

// A driver that reports a text shorter than it wrote (MariaDB's UTF-16 lengths): the terminator
// it wrote decides; without one in the buffer the value is longer than the buffer.
TEST(OdbcRead, TheWrittenTerminatorDecidesATextsLength) {
  const std::u16string written = u"\u00DAltimo Pau-De-Arara";
  std::u16string buffer = written + u'\0' + u"stale";
  const char* data = reinterpret_cast<const char*>(buffer.data());
  const std::size_t capacity = buffer.size() * 2;
  EXPECT_EQ(WrittenLength(data, 38, capacity, 2), 38u);
  EXPECT_EQ(WrittenLength(data, 36, capacity, 2), 38u) << "the driver's 36 bytes for 19 characters";
  EXPECT_EQ(WrittenLength(data, 36, 38, 2), std::nullopt) << "no terminator in the buffer";
  const std::string embedded("ab\0cd\0", 6);
  EXPECT_EQ(WrittenLength(embedded.data(), 2, embedded.size(), 1), 2u) << "a NUL where the length says";
  EXPECT_EQ(WrittenLength(embedded.data(), 4, embedded.size(), 0), 4u) << "bytes have no terminator";
}
