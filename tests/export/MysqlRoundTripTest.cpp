// The MySQL script on a real server: generated from the sample SQLite database, from a SQLite table
// of awkward values and from a PostgreSQL table, run with the mariadb client on the test command's
// MariaDB, and every value of every recreated table held against its source. The sources and the
// target are read with their own tools (libsqlite3, psql, the mariadb client), not with the code
// under test.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <sstream>

#include "data/ado/Decimal.h"
#include "export/MysqlScriptGenerator.h"
#include "export/ScriptExport.h"
#include "export/ScriptGenerator.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/SourceRows.h"

namespace {
enum class Kind { Text, Integer, Boolean, Double, Single, Decimal, Date, DateTime, Time };

struct Column {
  std::string name;
  Kind kind;
};

using Rows = std::vector<std::vector<std::string>>;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

std::string ShortestDouble(double value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, ec == std::errc() ? end : buffer);
}

std::string NormalDecimal(const std::string& text) {
  const auto d = ado::Decimal::Parse(text);
  if (!d) return "<not a decimal: " + text + ">";
  std::string s = d->ToString('.');
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

// One value as text read back from a server, in the form both sides are compared in.
std::string Canonical(Kind kind, const std::string& text) {
  if (text == "NULL") return text;
  switch (kind) {
    case Kind::Double:
      return ShortestDouble(std::strtod(text.c_str(), nullptr));
    case Kind::Single:
      return ShortestDouble(static_cast<float>(std::strtod(text.c_str(), nullptr)));
    case Kind::Decimal:
      return NormalDecimal(text);
    case Kind::Boolean:
      return std::strtoll(text.c_str(), nullptr, 10) != 0 ? "1" : "0";
    default:
      return text;
  }
}

Kind KindOfDeclared(const std::string& declared) {
  if (declared == "BOOLEAN") return Kind::Boolean;
  if (declared == "DATE") return Kind::Date;
  if (declared == "DATETIME") return Kind::DateTime;
  if (declared == "REAL" || declared == "DOUBLE") return Kind::Double;
  if (declared.rfind("DECIMAL", 0) == 0 || declared == "MONEY") return Kind::Decimal;
  if (declared.find("INT") != std::string::npos) return Kind::Integer;
  return Kind::Text;  // TEXT, VARCHAR, BLOB: compared as bytes
}

class MysqlRoundTripTest : public testing::Test {
 protected:
  void SetUp() override {
    port = Env("QELVO_MARIADB_PORT");
    if (port.empty())
      GTEST_SKIP() << "No MariaDB server: the test command starts one with scripts/servers.sh and exports "
                      "QELVO_MARIADB_PORT";
    settings.SetText("Export", "OutputFile", script);
    settings.SetText("Export", "AppendMode", "0");
    settings.SetText("Export", "ExportMode", "1");
    // Backquotes, as a MySQL user sets them.
    for (const char* key : {"TableNamePrefix", "TableNamePostfix", "FieldNamePrefix", "FieldNamePostfix"})
      settings.SetText("General", key, "`");
  }

  std::string Client() const {
    return "mariadb --no-defaults -h 127.0.0.1 -P " + port + " -u tester -psecret exportdb";
  }

  void RunScript() {
    std::string output;
    ASSERT_EQ(RunShell(Client() + " < " + ShellQuote(script), output), 0) << output;
  }

  void Export(const std::string& connectionString, const std::vector<std::string>& tables) {
    MysqlScriptGenerator generator{settings};
    RecordingUi ui;
    RecordingStarter starter;
    RunScriptExport(generator, connectionString, tables, std::nullopt, ui, settings, starter);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text;
    ASSERT_EQ(starter.started.size(), 1u);
  }

  // The rows of a MariaDB table, every column in its canonical form, sorted.
  Rows TargetRows(const std::string& table, const std::vector<Column>& columns) {
    std::string select = "SELECT ";
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::string name = "`" + columns[c].name + "`";
      std::string expression = "CAST(" + name + " AS CHAR)";
      if (columns[c].kind == Kind::Text) expression = "HEX(" + name + ")";
      if (columns[c].kind == Kind::Single) expression = "CAST(" + name + " AS DOUBLE)";
      if (columns[c].kind == Kind::DateTime) expression = "DATE_FORMAT(" + name + ", '%Y-%m-%d %H:%i:%s')";
      select += (c ? ", " : "") + std::string("IFNULL(") + expression + ", 'NULL')";
    }
    select += " FROM `" + table + "`";
    std::string output;
    EXPECT_EQ(RunShell(Client() + " -B -N -e " + ShellQuote(select), output, false), 0) << select;
    Rows rows;
    for (const std::string& line : Split(output, '\n')) {
      std::vector<std::string> cells = Split(line, '\t');
      if (line.back() == '\t') cells.push_back("");
      for (std::size_t c = 0; c < cells.size() && c < columns.size(); ++c)
        cells[c] = Canonical(columns[c].kind, cells[c]);
      rows.push_back(cells);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
  }

  // The PostgreSQL test server's export database as a connection string; empty without a server.
  std::string PostgresExportDb() const {
    std::string pg = Env("QELVO_TEST_PG");
    if (Env("QELVO_PG_PORT").empty() || pg.empty()) return {};
    const std::size_t at = pg.find("DATABASE=testdb");
    if (at == std::string::npos) {
      ADD_FAILURE() << "no test database in " << pg;
      return {};
    }
    return pg.replace(at, 15, "DATABASE=exportdb");
  }

  // The client that reaches that database.
  static std::string Psql() {
    return "PGPASSWORD=secret psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p " + Env("QELVO_PG_PORT") +
           " -U tester -d exportdb";
  }

  void RunPsqlScript(const std::string& sql) {
    WriteFileBytes(folder.File("setup.sql"), sql);
    std::string output;
    ASSERT_EQ(RunShell(Psql() + " -f " + ShellQuote(folder.File("setup.sql")), output), 0) << output;
  }

  std::string port;
  TempFolder folder;
  std::string script = folder.File("script.sql");
  SettingsStore settings = DefaultSettings();
};

// A SQLite table as columns and canonical, sorted rows.
void SqliteSource(const std::string& file, const std::string& table, std::vector<Column>& columns, Rows& rows) {
  const SourceTable source = ReadSourceTable(file, "SELECT * FROM \"" + table + "\"");
  columns.clear();
  for (std::size_t c = 0; c < source.names.size(); ++c)
    columns.push_back({source.names[c], KindOfDeclared(source.declaredTypes[c])});
  rows.clear();
  for (const auto& row : source.rows) {
    std::vector<std::string> cells;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const SourceValue& v = row[c];
      std::string text;
      if (v.storage == SQLITE_NULL) text = "NULL";
      if (v.storage == SQLITE_INTEGER) text = std::to_string(v.integer);
      if (v.storage == SQLITE_FLOAT) text = ShortestDouble(v.real);
      if (v.storage == SQLITE_TEXT || v.storage == SQLITE_BLOB)
        text = columns[c].kind == Kind::Text ? HexDigits(v.bytes) : v.bytes;
      if (columns[c].kind == Kind::Date && text != "NULL") text = text.substr(0, 10);
      cells.push_back(Canonical(columns[c].kind, text));
    }
    rows.push_back(cells);
  }
  std::sort(rows.begin(), rows.end());
}

