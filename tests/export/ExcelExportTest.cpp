// The spreadsheet writer: column letters, cell kinds read back with openpyxl, the text mark for
// texts that begin with a digit, the worksheet's limits, and failures that save nothing.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <filesystem>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/ado/ComError.h"
#include "data/ado/Variant.h"
#include "export/ExcelAutomation.h"
#include "export/ExcelExport.h"
#include "export/ScriptGenerator.h"
#include "tests/ComErrorOf.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/SourceRows.h"

namespace {
// Every cell of the first sheet as [kind, text]: n number, s text, b boolean, d date, e empty.
// openpyxl leaves the file format's _xHHHH_ escapes in texts; they are decoded here as a spreadsheet
// decodes them.
const char* kReadXlsx = R"(
import json, sys, datetime, openpyxl
from openpyxl.utils.escape import unescape
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
def cell(v):
    if v is None: return ["e", ""]
    if isinstance(v, bool): return ["b", "TRUE" if v else "FALSE"]
    if isinstance(v, (int, float)): return ["n", repr(v)]
    if isinstance(v, datetime.datetime): return ["d", v.strftime("%Y-%m-%d %H:%M:%S")]
    if isinstance(v, datetime.time): return ["d", v.strftime("%H:%M:%S")]
    return ["s", unescape(v)]
rows = [[cell(c.value) for c in row] for row in sheet.iter_rows()]
print(json.dumps({"sheets": book.sheetnames, "rows": rows,
                  "formats": [[c.number_format for c in row] for row in sheet.iter_rows(min_row=2, max_row=2)]}))
)";

struct Sheet {
  std::vector<std::string> names;
  std::vector<std::vector<std::pair<std::string, std::string>>> rows;
  std::vector<std::string> secondRowFormats;
};

Sheet ReadSheet(const TempFolder& folder, const std::string& file) {
  const std::string json = RunPython(folder, kReadXlsx, {file});
  const QJsonObject all = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
  Sheet sheet;
  for (const QJsonValue& name : all["sheets"].toArray()) sheet.names.push_back(name.toString().toStdString());
  for (const QJsonValue& row : all["rows"].toArray()) {
    std::vector<std::pair<std::string, std::string>> cells;
    for (const QJsonValue& cell : row.toArray())
      cells.emplace_back(cell.toArray()[0].toString().toStdString(), cell.toArray()[1].toString().toStdString());
    sheet.rows.push_back(cells);
  }
  for (const QJsonValue& row : all["formats"].toArray())
    for (const QJsonValue& f : row.toArray()) sheet.secondRowFormats.push_back(f.toString().toStdString());
  return sheet;
}

using Cell = std::pair<std::string, std::string>;

// The cell a source value must give, by the kind of its column.
::testing::AssertionResult SameCell(const std::string& declared, const SourceValue& v, const Cell& cell) {
  auto expect = [&](const std::string& kind, const std::string& text) {
    if (cell.first == kind && cell.second == text) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << declared << ": [" << cell.first << ", " << cell.second << "] instead of ["
                                         << kind << ", " << text << "]";
  };
  if (v.storage == SQLITE_NULL) return expect("e", "");
  if (declared == "BOOLEAN") return expect("b", v.integer ? "TRUE" : "FALSE");
  if (declared == "DATE") return expect("d", v.bytes + " 00:00:00");
  if (declared == "DATETIME") return expect("d", v.bytes);
  if (v.storage == SQLITE_BLOB) return expect("s", "0x" + HexDigits(v.bytes));
  if (v.storage == SQLITE_TEXT) return expect("s", v.bytes);
  if (v.storage == SQLITE_INTEGER) return expect("n", std::to_string(v.integer));
  if (cell.first == "n" && std::strtod(cell.second.c_str(), nullptr) == v.real) return ::testing::AssertionSuccess();
  return expect("n", std::to_string(v.real));
}

TEST(ExcelColumnNameTest, LettersBeyondZZ) {
  EXPECT_EQ(ExcelColumnName(0), "A");
  EXPECT_EQ(ExcelColumnName(25), "Z");
  EXPECT_EQ(ExcelColumnName(26), "AA");
  EXPECT_EQ(ExcelColumnName(27), "AB");
  EXPECT_EQ(ExcelColumnName(29), "AD");
  EXPECT_EQ(ExcelColumnName(52), "BA");
  EXPECT_EQ(ExcelColumnName(701), "ZZ");
  EXPECT_EQ(ExcelColumnName(702), "AAA");
  EXPECT_EQ(ExcelColumnName(16383), "XFD");
  EXPECT_EQ(ExcelCellAddress(0, 0), "A1");
  EXPECT_EQ(ExcelCellAddress(702, 41), "AAA42");
}

class ExcelFileTest : public testing::Test {
 protected:
  bool Write(const std::string& connectionString, const std::string& query, bool skipFirst = false) {
    DbConnection connection;
    connection.Open(connectionString, "", "");
    DbRecordset rs;
    rs.Open(&connection, query);
    if (skipFirst) rs.MoveNext();
    return WriteExcelFile(file, "Export", rs, ui);
  }

