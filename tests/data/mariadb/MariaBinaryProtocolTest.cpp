// Results the native MariaDB provider reads over the binary protocol: values longer than their
// column's buffer, integers of every width at their limits, a second statement while a result
// still streams, and the statements that the text protocol runs instead (several in one text,
// CALL, the diagnostics of the statement before).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"
#include "text/OleDate.h"

using namespace ado;

namespace {

class MariaBinary : public testing::Test, protected testsupport::AdoSession {
 protected:
  using testsupport::AdoSession::Run;

  void SetUp() override {
    if (SharedMariaDbString().empty()) GTEST_SKIP() << "needs the test command's MariaDB (QELVO_TEST_MARIADB)";
    Connect(NativeMariaDbString(SharedMariaDbString()));
  }

  // The text REPEAT makes: `unit` `times` over.
  static std::string Repeated(const std::string& unit, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += unit;
    return text;
  }
};

}  // namespace

TEST_F(MariaBinary, LongValuesComeWholeWhateverTheirLength) {
  Run({"DROP TABLE IF EXISTS qm_long",
       "CREATE TABLE qm_long (id INT PRIMARY KEY, t LONGTEXT, b LONGBLOB, v VARCHAR(3000)) CHARACTER SET utf8mb4"});
  // Lengths about the first buffer's size, far beyond it, and short ones after long ones, so that
  // a value is read in pieces, a grown buffer holds the next, and a short one is not padded.
  const std::size_t lengths[] = {10, 8191, 8192, 8193, 70000, 3000000, 5, 65536, 65537, 0};
  for (std::size_t i = 0; i < std::size(lengths); ++i) {
    const std::string n = std::to_string(lengths[i]);
    Run({"INSERT INTO qm_long VALUES (" + std::to_string(i) + ", REPEAT('ab', " + n + " DIV 2), REPEAT(X'00FF', " + n +
         " DIV 2), REPEAT('é', LEAST(" + n + ", 3000)))"});
  }
  RecordsetPtr rs = Open("SELECT id, t, b, v FROM qm_long ORDER BY id");
  for (std::size_t i = 0; i < std::size(lengths); ++i) {
    SCOPED_TRACE(lengths[i]);
    ASSERT_FALSE(rs->GetEOF());
    const std::size_t half = lengths[i] / 2;
    // Sizes first: a value cut or padded says so in a line.
    const std::string text = rs->GetCollect("t").Str();
    EXPECT_EQ(text.size(), 2 * half);
    EXPECT_TRUE(text == Repeated("ab", half));
    const Variant bytes = rs->GetCollect("b");
    EXPECT_TRUE(bytes.IsByteArray());
    EXPECT_EQ(bytes.Str().size(), 2 * half);
    EXPECT_TRUE(bytes.Str() == Repeated(std::string("\x00\xFF", 2), half));
    const std::string accented = rs->GetCollect("v").Str();
    EXPECT_EQ(accented.size(), 2 * std::min<std::size_t>(lengths[i], 3000));
    EXPECT_TRUE(accented == Repeated("é", std::min<std::size_t>(lengths[i], 3000)));
    rs->MoveNext();
  }
  EXPECT_TRUE(rs->GetEOF());
}