TEST_F(MysqlRoundTripTest, SampleDatabaseArrivesWhole) {
  const std::string sample = SampleDatabasePath();
  if (sample.empty()) GTEST_SKIP() << "QELVO_SAMPLE_DB is not set: run through ctest";
  const std::vector<std::string> tables = {"Categories", "Customers", "Products", "Orders", "Order Details", "Notes"};
  Export(SqliteConnectionString(sample), tables);
  RunScript();
  for (const std::string& table : tables) {
    std::vector<Column> columns;
    Rows expected;
    SqliteSource(sample, table, columns, expected);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(TargetRows(table, columns), expected) << table;
  }
}

TEST_F(MysqlRoundTripTest, AwkwardValuesArriveUnchanged) {
  std::string latin = "''";
  for (int c = 128; c < 256; ++c) latin += " || char(" + std::to_string(c) + ")";
  std::string allBytes = "X'";
  for (int b = 0; b < 256; ++b) allBytes += HexDigits(std::string(1, static_cast<char>(b)));
  allBytes += "'";
  const std::string db = MakeSqliteDatabase(
      folder,
      {"CREATE TABLE \"Edge Values\" (id INTEGER PRIMARY KEY AUTOINCREMENT, t TEXT, v VARCHAR(300), b BLOB, "
       "i BIGINT, r DOUBLE, d DECIMAL(20,6), m MONEY, dt DATETIME, dd DATE, f BOOLEAN, \"odd name\" INTEGER)",
       "INSERT INTO \"Edge Values\" VALUES (1, 'it''s \"q\" \\ back\\\\slash', 'tab' || char(9) || 'cr' || char(13) "
       "|| char(10) || 'lf' || char(10), X'', -9223372036854775808, 0.1, 12345678.123456, -1234.5678, "
       "'1000-01-01 00:00:00', '9999-12-31', 1, 1)",
       "INSERT INTO \"Edge Values\" VALUES (2, 'a' || char(26) || char(0) || 'z' || char(8), " + latin +
           " || char(128512), " + allBytes +
           ", 9223372036854775807, 1.0 / 3, -0.000001, 0, '2024-02-29 23:59:59', '2024-01-31', 0, -2147483648)",
       "INSERT INTO \"Edge Values\" (id) VALUES (3)",
       "INSERT INTO \"Edge Values\" VALUES (4, '', ' both ends ', X'00', 0, 1e300, 0, 922337203685.4775, "
       "'1970-01-01 00:00:00', '0001-01-01', 0, 2147483647)",
       "INSERT INTO \"Edge Values\" (id, r) VALUES (5, 2.2250738585072014e-308)",
       "INSERT INTO \"Edge Values\" (id, r) VALUES (6, -1.7976931348623157e308)",
       "INSERT INTO \"Edge Values\" (id, r) VALUES (7, 4.9406564584124654e-324)"},
      "edge.db");
  Export(db, {"Edge Values"});
  RunScript();
  std::vector<Column> columns;
  Rows expected;
  SqliteSource(folder.File("edge.db"), "Edge Values", columns, expected);
  ASSERT_EQ(expected.size(), 7u);
  EXPECT_EQ(TargetRows("Edge Values", columns), expected);
}

