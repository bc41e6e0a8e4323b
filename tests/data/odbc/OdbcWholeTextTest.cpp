// Texts with non-ASCII characters come back whole and are stored whole, at and around their
// column's size, short and long: MariaDB's driver reports too short a UTF-16 length for some of
// them ("Último Pau-De-Arara", 19 characters, as 36 bytes) and writes them with a stray NUL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ado/AdoEnums.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/data/odbc/OdbcServers.h"
#include "tests/support/data/AdoSession.h"

using namespace ado;

namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// Each fits a VARCHAR(19); several are exactly 19 characters long.
const std::vector<std::string> kShort = {"Último Pau-De-Arara",
                                         "ÙÚÛÜÝ",
                                         Repeat("Ú", 19),
                                         "Ωmega",
                                         "€uro",
                                         "Zoë Ärger",
                                         "aÚ",
                                         "Ú",
                                         "𝄞 clef",
                                         "ÀÁÂÃÄÅ",
                                         "Ação Über Ñandú çà",
                                         "Ú" + Repeat("x", 18)};

// Longer than one piece of a piecewise read, and not a whole number of pieces; made by the server
// from short statements (MariaDB's driver overruns its buffer on a long UTF-16 statement with
// non-ASCII text).
struct LongText {
  std::string sql;
  std::string text;
};
const std::vector<LongText> kLong = {
    {"REPEAT('Ú', 20001)", Repeat("Ú", 20001)},
    {"CONCAT('Último ', REPEAT('Pau-De-Arara ', 2000))", "Último " + Repeat("Pau-De-Arara ", 2000)},
    {"CONCAT(REPEAT('€', 9000), 'x')", Repeat("€", 9000) + "x"}};

class OdbcWholeText : public testing::TestWithParam<std::string>, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    connectionString_ = GetParam() == "MariaDB" ? SharedMariaDbString() : SharedPostgresString();
    if (connectionString_.empty()) GTEST_SKIP() << "needs the test command's " << GetParam() << " server";
    Connect(connectionString_);
    connection_->Execute("DROP TABLE IF EXISTS qt_long");
    connection_->Execute("CREATE TABLE qt_long (id INTEGER PRIMARY KEY, t VARCHAR(19), big TEXT)");
  }
  void TearDown() override {
    if (!connectionString_.empty()) connection_->Execute("DROP TABLE IF EXISTS qt_long");
  }

  // The texts of one column, in key order, through both cursor locations (which must agree).
  std::vector<std::string> Read(const std::string& column) {
    std::vector<std::string> texts[2];
    const long locations[2] = {adUseClient, adUseServer};
    for (int k = 0; k < 2; ++k) {
      RecordsetPtr rs = Open("SELECT id, " + column + " FROM qt_long ORDER BY id", locations[k]);
      while (!rs->GetEOF()) {
        const Variant v = rs->GetCollect(column);
        texts[k].push_back(v.IsNull() ? "<null>" : v.Str());
        rs->MoveNext();
      }
    }
    EXPECT_EQ(texts[0], texts[1]) << "client and server cursors";
    return texts[0];
  }

  // How many rows hold exactly the value of the SQL expression in `column`, by the server's own
  // comparison.
  long StoredAs(const std::string& column, const std::string& expression) {
    RecordsetPtr rs = Open("SELECT COUNT(*) AS n FROM qt_long WHERE " + column + " = " + expression +
                               " AND CHAR_LENGTH(" + column + ") = CHAR_LENGTH(" + expression + ")",
                           adUseClient);
    return static_cast<long>(rs->GetCollect("n").ToInt64());
  }
  long Stored(const std::string& column, const std::string& text) {
    std::string literal;
    for (char c : text) literal += c == '\'' ? std::string("''") : std::string(1, c);
    return StoredAs(column, "'" + literal + "'");
  }

  std::string connectionString_;
};

}  // namespace

TEST_P(OdbcWholeText, TextsTheServerStoredReadBackWhole) {
  for (std::size_t i = 0; i < kShort.size(); ++i)
    connection_->Execute("INSERT INTO qt_long (id, t) VALUES (" + std::to_string(i) + ", '" + kShort[i] + "')");
  for (std::size_t i = 0; i < kLong.size(); ++i)
    connection_->Execute("INSERT INTO qt_long (id, big) VALUES (" + std::to_string(100 + i) + ", " + kLong[i].sql +
                         ")");
  std::vector<std::string> expected = kShort;
  expected.insert(expected.end(), kLong.size(), "<null>");
  std::vector<std::string> shortOnes = Read("t");
  EXPECT_EQ(shortOnes, expected);
  std::vector<std::string> longOnes = Read("big");
  ASSERT_EQ(longOnes.size(), kShort.size() + kLong.size());
  for (std::size_t i = 0; i < kLong.size(); ++i)
    EXPECT_TRUE(longOnes[kShort.size() + i] == kLong[i].text)
        << "long text " << i << ": " << longOnes[kShort.size() + i].size() << " bytes of " << kLong[i].text.size();
}

// MariaDB's driver reads past the end of a long UTF-16 statement with non-ASCII text when given
// its length (the sanitizer build sees it).
TEST_P(OdbcWholeText, ALongStatementWithNonAsciiTextRunsWhole) {
  connection_->Execute("INSERT INTO qt_long (id, big) VALUES (1, '" + kLong[0].text + "')");
  EXPECT_EQ(StoredAs("big", kLong[0].sql), 1);
  EXPECT_EQ(Stored("big", kLong[0].text), 1);
}

TEST_P(OdbcWholeText, TextsWrittenThroughTheRecordsetAreStoredWhole) {
  RecordsetPtr rs = Open("SELECT id, t, big FROM qt_long", adUseClient);
  for (std::size_t i = 0; i < kShort.size(); ++i) {
    rs->AddNew();
    rs->PutCollect("id", Variant(static_cast<std::int32_t>(i)));
    rs->PutCollect("t", Variant(kShort[i]));
    rs->PutCollect("big", Variant(kLong[i % kLong.size()].text));
    rs->Update();
  }
  for (std::size_t i = 0; i < kShort.size(); ++i) EXPECT_EQ(Stored("t", kShort[i]), 1) << kShort[i];
  for (const LongText& text : kLong) EXPECT_GE(StoredAs("big", text.sql), 1) << text.sql;
  // Changed in place: each row takes its neighbour's text, written over the old one whole.
  rs->MoveFirst();
  for (std::size_t i = 0; !rs->GetEOF(); ++i) {
    rs->PutCollect("t", Variant(kShort[(i + 1) % kShort.size()]));
    rs->Update();
    rs->MoveNext();
  }
  std::vector<std::string> rotated(kShort.begin() + 1, kShort.end());
  rotated.push_back(kShort.front());
  EXPECT_EQ(Read("t"), rotated);
  for (const std::string& text : kShort) EXPECT_EQ(Stored("t", text), 1) << text;
}

INSTANTIATE_TEST_SUITE_P(Servers, OdbcWholeText, testing::Values("PostgreSQL", "MariaDB"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });
