// The CSV writer: field texts, quoting, line ends, failures, and files that a strict CSV reader
// (Python's csv module) reads back as the rows of the source.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <unistd.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <charconv>
#include <cmath>
#include <limits>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/ado/Variant.h"
#include "export/CsvExport.h"
#include "export/ScriptGenerator.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/SourceRows.h"
#include "text/OleDate.h"
#include "text/UserLocale.h"

namespace {
const char* kReadCsv = R"(
import csv, json, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = list(csv.reader(f, delimiter=sys.argv[2], strict=True))
print(json.dumps(rows))
)";

std::vector<std::vector<std::string>> ReadBack(const TempFolder& folder, const std::string& file,
                                               const std::string& separator) {
  const std::string json = RunPython(folder, kReadCsv, {file, separator});
  std::vector<std::vector<std::string>> rows;
  for (const QJsonValue& row : QJsonDocument::fromJson(QByteArray::fromStdString(json)).array()) {
    std::vector<std::string> cells;
    for (const QJsonValue& cell : row.toArray()) cells.push_back(cell.toString().toStdString());
    rows.push_back(cells);
  }
  return rows;
}

// Whether a CSV field says the same as a source value, by the kind of its column.
::testing::AssertionResult SameValue(const std::string& declared, const SourceValue& v, const std::string& field) {
  auto fail = [&](const std::string& expected) {
    return ::testing::AssertionFailure() << declared << ": \"" << field << "\" for " << expected;
  };
  if (v.storage == SQLITE_NULL) return field.empty() ? ::testing::AssertionSuccess() : fail("NULL");
  if (declared == "BOOLEAN")
    return field == (v.integer ? "TRUE" : "FALSE") ? ::testing::AssertionSuccess() : fail("bool");
  if (declared == "DATE" || declared == "DATETIME") {
    const std::string& iso = v.bytes;
    std::string dayFirst = iso.substr(8, 2) + "/" + iso.substr(5, 2) + "/" + iso.substr(0, 4);
    // A time of day other than midnight follows the date.
    if (iso.size() >= 19 && iso.substr(11, 8) != "00:00:00") dayFirst += " " + iso.substr(11);
    return field == dayFirst ? ::testing::AssertionSuccess() : fail(iso);
  }
  if (v.storage == SQLITE_BLOB)
    return field == "0x" + HexDigits(v.bytes) ? ::testing::AssertionSuccess() : fail("blob");
  if (v.storage == SQLITE_TEXT) return field == v.bytes ? ::testing::AssertionSuccess() : fail(v.bytes);
  if (declared.rfind("DECIMAL", 0) == 0 || declared == "MONEY") {
    const auto parsed = ado::Decimal::Parse(field);
    const auto source =
        v.storage == SQLITE_FLOAT ? ado::Decimal::FromDouble(v.real) : ado::Decimal::FromInt64(v.integer);
    return parsed && source && *parsed == *source ? ::testing::AssertionSuccess() : fail("decimal");
  }
  if (v.storage == SQLITE_FLOAT) {
    double parsed = 0;
    std::from_chars(field.data(), field.data() + field.size(), parsed);
    return parsed == v.real ? ::testing::AssertionSuccess() : fail(std::to_string(v.real));
  }
  return field == std::to_string(v.integer) ? ::testing::AssertionSuccess() : fail(std::to_string(v.integer));
}

TEST(CsvCellTextTest, QuotedWhenHoldingSeparatorQuoteOrLineBreak) {
  EXPECT_EQ(CsvCellText(ado::Variant("1;2"), ';'), "\"1;2\"");
  EXPECT_EQ(CsvCellText(ado::Variant("1;2"), ','), "1;2");
  EXPECT_EQ(CsvCellText(ado::Variant("say \"hi\""), ';'), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvCellText(ado::Variant("two\nlines"), ';'), "\"two\nlines\"");
  EXPECT_EQ(CsvCellText(ado::Variant("cr\r"), ';'), "\"cr\r\"");
  EXPECT_EQ(CsvCellText(ado::Variant("plain text"), ';'), "plain text");
  EXPECT_EQ(CsvCellText(ado::Variant::Null(), ';'), "");
  EXPECT_EQ(CsvCellText(ado::Variant(), ';'), "");
  EXPECT_EQ(CsvCellText(ado::Variant(""), ';'), "");
}