TEST_F(MysqlRoundTripTest, PostgreSqlTableArrivesWhole) {
  const std::string pg = PostgresExportDb();
  if (pg.empty()) GTEST_SKIP() << "No PostgreSQL server: the test command starts one";
  RunPsqlScript(R"(
DROP TABLE IF EXISTS qelvo_pg_edge;
CREATE TABLE qelvo_pg_edge (id serial PRIMARY KEY, t text, v varchar(100), b bytea, i bigint, s smallint,
  n numeric(38,10), r double precision, f real, ts timestamp, d date, tm time, flag boolean);
INSERT INTO qelvo_pg_edge (t, v, b, i, s, n, r, f, ts, d, tm, flag) VALUES
  (E'quote '' dq " back\\ tab\t cr\r lf\n sub\x1a', 'Ålesund 日本 😀', '\x00ff7f80'::bytea,
   -9223372036854775808, -32768, 1234567890123456789012345678.0123456789, 0.1, 0.1, '2024-01-31 08:05:09',
   '2024-01-31', '08:05:09', true),
  ('', '', ''::bytea, 9223372036854775807, 32767, -0.0000000001, 1e300, 3.4028235e38, '1753-01-01 00:00:00',
   '9999-12-31', '23:59:59', false),
  (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  ('x', 'y', '\x'::bytea, 0, 0, 0, 1.0/3, -1.17549435e-38, '2000-02-29 12:00:00', '2000-02-29', '00:00:00', true);
)");
  if (HasFatalFailure()) return;

  Export(pg, {"qelvo_pg_edge"});
  RunScript();

  const std::vector<Column> columns = {
      {"id", Kind::Integer}, {"t", Kind::Text},    {"v", Kind::Text},      {"b", Kind::Text},   {"i", Kind::Integer},
      {"s", Kind::Integer},  {"n", Kind::Decimal}, {"r", Kind::Double},    {"f", Kind::Single}, {"ts", Kind::DateTime},
      {"d", Kind::Date},     {"tm", Kind::Time},   {"flag", Kind::Boolean}};
  const std::string select =
      "SELECT id, coalesce(encode(convert_to(t, 'UTF8'), 'hex'), 'NULL'), coalesce(encode(convert_to(v, 'UTF8'), "
      "'hex'), 'NULL'), coalesce(encode(b, 'hex'), 'NULL'), coalesce(i::text, 'NULL'), coalesce(s::text, 'NULL'), "
      "coalesce(n::text, 'NULL'), coalesce(r::text, 'NULL'), coalesce(f::float8::text, 'NULL'), "
      "coalesce(to_char(ts, 'YYYY-MM-DD HH24:MI:SS'), 'NULL'), coalesce(d::text, 'NULL'), coalesce(tm::text, 'NULL'), "
      "CASE WHEN flag IS NULL THEN 'NULL' WHEN flag THEN '1' ELSE '0' END FROM qelvo_pg_edge";
  std::string output;
  ASSERT_EQ(RunShell(Psql() + " -A -t -F '\t' -c " + ShellQuote(select), output, false), 0) << output;
  Rows expected;
  for (const std::string& line : Split(output, '\n')) {
    std::vector<std::string> cells = Split(line, '\t');
    ASSERT_EQ(cells.size(), columns.size()) << line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (columns[c].kind == Kind::Text) {
        for (char& ch : cells[c]) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (cells[c] == "NULL") cells[c] = "NULL";
      }
      cells[c] = Canonical(columns[c].kind, cells[c]);
    }
    expected.push_back(cells);
  }
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(expected.size(), 4u);
  EXPECT_EQ(TargetRows("qelvo_pg_edge", columns), expected);
}
}  // namespace

