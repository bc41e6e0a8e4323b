// The provider's readings of the server's text: '?' markers and batches found the way the
// server's lexer finds statements, bytea in both output forms, dates the automation date cannot
// hold kept as text, time-zone offsets, and parameters written as the server reads them.
#include <gtest/gtest.h>

#include <cmath>

#include "data/ado/AdoEnums.h"
#include "data/ado/postgresql/PgStatement.h"
#include "data/ado/postgresql/PgTypes.h"
#include "text/DateScan.h"
#include "text/OleDate.h"

using namespace ado;
using namespace ado::postgresql;

namespace {

Variant Read(Oid type, int modifier, std::string_view text) {
  RowStore store;
  AppendValue(store.BeginRow(), MapPgType(type, modifier), text.data(), text.size());
  return store.GetVariant(store.EndRow(), 0);
}

std::string Written(const Variant& value, int columnType = 0) {
  bool binary = false;
  return ParameterText(Parameter{value, columnType}, binary);
}

}  // namespace

TEST(PgStatementText, MarkersOutsideQuotesAndCommentsAreNumbered) {
  int count = 0;
  EXPECT_EQ(NumberPlaceholders("UPDATE t SET a = ?, b = ? WHERE c = ?", count),
            "UPDATE t SET a = $1, b = $2 WHERE c = $3");
  EXPECT_EQ(count, 3);
  EXPECT_EQ(NumberPlaceholders("SELECT '?', \"q?\", E'\\'?', $$?$$, $x$?$x$ -- ?\n/* ? /* ? */ ? */ FROM t WHERE a = ?",
                               count),
            "SELECT '?', \"q?\", E'\\'?', $$?$$, $x$?$x$ -- ?\n/* ? /* ? */ ? */ FROM t WHERE a = $1");
  EXPECT_EQ(count, 1);
  EXPECT_EQ(NumberPlaceholders("SELECT 'it''s?' || ?", count), "SELECT 'it''s?' || $1");
  EXPECT_EQ(count, 1);
}

TEST(PgStatementText, OnlyASecondStatementMakesABatch) {
  EXPECT_FALSE(HoldsSeveralStatements("SELECT 1"));
  EXPECT_FALSE(HoldsSeveralStatements("SELECT 1;  \n -- done\n /* really */ ;"));
  EXPECT_FALSE(HoldsSeveralStatements("SELECT ';' || $body$; SELECT 2$body$ || E'\\';' AS \"a;b\""));
  EXPECT_TRUE(HoldsSeveralStatements("SELECT 1; SELECT 2"));
  EXPECT_TRUE(HoldsSeveralStatements("CREATE TABLE t (a int);INSERT INTO t VALUES (1)"));
  EXPECT_TRUE(HoldsSeveralStatements("SELECT 1; 'x'"));
}

TEST(PgValueText, ByteaDatesAndZonesAreReadWithoutLoss) {
  EXPECT_EQ(DecodeBytea("\\x00ff10"), std::string("\x00\xff\x10", 3));
  EXPECT_EQ(DecodeBytea("a\\\\b\\000\\377"), std::string("a\\b\x00\xff", 5));
  EXPECT_EQ(Read(17, -1, "\\x41").Str(), "A");
  EXPECT_TRUE(Read(17, -1, "\\x41").IsByteArray());

  // A year BC or 'infinity' has no automation date: the text stays, era and all.
  EXPECT_EQ(Read(1082, -1, "0044-03-15 BC").ToText(), "0044-03-15 BC");
  EXPECT_EQ(Read(1114, -1, "infinity").ToText(), "infinity");
  EXPECT_EQ(Read(1184, -1, "2024-01-01 10:00:00+00 BC").ToText(), "2024-01-01 10:00:00+00 BC");
  Variant stamp = Read(1114, 6, "2024-02-29 23:59:59.123456");
  EXPECT_EQ(stamp.vt(), VT_DATE);
  EXPECT_EQ(OleDateToParts(stamp.Real())->millisecond, 123);

  // A zoned timestamp is the wall time the server wrote in the session's zone.
  std::optional<double> zoned = WallTimeOfZoned("2024-07-01 10:00:00.25+05:30");
  ASSERT_TRUE(zoned);
  EXPECT_EQ(FormatIsoDateTime(*zoned), "2024-07-01 10:00:00.250");
  EXPECT_TRUE(WallTimeOfZoned("2024-07-01 10:00:00-08"));
  EXPECT_FALSE(WallTimeOfZoned("2024-07-01 10:00:00"));

  EXPECT_EQ(Read(700, -1, "NaN").vt(), VT_R4);
  EXPECT_EQ(Read(701, -1, "-Infinity").Real(), -HUGE_VAL);
  EXPECT_EQ(Read(1700, -1, "NaN").ToText(), "NaN");
  EXPECT_EQ(Read(1700, (10 << 16) + 2 + 4, "-12.50").vt(), VT_DECIMAL);
  EXPECT_EQ(Read(1700, (10 << 16) + 2 + 4, "-12.50").ToText(), "-12.50");
  EXPECT_EQ(Read(2950, -1, "a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11").ToText(), "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}");
  EXPECT_EQ(Read(21, -1, "-32768").vt(), VT_I2);
  EXPECT_EQ(Read(16, -1, "t").Bool(), true);
}

TEST(PgValueText, ParametersAreWrittenAsTheColumnReadsThem) {
  const double day = *PartsToOleDate(DateParts{2024, 2, 0, 29, 13, 5, 7, 250});
  EXPECT_EQ(Written(Variant::Date(day), adDBDate), "2024-02-29");
  EXPECT_EQ(Written(Variant::Date(day), adDBTime), "13:05:07.250");
  EXPECT_EQ(Written(Variant::Date(day), adDBTimeStamp), "2024-02-29 13:05:07.250");
  EXPECT_EQ(Written(Variant(true)), "t");
  EXPECT_EQ(Written(Variant(0.1)), "0.1");
  EXPECT_EQ(Written(Variant(*Decimal::Parse("-1234567890123456789012345678.0123456789"))),
            "-1234567890123456789012345678.0123456789");
  EXPECT_EQ(Written(Variant::Currency(123456)), "12.3456");
  bool binary = false;
  EXPECT_EQ(ParameterText(Parameter{Variant::Bytes(std::string("\0\1", 2)), 0}, binary), std::string("\0\1", 2));
  EXPECT_TRUE(binary);
}