TEST(CsvCellTextTest, NumbersKeepEveryDigit) {
  SetUserNumericLocale("C.UTF-8");
  EXPECT_EQ(CsvCellText(ado::Variant(0.1), ';'), "0.1");
  EXPECT_EQ(CsvCellText(ado::Variant(1.0 / 3.0), ';'), "0.3333333333333333");
  EXPECT_EQ(CsvCellText(ado::Variant(1e300), ';'), "1e+300");
  EXPECT_EQ(CsvCellText(ado::Variant(0.30000000000000004), ';'), "0.30000000000000004");
  EXPECT_EQ(CsvCellText(ado::Variant(0.1f), ';'), "0.1");
  EXPECT_EQ(CsvCellText(ado::Variant(std::numeric_limits<std::int64_t>::min()), ';'), "-9223372036854775808");
  EXPECT_EQ(CsvCellText(ado::Variant::UnsignedInt(ado::VT_UI8, 18446744073709551615ull), ';'), "18446744073709551615");
  EXPECT_EQ(CsvCellText(ado::Variant::UnsignedInt(ado::VT_UI1, 200), ';'), "200");
  EXPECT_EQ(CsvCellText(ado::Variant(*ado::Decimal::Parse("-12345678901234567890.123456789")), ';'),
            "-12345678901234567890.123456789");
  EXPECT_EQ(CsvCellText(ado::Variant::Currency(922337203685477), ';'), "92233720368.5477");
  EXPECT_EQ(CsvCellText(ado::Variant(true), ';'), "TRUE");
  EXPECT_EQ(CsvCellText(ado::Variant::Bytes(std::string("\0\xff", 2)), ';'), "0x00FF");
}

TEST(CsvCellTextTest, UserDecimalPointAndQuotingWhenItIsTheSeparator) {
  ASSERT_TRUE(SetUserNumericLocale("it_IT.UTF-8"));
  EXPECT_EQ(CsvCellText(ado::Variant(0.5), ';'), "0,5");
  EXPECT_EQ(CsvCellText(ado::Variant(0.5), ','), "\"0,5\"");
  EXPECT_EQ(CsvCellText(ado::Variant(*ado::Decimal::Parse("1234.50")), ';'), "1234,50");
  SetUserNumericLocale("");
}

TEST(CsvCellTextTest, DatesDayFirstWithTheirTimeOfDay) {
  DateParts p;
  p.year = 2024;
  p.month = 1;
  p.day = 31;
  p.hour = 14;
  p.minute = 30;
  EXPECT_EQ(CsvCellText(ado::Variant::Date(*PartsToOleDate(p)), ';'), "31/01/2024 14:30:00");
  p.millisecond = 250;
  EXPECT_EQ(CsvCellText(ado::Variant::Date(*PartsToOleDate(p)), ';'), "31/01/2024 14:30:00.250");
  p.year = 1850;
  p.hour = 0;
  p.minute = 0;
  p.millisecond = 0;
  EXPECT_EQ(CsvCellText(ado::Variant::Date(*PartsToOleDate(p)), ';'), "31/01/1850");
  EXPECT_EQ(CsvCellText(ado::Variant::Date(1e9), ';'), "");
}

TEST(ChangeFileExtensionTest, ReplacesOrAdds) {
  EXPECT_EQ(ChangeFileExtension("export.xlsx", "csv"), "export.csv");
  EXPECT_EQ(ChangeFileExtension("/tmp/a.b/report", "csv"), "/tmp/a.b/report.csv");
  EXPECT_EQ(ChangeFileExtension("/tmp/x.tar.gz", ".xlsx"), "/tmp/x.tar.xlsx");
  const ResultExportFileChoice csv = ResultExportFileChoiceFor(true);
  EXPECT_EQ(csv.proposedName, "export.csv");
  EXPECT_EQ(csv.defaultExtension, "csv");
  EXPECT_EQ(csv.filter, "Csv files (*.csv)|*.csv|All files (*.*)|*.*||");
  const ResultExportFileChoice xlsx = ResultExportFileChoiceFor(false);
  EXPECT_EQ(xlsx.proposedName, "export.xlsx");
  EXPECT_EQ(xlsx.defaultExtension, "xlsx");
  EXPECT_EQ(xlsx.filter, "Excel files (*.xlsx)|*.xlsx|All files (*.*)|*.*||");
}

class CsvFileTest : public testing::Test {
 protected:
  bool Write(const std::string& connectionString, const std::string& query, const std::string& separator,
             bool skipFirst = false) {
    DbConnection connection;
    connection.Open(connectionString, "", "");
    DbRecordset rs;
    rs.Open(&connection, query);
    if (skipFirst) rs.MoveNext();
    const bool ok = WriteCsvFile(file, rs, separator, ui);
    atEnd = rs.IsEOF();
    return ok;
  }

  TempFolder folder;
  std::string file = folder.File("out.csv");
  RecordingUi ui;
  bool atEnd = false;
};

