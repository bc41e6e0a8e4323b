// Values at the edges, read back and written back exactly on every database, in the C locale,
// with the user's locale set to Italian, and with the process's LC_NUMERIC itself forced to
// Italian (the trap in which ODBC drivers truncate 24.68 to 24 or write "24,68").
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"
#include "text/OleDate.h"
#include "text/UserLocale.h"

using namespace ado;

namespace {

enum class LocaleMode { C, UserItalian, ProcessItalian };

using EdgeParam = std::tuple<TestDatabase, LocaleMode>;

// The values of one row of the edge table.
struct EdgeRow {
  Variant label;
  Variant città;
  Variant low;
  Variant high;
  Variant exact;
  Variant stamp;
  Variant bytes;
  Variant ratio;
};

std::string MegabyteOfText() {
  // Every width of UTF-8, quotes, separators and line breaks.
  const std::string piece = "Zürich € 𝄞 O'Brien \"q\" ;,\t\r\n";
  std::string text;
  while (text.size() < (1u << 20)) text += piece;
  return text;
}

std::string AllBytes() {
  std::string bytes(2, '\0');
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += std::string(3, '\0');
  return bytes;
}

Variant Stamp() {
  return Variant::Date(PartsToOleDate(DateParts{2024, 2, 0, 29, 23, 59, 59, 123}).value());
}

class OdbcEdgeValues : public testing::TestWithParam<EdgeParam>, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    const TestDatabase& db = std::get<0>(GetParam());
    mode_ = std::get<1>(GetParam());
    db_ = std::make_unique<FreshDatabase>(db);
    maria_ = db.name == "MariaDB";
    // SQLite keeps NUMERIC as an 8-byte float: its exact values stay within 15 digits.
    exactHigh_ = db.isSqlite ? "12345.0123456789" : "1234567890123456789012345678.0123456789";
    const std::string text = maria_ ? "LONGTEXT" : "TEXT";
    db_->Run({"DROP TABLE IF EXISTS qo_edgé", "DROP TABLE IF EXISTS qo_edgé_nokey",
              "CREATE TABLE qo_edgé (id INTEGER PRIMARY KEY, label " + text +
                  ", città VARCHAR(40), low BIGINT, high BIGINT, "
                  "exact DECIMAL(38,10), stamp " +
                  db.timestampType + ", bytes " + db.blobType + ", ratio " + db.doubleType + ")",
              "CREATE TABLE qo_edgé_nokey (label VARCHAR(20), exact DECIMAL(38,10), stamp " + db.timestampType +
                  ", ratio " + db.doubleType + ")"});
    if (mode_ == LocaleMode::UserItalian) {
      ASSERT_TRUE(SetUserNumericLocale("it_IT.UTF-8"));
    }
    if (mode_ == LocaleMode::ProcessItalian) {
      ASSERT_NE(std::setlocale(LC_NUMERIC, "it_IT.UTF-8"), nullptr);
      char probe[16];
      std::snprintf(probe, sizeof probe, "%.2f", 24.68);
      ASSERT_STREQ(probe, "24,68") << "the trap is set";
    }
    Connect(db_->ConnectionString());
  }

  void TearDown() override {
    std::setlocale(LC_NUMERIC, "C");
    SetUserNumericLocale("");
  }

  EdgeRow Edges() const {
    return EdgeRow{Variant(MegabyteOfText()),
                   Variant("Ærøskøbing – 東京 – 🎉"),
                   Variant(std::int64_t{INT64_MIN}),
                   Variant(std::int64_t{INT64_MAX}),
                   Variant(Decimal::Parse(exactHigh_).value()),
                   Stamp(),
                   Variant::Bytes(AllBytes()),
                   Variant(24.68)};
  }

  void Put(const RecordsetPtr& rs, const EdgeRow& row) {
    rs->PutCollect("label", row.label);
    rs->PutCollect("città", row.città);
    rs->PutCollect("low", row.low);
    rs->PutCollect("high", row.high);
    rs->PutCollect("exact", row.exact);
    rs->PutCollect("stamp", row.stamp);
    rs->PutCollect("bytes", row.bytes);
    rs->PutCollect("ratio", row.ratio);
  }

  // The row of `id` read with a fresh recordset, compared value by value.
  void ExpectStored(int id, const EdgeRow& row, long location = adUseClient) {
    RecordsetPtr rs =
        Open("SELECT label, città, low, high, exact, stamp, bytes, ratio FROM qo_edgé WHERE id = " + std::to_string(id),
             location);
    ASSERT_FALSE(rs->GetEOF());
    Variant label = rs->GetCollect("label");
    ASSERT_EQ(label.vt(), VT_BSTR);
    EXPECT_EQ(label.Str().size(), row.label.Str().size());
    EXPECT_TRUE(label.Str() == row.label.Str()) << "the long text differs";
    EXPECT_EQ(rs->GetCollect("città"), row.città);
    EXPECT_EQ(rs->GetCollect("low").ToInt64(), row.low.Int());
    EXPECT_EQ(rs->GetCollect("high").ToInt64(), row.high.Int());
    Variant exact = rs->GetCollect("exact");
    ASSERT_EQ(exact.vt(), VT_DECIMAL);
    EXPECT_EQ(exact.Dec().ToString(), row.exact.Dec().Rescaled(10)->ToString());
    Variant stamp = rs->GetCollect("stamp");
    ASSERT_EQ(stamp.vt(), VT_DATE);
    EXPECT_EQ(FormatIsoDateTime(stamp.Real()), "2024-02-29 23:59:59.123");
    EXPECT_EQ(rs->GetCollect("bytes"), row.bytes);
    Variant ratio = rs->GetCollect("ratio");
    ASSERT_EQ(ratio.vt(), VT_R8);
    EXPECT_EQ(ratio.Real(), row.ratio.Real());
  }

  std::unique_ptr<FreshDatabase> db_;
  LocaleMode mode_ = LocaleMode::C;
  bool maria_ = false;
  std::string exactHigh_;
};