TEST_F(MariaBinary, EveryIntegerWidthReadsAtItsLimitsWithItsType) {
  Run({"DROP TABLE IF EXISTS qm_ints",
       "CREATE TABLE qm_ints (id INT PRIMARY KEY, i1 TINYINT, u1 TINYINT UNSIGNED, i2 SMALLINT, u2 SMALLINT "
       "UNSIGNED, i3 MEDIUMINT, u3 MEDIUMINT UNSIGNED, i4 INT, u4 INT UNSIGNED, i8 BIGINT, u8 BIGINT UNSIGNED, y YEAR, "
       "z INT(5) ZEROFILL)",
       "INSERT INTO qm_ints VALUES (1, -128, 0, -32768, 0, -8388608, 0, -2147483648, 0, -9223372036854775808, 0, "
       "1901, 0), (2, 127, 255, 32767, 65535, 8388607, 16777215, 2147483647, 4294967295, 9223372036854775807, "
       "18446744073709551615, 2155, 42), (3, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"});
  RecordsetPtr rs = Open("SELECT * FROM qm_ints ORDER BY id");
  struct Expected {
    const char* column;
    Variant low, high;
  };
  const Expected expected[] = {
      {"i1", Variant::SignedInt(VT_I1, -128), Variant::SignedInt(VT_I1, 127)},
      {"u1", Variant::UnsignedInt(VT_UI1, 0), Variant::UnsignedInt(VT_UI1, 255)},
      {"i2", Variant::SignedInt(VT_I2, -32768), Variant::SignedInt(VT_I2, 32767)},
      {"u2", Variant::UnsignedInt(VT_UI2, 0), Variant::UnsignedInt(VT_UI2, 65535)},
      {"i3", Variant::SignedInt(VT_I4, -8388608), Variant::SignedInt(VT_I4, 8388607)},
      {"u3", Variant::UnsignedInt(VT_UI4, 0), Variant::UnsignedInt(VT_UI4, 16777215)},
      {"i4", Variant::SignedInt(VT_I4, -2147483648LL), Variant::SignedInt(VT_I4, 2147483647)},
      {"u4", Variant::UnsignedInt(VT_UI4, 0), Variant::UnsignedInt(VT_UI4, 4294967295ULL)},
      {"i8", Variant::SignedInt(VT_I8, INT64_MIN), Variant::SignedInt(VT_I8, INT64_MAX)},
      {"u8", Variant::UnsignedInt(VT_UI8, 0), Variant::UnsignedInt(VT_UI8, UINT64_MAX)},
      {"z", Variant::UnsignedInt(VT_UI4, 0), Variant::UnsignedInt(VT_UI4, 42)},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.column);
    rs->MoveFirst();
    const Variant low = rs->GetCollect(e.column);
    EXPECT_EQ(low.vt(), e.low.vt());
    EXPECT_TRUE(low == e.low) << low.ToText();
    rs->MoveNext();
    const Variant high = rs->GetCollect(e.column);
    EXPECT_EQ(high.vt(), e.high.vt());
    EXPECT_TRUE(high == e.high) << high.ToText();
    rs->MoveNext();
    EXPECT_EQ(rs->GetCollect(e.column).vt(), VT_NULL);
  }
  rs->MoveFirst();
  EXPECT_EQ(rs->GetCollect("y").ToInt64(), 1901);
  rs->MoveNext();
  EXPECT_EQ(rs->GetCollect("y").ToInt64(), 2155);
  // Expressions: the server's own widths.
  rs = Open("SELECT CAST(18446744073709551615 AS UNSIGNED) AS u, -9223372036854775807 - 1 AS s, 1 AS one");
  EXPECT_TRUE(rs->GetCollect("u") == Variant::UnsignedInt(VT_UI8, UINT64_MAX));
  EXPECT_TRUE(rs->GetCollect("s") == Variant::SignedInt(VT_I8, INT64_MIN));
  EXPECT_EQ(rs->GetCollect("one").ToInt64(), 1);
}

TEST_F(MariaBinary, AnotherStatementMidStreamLeavesTheRestOfTheRowsReadable) {
  Run({"DROP TABLE IF EXISTS qm_stream",
       "CREATE TABLE qm_stream (id INT PRIMARY KEY, t LONGTEXT, d DATETIME(3), z DATE)",
       "INSERT INTO qm_stream SELECT seq, IF(seq % 1000 = 0, REPEAT('x', 20000 + seq), CONCAT('row ', seq)), "
       "TIMESTAMP '2020-01-01 00:00:00.125' + INTERVAL seq SECOND, IF(seq % 2 = 0, '0000-00-00', '2020-02-29') "
       "FROM seq_1_to_50000"});
  RecordsetPtr streaming = Open("SELECT id, t, d, z FROM qm_stream ORDER BY id", adUseServer);
  long id = 0;
  auto walk = [&](long until) {
    for (; !streaming->GetEOF() && id < until; streaming->MoveNext()) {
      ++id;
      ASSERT_EQ(streaming->GetCollect("id").ToInt64(), id);
      const std::string t = streaming->GetCollect("t").Str();
      if (id % 1000 == 0)
        ASSERT_TRUE(t == std::string(static_cast<std::size_t>(20000 + id), 'x')) << "row " << id << ": " << t.size();
      else
        ASSERT_EQ(t, "row " + std::to_string(id));
      DateParts stamp{
          2020, 1, 0, 1, static_cast<int>(id / 3600), static_cast<int>(id / 60 % 60), static_cast<int>(id % 60), 125};
      ASSERT_TRUE(streaming->GetCollect("d") == Variant::Date(*PartsToOleDate(stamp)));
      const Variant z = streaming->GetCollect("z");
      if (id % 2 == 0)
        ASSERT_TRUE(z == Variant("0000-00-00"));
      else
        ASSERT_TRUE(z == Variant::Date(*PartsToOleDate(DateParts{2020, 2, 0, 29})));
    }
  };
  walk(1500);
  // Another statement on the same connection while the rest still streams: it runs, and the walk
  // goes on from where it was, long values and dates alike.
  Run({"INSERT INTO qm_stream VALUES (60000, 'later', NULL, NULL)"});
  EXPECT_EQ(Open("SELECT COUNT(*) AS n FROM qm_stream")->GetCollect("n").ToInt64(), 50001);
  walk(50000);
  EXPECT_EQ(id, 50000);
  // The result is the one the statement saw when it ran.
  EXPECT_TRUE(streaming->GetEOF());
}