  TempFolder folder;
  std::string file = folder.File("out.xlsx");
  RecordingUi ui;
};

TEST_F(ExcelFileTest, SampleTablesReadBackWithTheirCellKinds) {
  const std::string sample = SampleDatabasePath();
  if (sample.empty()) GTEST_SKIP() << "QELVO_SAMPLE_DB is not set: run through ctest";
  for (const char* table : {"Categories", "Customers", "Products", "Orders", "Order Details", "Notes"}) {
    const std::string query = std::string("SELECT * FROM \"") + table + "\"";
    ASSERT_TRUE(Write(SqliteConnectionString(sample), query)) << table;
    const SourceTable source = ReadSourceTable(sample, query);
    const Sheet sheet = ReadSheet(folder, file);
    EXPECT_EQ(sheet.names, std::vector<std::string>{"Export"});
    ASSERT_EQ(sheet.rows.size(), source.rows.size() + 1) << table;
    for (std::size_t c = 0; c < source.names.size(); ++c) EXPECT_EQ(sheet.rows[0][c], Cell("s", source.names[c]));
    for (std::size_t r = 0; r < source.rows.size(); ++r) {
      for (std::size_t c = 0; c < source.names.size(); ++c) {
        const Cell cell = c < sheet.rows[r + 1].size() ? sheet.rows[r + 1][c] : Cell("e", "");
        EXPECT_TRUE(SameCell(source.declaredTypes[c], source.rows[r][c], cell))
            << table << "." << source.names[c] << " row " << r;
      }
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExcelFileTest, TextsStayTextsAndNumbersNumbers) {
  const std::string db = MakeSqliteDatabase(
      folder, {"CREATE TABLE t (v VARCHAR(10), w TEXT, n INTEGER, r DOUBLE, big BIGINT, dt DATETIME, tm TIME)",
               "INSERT INTO t VALUES ('007', '''quoted', 7, 0.1, 9223372036854775807, '1900-01-15 12:00:00', "
               "'08:05:09')",
               "INSERT INTO t VALUES ('abc', '9 lives', -7, 1e300, 9007199254740992, '1850-06-01', NULL)",
               "INSERT INTO t VALUES ('a' || char(13) || char(10) || 'b', '_x000D_ ' || char(1), 0, "
               "0.30000000000000004, -9007199254740993, '2024-02-29 23:59:59', '00:00:00')"});
  ASSERT_TRUE(Write(db, "SELECT * FROM t"));
  const Sheet sheet = ReadSheet(folder, file);
  ASSERT_EQ(sheet.rows.size(), 4u);
  EXPECT_EQ(sheet.rows[1], (std::vector<Cell>{{"s", "007"},
                                              {"s", "'quoted"},
                                              {"n", "7"},
                                              {"n", "0.1"},
                                              {"s", "9223372036854775807"},
                                              {"d", "1900-01-15 12:00:00"},
                                              {"d", "08:05:09"}}));
  EXPECT_EQ(sheet.rows[2], (std::vector<Cell>{{"s", "abc"},
                                              {"s", "9 lives"},
                                              {"n", "-7"},
                                              {"n", "1e+300"},
                                              {"n", "9007199254740992"},
                                              {"s", "01/06/1850 00:00:00"},
                                              {"e", ""}}));
  // libxlsxwriter writes numbers with 16 significant digits (a sheet shows 15): the one double
  // that needs 17 arrives rounded.
  EXPECT_EQ(sheet.rows[3], (std::vector<Cell>{{"s", "a\r\nb"},
                                              {"s", "_x000D_ \x01"},
                                              {"n", "0"},
                                              {"n", "0.3"},
                                              {"s", "-9007199254740993"},
                                              {"d", "2024-02-29 23:59:59"},
                                              {"d", "00:00:00"}}));
  EXPECT_EQ(sheet.secondRowFormats[5], "dd/mm/yyyy hh:mm:ss");
  EXPECT_EQ(sheet.secondRowFormats[6], "hh:mm:ss");
}

TEST_F(ExcelFileTest, DecimalsAndCurrencyAreNumbersWhenADoubleHoldsThem) {
  ExcelAutomation excel;
  excel.NewWorkbook("Export");
  excel.SetCell(0, 0, ado::Variant(*ado::Decimal::Parse("18.50")));
  excel.SetCell(1, 0, ado::Variant(*ado::Decimal::Parse("12345678901234567890.0123456789")));
  excel.SetCell(2, 0, ado::Variant::Currency(123456));
  excel.SetCell(3, 0, ado::Variant::UnsignedInt(ado::VT_UI8, 18446744073709551615ull));
  excel.SetCell(4, 0, ado::Variant(true));
  excel.SetCell(5, 0, ado::Variant::Bytes(std::string("\x01\xfe", 2)));
  excel.SetCell(6, 0, ado::Variant(0.1f));
  excel.SaveAs(file);
  const Sheet sheet = ReadSheet(folder, file);
  ASSERT_EQ(sheet.rows.size(), 1u);
  EXPECT_EQ(sheet.rows[0], (std::vector<Cell>{{"n", "18.5"},
                                              {"s", "12345678901234567890.0123456789"},
                                              {"n", "12.3456"},
                                              {"s", "18446744073709551615"},
                                              {"b", "TRUE"},
                                              {"s", "0x01FE"},
                                              {"n", "0.1"}}));
}

TEST_F(ExcelFileTest, ThirtyColumnsReachAD) {
  std::string create = "CREATE TABLE t (";
  std::string insert = "INSERT INTO t VALUES (";
  for (int c = 0; c < 30; ++c) {
    create += (c ? ", c" : "c") + std::to_string(c) + " INTEGER";
    insert += (c ? ", " : "") + std::to_string(c);
  }
  const std::string db = MakeSqliteDatabase(folder, {create + ")", insert + ")"});
  ASSERT_TRUE(Write(db, "SELECT * FROM t"));
  const std::string cells =
      RunPython(folder,
                "import sys, openpyxl\ns = openpyxl.load_workbook(sys.argv[1]).active\nprint(s['Z1'].value, "
                "s['AA2'].value, s['AD1'].value, s.max_column)\n",
                {file});
  EXPECT_EQ(cells, "c25 26 c29 30\n");
}

TEST_F(ExcelFileTest, ExistingFileIsReplacedAndFailuresSaveNothing) {
  const std::string db = MakeSqliteDatabase(folder, {"CREATE TABLE t (n INTEGER)", "INSERT INTO t VALUES (1)"});
  WriteFileBytes(file, "old");
  ASSERT_TRUE(Write(db, "SELECT * FROM t"));
  EXPECT_NE(ReadFileBytes(file), "old");
  EXPECT_EQ(ReadSheet(folder, file).rows.size(), 2u);

  file = folder.File("missing/out.xlsx");
  EXPECT_FALSE(Write(db, "SELECT * FROM t"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error during Excel document generation");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ExcelFileTest, StartsAtTheCurrentRow) {
  const std::string db = MakeSqliteDatabase(
      folder, {"CREATE TABLE t (n INTEGER)", "INSERT INTO t VALUES (1)", "INSERT INTO t VALUES (2)"});
  ASSERT_TRUE(Write(db, "SELECT n, n * 10 AS n FROM t", true));
  const Sheet sheet = ReadSheet(folder, file);
  ASSERT_EQ(sheet.rows.size(), 2u);
  EXPECT_EQ(sheet.rows[1], (std::vector<Cell>{{"n", "2"}, {"n", "20"}}));
}

TEST_F(ExcelFileTest, MoreRowsThanASheetHoldsIsToldAndNothingIsSaved) {
  // 1,048,576 rows and the header are one row too many.
  const std::string db = MakeSqliteDatabase(folder, {});
  const std::string query =
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1048576) SELECT i FROM n";
  EXPECT_FALSE(Write(db, query));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "The result has more rows than a worksheet holds (1,048,575 rows below the header).");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.messages[1].text, "Error during Excel document generation");
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ExcelFileTest, WithoutAWorkFolderTheUserIsToldTwice) {
  const std::string db = MakeSqliteDatabase(folder, {"CREATE TABLE t (n INTEGER)", "INSERT INTO t VALUES (1)"});
  const char* saved = std::getenv("TMPDIR");
  const std::string previous = saved ? saved : "";
  setenv("TMPDIR", folder.File("no such folder").c_str(), 1);
  TraceCapture trace;
  const bool ok = Write(db, "SELECT * FROM t");
  if (saved)
    setenv("TMPDIR", previous.c_str(), 1);
  else
    unsetenv("TMPDIR");
  EXPECT_FALSE(ok);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "Si prega di verificare l'istallazione di Excel");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.messages[0].caption, "ERROR");
  EXPECT_EQ(ui.messages[1].text, "Error during Excel document generation");
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::Error);
  EXPECT_TRUE(trace.Has("E|COM not initialized or Excel not installed"));
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ExcelAutomationTest, LimitsAndOrderOfCells) {
  ExcelAutomation excel;
  excel.SetCell(0, 0, ado::Variant("x"));
  EXPECT_TRUE(excel.Failed());
  EXPECT_EQ(excel.LastError(), "Error: no active sheet to work with.");

  ExcelAutomation sheet;
  EXPECT_COM_ERROR(sheet.NewWorkbook("bad/name"), ado::E_FAIL);
  sheet.NewWorkbook("Export");
  EXPECT_THROW(sheet.SetCell(kSheetMaxColumns, 0, ado::Variant(1.0)), SheetLimitError);
  EXPECT_THROW(sheet.SetCell(0, kSheetMaxRows, ado::Variant(1.0)), SheetLimitError);
  EXPECT_THROW(sheet.SetCell(0, 0, ado::Variant(std::string(40000, 'x'))), SheetLimitError);
  sheet.SetCell(0, 5, ado::Variant(1.0));
  EXPECT_COM_ERROR(sheet.SetCell(0, 4, ado::Variant(1.0)), ado::E_INVALIDARG);
  EXPECT_FALSE(sheet.Failed());
}
}  // namespace