std::string ParamName(const testing::TestParamInfo<EdgeParam>& info) {
  const char* modes[] = {"C", "UserItalian", "ProcessItalian"};
  return TestDatabaseName(testing::TestParamInfo<TestDatabase>(std::get<0>(info.param), info.index)) + "_" +
         modes[static_cast<int>(std::get<1>(info.param))];
}

}  // namespace

TEST_P(OdbcEdgeValues, ValuesTheServerStoredReadBackExactly) {
  std::string hex;
  for (unsigned char c : AllBytes()) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", c);
    hex += pair;
  }
  const TestDatabase& db = std::get<0>(GetParam());
  std::string bytes = IsPostgres(db) ? "decode('" + hex + "', 'hex')" : "X'" + hex + "'";
  std::string text = MegabyteOfText();
  std::string quoted;
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  db_->Run({"INSERT INTO qo_edgé (id, label, città, low, high, exact, stamp, bytes, ratio) VALUES (1, '" + quoted +
                "', 'Ærøskøbing – 東京 – 🎉', -9223372036854775808, 9223372036854775807, " + exactHigh_ +
                ", '2024-02-29 23:59:59.123', " + bytes + ", 24.68)",
            "INSERT INTO qo_edgé (id, label, città, exact) VALUES (2, '', NULL, -0.0000000001)"});
  for (long location : {adUseClient, adUseServer}) ExpectStored(1, Edges(), location);

  RecordsetPtr rs = Open("SELECT label, città, exact FROM qo_edgé WHERE id = 2");
  EXPECT_EQ(rs->GetCollect("label").vt(), VT_BSTR) << "an empty string is not NULL";
  EXPECT_EQ(rs->GetCollect("label").Str(), "");
  EXPECT_TRUE(rs->GetCollect("città").IsNull());
  EXPECT_EQ(rs->GetCollect("exact").Dec().ToString(), "-0.0000000001");
}