TEST_F(MariaBinary, TextsTheServerDoesNotPrepareRunAsBefore) {
  // Several statements in one text: the first result with columns.
  RecordsetPtr rs = Open("SET @qm_x = 5; SELECT @qm_x + 1 AS six; SELECT 7");
  EXPECT_EQ(rs->GetCollect("six").ToInt64(), 6);
  // A procedure's result set.
  Run({"DROP PROCEDURE IF EXISTS qm_rows", "CREATE PROCEDURE qm_rows() BEGIN SELECT 1 AS a UNION ALL SELECT 2; END"});
  rs = Open("CALL qm_rows()");
  EXPECT_EQ(rs->GetCollect("a").ToInt64(), 1);
  rs->MoveNext();
  EXPECT_EQ(rs->GetCollect("a").ToInt64(), 2);
  rs->MoveNext();
  EXPECT_TRUE(rs->GetEOF());
  EXPECT_EQ(Open("SELECT 3 AS n")->GetCollect("n").ToInt64(), 3) << "the connection takes the next statement";
  // The warnings are those of the statement before, prepared or not.
  Open("SELECT CAST('12abc' AS INTEGER) AS n");
  rs = Open("/* mine */ show  Warnings");
  ASSERT_FALSE(rs->GetEOF());
  EXPECT_NE(rs->GetCollect("Message").Str().find("12abc"), std::string::npos) << rs->GetCollect("Message").Str();
  Open("SELECT CAST('7x' AS INTEGER) AS n");
  EXPECT_EQ(Open("SHOW COUNT(*) WARNINGS")->GetCollect(0L).ToInt64(), 1);
  // A question mark that is no parameter gets the server's own words for it.
  try {
    Open("SELECT ? AS x");
    ADD_FAILURE() << "a lone question mark ran";
  } catch (const ComError& e) {
    EXPECT_NE(e.Description().find("SQL syntax"), std::string::npos) << e.Description();
  }
  // SHOW statements the server prepares read alike either way.
  rs = Open("SHOW VARIABLES LIKE 'max_allowed_packet'");
  EXPECT_EQ(rs->GetCollect("Variable_name").Str(), "max_allowed_packet");
}

TEST_F(MariaBinary, AFloatIsTheStoredValueNotItsSixDigitText) {
  // The text protocol writes a FLOAT with six digits (0.142857), which reads back as another
  // float than the one stored; the binary protocol gives the stored one, as the ODBC driver does.
  Run({"DROP TABLE IF EXISTS qm_float", "CREATE TABLE qm_float (id INT PRIMARY KEY, r FLOAT)",
       "INSERT INTO qm_float VALUES (1, 1/7), (2, 3.14159274), (3, -2.5e-7), (4, 16777217)"});
  RecordsetPtr rs = Open("SELECT r, CAST(r AS DOUBLE) AS widened FROM qm_float ORDER BY id");
  for (; !rs->GetEOF(); rs->MoveNext()) {
    const Variant r = rs->GetCollect("r");
    ASSERT_EQ(r.vt(), VT_R4);
    EXPECT_EQ(r.Real(), rs->GetCollect("widened").Real());
  }
}

TEST_F(MariaBinary, ATablesKeysAreReadBeforeItsRowsStreamWithoutASecondConnection) {
  Run({"DROP TABLE IF EXISTS qm_keyed", "CREATE TABLE qm_keyed (id INT AUTO_INCREMENT PRIMARY KEY, v VARCHAR(5))",
       "INSERT INTO qm_keyed (v) VALUES ('a'), ('b')"});
  auto sessions = [&] {
    return Open("SELECT COUNT(*) AS n FROM information_schema.PROCESSLIST WHERE USER = 'tester'")
        ->GetCollect("n")
        .ToInt64();
  };
  const long long before = sessions();
  RecordsetPtr rs = Open("SELECT id, v FROM qm_keyed ORDER BY id", adUseServer);
  const FieldPtr id = rs->GetFields()->GetItem("id");
  EXPECT_TRUE(id->GetAttributes() & adFldKeyColumn);
  EXPECT_TRUE(id->GetProperties()->GetItem("ISAUTOINCREMENT")->GetValue().Bool());
  EXPECT_EQ(rs->GetCollect("v").Str(), "a");
  // The keys came over the session's own connection, before the rows: no other one was opened.
  EXPECT_EQ(sessions(), before);
  rs->MoveNext();
  EXPECT_EQ(rs->GetCollect("v").Str(), "b");
}