namespace {
// What real databases held that made earlier scripts fail on MariaDB: text keys, a table named with
// a blank under the default [ ] delimiters, reserved names, NOT NULL columns, decimal commas and
// fractions of a second. The script must load whole (the client stops at the first error).
class MysqlLoadTest : public MysqlRoundTripTest {
 protected:
  void SetUp() override {
    MysqlRoundTripTest::SetUp();
    if (IsSkipped()) return;
    for (const char* key : {"TableNamePrefix", "FieldNamePrefix"}) settings.SetText("General", key, "[");
    for (const char* key : {"TableNamePostfix", "FieldNamePostfix"}) settings.SetText("General", key, "]");
  }

  std::string Query(const std::string& select) {
    std::string output;
    EXPECT_EQ(RunShell(Client() + " -B -N -e " + ShellQuote(select), output, false), 0) << select;
    return output;
  }
};

TEST_F(MysqlLoadTest, SqliteTablesWithTextKeysAndDefaultDelimitersLoadWhole) {
  const std::string longKey(1000, 'k');
  const std::string db = MakeSqliteDatabase(
      folder,
      {"CREATE TABLE \"qk Order Details\" (\"Unit Price\" INTEGER NOT NULL, \"order\" TEXT, \"key\" INTEGER)",
       "INSERT INTO \"qk Order Details\" VALUES (5, 'first', 1)",
       "CREATE TABLE qk_codes (code TEXT PRIMARY KEY, label TEXT NOT NULL, note TEXT)",
       "INSERT INTO qk_codes VALUES ('IT', 'Italia', NULL)", "INSERT INTO qk_codes VALUES ('Zürich', 'Svizzera', 'x')",
       "INSERT INTO qk_codes VALUES ('" + longKey + "a', 'long a', NULL)",
       "INSERT INTO qk_codes VALUES ('a" + longKey + "', 'long b', NULL)",
       "CREATE TABLE qk_pairs (a TEXT, b TEXT, v INTEGER NOT NULL, PRIMARY KEY (a, b))",
       "INSERT INTO qk_pairs VALUES ('x', 'y', 1)", "INSERT INTO qk_pairs VALUES ('x', 'z', 2)",
       "CREATE TABLE qk_prices (id INTEGER PRIMARY KEY, m MONEY, d DECIMAL(10,2))",
       "INSERT INTO qk_prices VALUES (1, '12,5', '3,25')", "INSERT INTO qk_prices VALUES (2, 7, 0.5)",
       "CREATE TABLE qk_events (id INTEGER PRIMARY KEY, at DATETIME)",
       "INSERT INTO qk_events VALUES (1, '2024-01-31 08:05:09.125')",
       "INSERT INTO qk_events VALUES (2, '2024-01-31 08:05:10')"},
      "keys.db");
  const std::vector<std::string> tables = {"qk Order Details", "qk_codes", "qk_pairs", "qk_prices", "qk_events"};
  Export(db, tables);
  RunScript();
  for (const std::string& table : {std::string("qk Order Details"), std::string("qk_codes"), std::string("qk_pairs")}) {
    std::vector<Column> columns;
    Rows expected;
    SqliteSource(folder.File("keys.db"), table, columns, expected);
    EXPECT_EQ(TargetRows(table, columns), expected) << table;
  }
  EXPECT_EQ(Query("SELECT CAST(m AS CHAR), CAST(d AS CHAR) FROM qk_prices ORDER BY id"),
            "12.5000\t3.25\n7.0000\t0.50\n");
  EXPECT_EQ(Query("SELECT DATE_FORMAT(at, '%Y-%m-%d %H:%i:%s.%f') FROM qk_events ORDER BY id"),
            "2024-01-31 08:05:09.125000\n2024-01-31 08:05:10.000000\n");
  EXPECT_EQ(Query("SELECT COLUMN_NAME, IS_NULLABLE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                  "'exportdb' AND TABLE_NAME = 'qk_codes' ORDER BY ORDINAL_POSITION"),
            "code\tNO\nlabel\tNO\nnote\tYES\n");
}

TEST_F(MysqlLoadTest, PostgreSqlTextKeysLoadWhole) {
  const std::string pg = PostgresExportDb();
  if (pg.empty()) GTEST_SKIP() << "No PostgreSQL server: the test command starts one";
  RunPsqlScript(R"(
DROP TABLE IF EXISTS qk_pg_keys;
CREATE TABLE qk_pg_keys (code text PRIMARY KEY, label text NOT NULL, at timestamp(3), amount numeric(10,2) NOT NULL);
INSERT INTO qk_pg_keys VALUES ('Ålesund', 'fjord', '2024-01-31 08:05:09.125', 12.5), ('x', 'y', NULL, 0);
)");
  if (HasFatalFailure()) return;
  Export(pg, {"qk_pg_keys"});
  RunScript();
  EXPECT_EQ(Query("SELECT code, label, IFNULL(DATE_FORMAT(at, '%Y-%m-%d %H:%i:%s.%f'), 'NULL'), CAST(amount AS "
                  "CHAR) FROM qk_pg_keys ORDER BY amount"),
            "x\ty\tNULL\t0.00\nÅlesund\tfjord\t2024-01-31 08:05:09.125000\t12.50\n");
  EXPECT_EQ(Query("SELECT COLUMN_NAME, IS_NULLABLE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
                  "'exportdb' AND TABLE_NAME = 'qk_pg_keys' ORDER BY ORDINAL_POSITION"),
            "code\tNO\nlabel\tNO\nat\tYES\namount\tNO\n");
}
}  // namespace