TEST_P(OdbcEdgeValues, ValuesWrittenThroughTheRecordsetStoreExactly) {
  RecordsetPtr rs = Open("SELECT id, label, città, low, high, exact, stamp, bytes, ratio FROM qo_edgé");
  rs->AddNew();
  rs->PutCollect("id", Variant(std::int32_t{1}));
  Put(rs, Edges());
  rs->Update();
  rs->AddNew();
  rs->PutCollect("id", Variant(std::int32_t{2}));
  rs->PutCollect("label", Variant(std::string()));
  rs->PutCollect("città", Variant::Null());
  rs->Update();
  rs->Close();
  ExpectStored(1, Edges());

  // Changed in place: the other end of every range.
  RecordsetPtr edit = Open("SELECT id, label, città, low, high, exact, stamp, bytes, ratio FROM qo_edgé ORDER BY id");
  EdgeRow other = Edges();
  other.label = Variant(std::string("x") + MegabyteOfText());
  other.città = Variant("ü");
  other.low = Variant(std::int64_t{INT64_MAX});
  other.high = Variant(std::int64_t{INT64_MIN});
  other.exact = Variant(Decimal::Parse("-" + exactHigh_).value());
  other.bytes = Variant::Bytes(std::string(1000, '\0'));
  other.ratio = Variant(1e300);
  Put(edit, other);
  edit->Update();
  edit->MoveNext();
  EXPECT_EQ(edit->GetCollect("label").Str(), "");
  EXPECT_TRUE(edit->GetCollect("città").IsNull());
  edit->PutCollect("città", Variant(std::string()));
  edit->PutCollect("label", Variant::Null());
  edit->Update();
  edit->Close();
  ExpectStored(1, other);
  RecordsetPtr second = Open("SELECT label, città FROM qo_edgé WHERE id = 2");
  EXPECT_TRUE(second->GetCollect("label").IsNull());
  EXPECT_EQ(second->GetCollect("città").vt(), VT_BSTR);
  EXPECT_EQ(second->GetCollect("città").Str(), "");
}

TEST_P(OdbcEdgeValues, ARowWithoutKeyIsFoundByItsExactValues) {
  // Finding the row compares every value with what was read: a double or a fraction of a second
  // that drifted on the way would find nothing.
  RecordsetPtr rs = Open("SELECT label, exact, stamp, ratio FROM qo_edgé_nokey");
  for (double ratio : {0.1, 24.68, 1.0 / 3.0, 2.2250738585072014e-308}) {
    rs->AddNew();
    rs->PutCollect("label", Variant("before"));
    rs->PutCollect("exact", Variant(Decimal::Parse("24.68").value()));
    rs->PutCollect("stamp", Stamp());
    rs->PutCollect("ratio", Variant(ratio));
    rs->Update();
  }
  rs->Close();
  RecordsetPtr edit = Open("SELECT label, exact, stamp, ratio FROM qo_edgé_nokey");
  int rows = 0;
  while (!edit->GetEOF()) {
    edit->PutCollect("label", Variant("after"));
    edit->Update();
    edit->MoveNext();
    ++rows;
  }
  EXPECT_EQ(rows, 4);
  RecordsetPtr check = Open("SELECT label, exact, ratio FROM qo_edgé_nokey ORDER BY ratio");
  std::vector<double> ratios;
  while (!check->GetEOF()) {
    EXPECT_EQ(check->GetCollect("label").Str(), "after");
    EXPECT_EQ(check->GetCollect("exact").Dec().ToString(), "24.6800000000");
    ratios.push_back(check->GetCollect("ratio").Real());
    check->MoveNext();
  }
  EXPECT_EQ(ratios, (std::vector<double>{2.2250738585072014e-308, 0.1, 1.0 / 3.0, 24.68}));
}

INSTANTIATE_TEST_SUITE_P(Databases, OdbcEdgeValues,
                         testing::Combine(testing::ValuesIn(TestDatabases()),
                                          testing::Values(LocaleMode::C, LocaleMode::UserItalian,
                                                          LocaleMode::ProcessItalian)),
                         ParamName);