TEST_F(CsvFileTest, SampleTablesReadBackAsTheSameValues) {
  const std::string sample = SampleDatabasePath();
  if (sample.empty()) GTEST_SKIP() << "QELVO_SAMPLE_DB is not set: run through ctest";
  SetUserNumericLocale("C.UTF-8");
  for (const char* table : {"Categories", "Customers", "Products", "Orders", "Order Details", "Notes"}) {
    const std::string query = std::string("SELECT * FROM \"") + table + "\"";
    ASSERT_TRUE(Write(SqliteConnectionString(sample), query, ";")) << table;
    const SourceTable source = ReadSourceTable(sample, query);
    const auto rows = ReadBack(folder, file, ";");
    ASSERT_EQ(rows.size(), source.rows.size() + 1) << table;
    EXPECT_EQ(rows[0], source.names);
    for (std::size_t r = 0; r < source.rows.size(); ++r) {
      ASSERT_EQ(rows[r + 1].size(), source.names.size()) << table << " row " << r;
      for (std::size_t c = 0; c < source.names.size(); ++c)
        EXPECT_TRUE(SameValue(source.declaredTypes[c], source.rows[r][c], rows[r + 1][c]))
            << table << "." << source.names[c] << " row " << r;
    }
  }
  SetUserNumericLocale("");
}

TEST_F(CsvFileTest, CommaSeparatorWithCommaDecimalsReadsBack) {
  ASSERT_TRUE(SetUserNumericLocale("de_DE.UTF-8"));
  const std::string db = MakeSqliteDatabase(
      folder, {"CREATE TABLE t (\"a,b\" TEXT, r REAL, d DECIMAL(10,3))", "INSERT INTO t VALUES ('x,y', 2.5, 1234.125)",
               "INSERT INTO t VALUES ('\"', -0.001, NULL)"});
  ASSERT_TRUE(Write(db, "SELECT * FROM t", ","));
  const auto rows = ReadBack(folder, file, ",");
  SetUserNumericLocale("");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"a,b", "r", "d"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"x,y", "2,5", "1234,125"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"\"", "-0,001", ""}));
}

TEST_F(CsvFileTest, LinesEndInCrLfAndValuesKeepTheirBytes) {
  const std::string db = MakeSqliteDatabase(
      folder, {"CREATE TABLE t (id INTEGER, v TEXT)", "INSERT INTO t VALUES (1, 'a' || char(10) || 'b')",
               "INSERT INTO t VALUES (2, 'c' || char(13) || char(10) || 'd')", "INSERT INTO t VALUES (3, NULL)"});
  ASSERT_TRUE(Write(db, "SELECT * FROM t", "|x"));
  // The first character of the setting separates; line breaks inside a value stay as they were.
  EXPECT_EQ(ReadFileBytes(file), "id|v\r\n1|\"a\nb\"\r\n2|\"c\r\nd\"\r\n3|\r\n");
  const auto rows = ReadBack(folder, file, "|");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1][1], "a\nb");
  EXPECT_EQ(rows[2][1], "c\r\nd");
}

TEST_F(CsvFileTest, MultiByteSeparatorIsUsedWhole) {
  const std::string db =
      MakeSqliteDatabase(folder, {"CREATE TABLE t (\"aéb\" TEXT, n INTEGER)", "INSERT INTO t VALUES ('xéy', 1)",
                                  "INSERT INTO t VALUES ('plain', 2)"});
  ASSERT_TRUE(Write(db, "SELECT * FROM t", "éx"));
  // The file is valid UTF-8 and reads back with é as the separator; a value holding it is quoted.
  EXPECT_EQ(ReadFileBytes(file),
            "\"aéb\"é"
            "n\r\n\"xéy\"é"
            "1\r\nplainé"
            "2\r\n");
  const auto rows = ReadBack(folder, file, "é");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], (std::vector<std::string>{"xéy", "1"}));
  EXPECT_EQ(CsvSeparator("€;"), "€");
  EXPECT_EQ(CsvSeparator(""), ";");
  // A byte that starts no UTF-8 character stands alone.
  EXPECT_EQ(CsvSeparator("\xe9x"), "\xe9");
}

TEST_F(CsvFileTest, StartsAtTheCurrentRowAndEndsAtTheEnd) {
  const std::string db = MakeSqliteDatabase(
      folder, {"CREATE TABLE t (n INTEGER)", "INSERT INTO t VALUES (1)", "INSERT INTO t VALUES (2)"});
  ASSERT_TRUE(Write(db, "SELECT n, n * 10 AS n FROM t", "", true));
  // Empty setting: ";". Two columns of one name keep their own values.
  EXPECT_EQ(ReadFileBytes(file), "n;n\r\n2;20\r\n");
  EXPECT_TRUE(atEnd);
}

TEST_F(CsvFileTest, FileThatCannotBeCreatedIsReported) {
  const std::string db = MakeSqliteDatabase(folder, {"CREATE TABLE t (n INTEGER)", "INSERT INTO t VALUES (1)"});
  file = folder.Path();  // a folder
  EXPECT_FALSE(Write(db, "SELECT * FROM t", ";"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error during document generation");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
}

TEST_F(CsvFileTest, FailedWriteIsNotReportedAsSuccess) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  const std::string db = MakeSqliteDatabase(folder, {"CREATE TABLE t (n INTEGER)", "INSERT INTO t VALUES (1)"});
  file = "/dev/full";
  EXPECT_FALSE(Write(db, "SELECT * FROM t", ";"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error during document generation");
}
}  // namespace
