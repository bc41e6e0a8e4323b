// The same rows read through the native provider and through the ODBC provider on the same
// server: every column's type, sizes, attributes and base-column properties, and every value
// (type code and value), for the types PostgreSQL users meet, with NULLs, Unicode, large
// numerics and fractions of a second.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

class PgAgainstOdbc : public testing::Test {
 protected:
  void SetUp() override {
    const char* odbc = std::getenv("QELVO_TEST_PG");
    if (!odbc || !*odbc) GTEST_SKIP() << "needs the test command's PostgreSQL server (QELVO_TEST_PG)";
    odbc_.CreateInstance();
    odbc_->Open(odbc, "", "");
    native_.CreateInstance();
    native_->Open(NativePostgresString(odbc), "", "");
  }

  static RecordsetPtr Read(const ConnectionPtr& connection, const std::string& sql) {
    RecordsetPtr rs;
    rs.CreateInstance();
    rs->Open(sql, connection, adOpenKeyset, adLockOptimistic, adCmdText);
    return rs;
  }

  static std::string Property(const FieldPtr& field, const char* name) {
    Variant v = field->GetProperties()->GetItem(name)->GetValue();
    return v.HasValue() ? v.ToText() : "<null>";
  }

  // Every column described alike and every value equal, row by row.
  void ExpectSame(const std::string& sql) {
    RecordsetPtr a = Read(odbc_, sql);
    RecordsetPtr b = Read(native_, sql);
    FieldsPtr fa = a->GetFields(), fb = b->GetFields();
    ASSERT_EQ(fa->GetCount(), fb->GetCount());
    for (long i = 0; i < fa->GetCount(); ++i) {
      FieldPtr x = fa->GetItem(i), y = fb->GetItem(i);
      SCOPED_TRACE("column " + x->GetName());
      EXPECT_EQ(x->GetName(), y->GetName());
      EXPECT_EQ(x->GetType(), y->GetType());
      EXPECT_EQ(x->GetDefinedSize(), y->GetDefinedSize());
      EXPECT_EQ(x->GetPrecision(), y->GetPrecision());
      EXPECT_EQ(x->GetNumericScale(), y->GetNumericScale());
      EXPECT_EQ(x->GetAttributes(), y->GetAttributes());
      for (const char* p : {"BASESCHEMANAME", "BASETABLENAME", "BASECOLUMNNAME", "KEYCOLUMN", "ISAUTOINCREMENT"})
        EXPECT_EQ(Property(x, p), Property(y, p)) << p;
    }
    ASSERT_EQ(a->GetRecordCount(), b->GetRecordCount());
    for (long row = 0; !a->GetEOF(); ++row, a->MoveNext(), b->MoveNext()) {
      for (long i = 0; i < fa->GetCount(); ++i) {
        Variant x = a->GetCollect(i), y = b->GetCollect(i);
        SCOPED_TRACE("row " + std::to_string(row) + ", column " + fa->GetItem(i)->GetName());
        EXPECT_EQ(x.vt(), y.vt());
        const bool bothNaN =
            (x.vt() == VT_R4 || x.vt() == VT_R8) && x.vt() == y.vt() && x.Real() != x.Real() && y.Real() != y.Real();
        EXPECT_TRUE(x == y || bothNaN) << (x.HasValue() && !x.IsByteArray() ? x.ToText() : "") << " / "
                                       << (y.HasValue() && !y.IsByteArray() ? y.ToText() : "");
      }
    }
  }

  void Run(const std::vector<std::string>& statements) {
    for (const std::string& s : statements) odbc_->Execute(s);
  }

  ConnectionPtr odbc_;
  ConnectionPtr native_;
};

TEST_F(PgAgainstOdbc, TableColumnsOfEveryCommonTypeReadAlike) {
  Run({"DROP TABLE IF EXISTS qp_types",
       "CREATE TABLE qp_types (id SERIAL PRIMARY KEY, i2 SMALLINT, i4 INTEGER NOT NULL DEFAULT 0, i8 BIGINT, "
       "r4 REAL, r8 DOUBLE PRECISION, n NUMERIC(38,10), nfree NUMERIC, n52 NUMERIC(5,2), b BOOLEAN, "
       "d DATE, t TIME, t3 TIME(3), ts TIMESTAMP, ts2 TIMESTAMP(2), c CHAR(5), vc VARCHAR(40), vfree VARCHAR, "
       "tx TEXT, by BYTEA, u UUID, j JSON, jb JSONB, arr INTEGER[], tarr TEXT[], m MONEY, nm NAME, x XML, "
       "ip INET, iv INTERVAL)",
       "INSERT INTO qp_types (i2, i4, i8, r4, r8, n, nfree, n52, b, d, t, t3, ts, ts2, c, vc, vfree, tx, by, u, j, "
       "jb, arr, tarr, m, nm, x, ip, iv) VALUES (-32768, 2147483647, -9223372036854775808, 0.1, 1e300, "
       "1234567890123456789012345678.0123456789, 0.000000000000000000001, -999.99, true, '2024-02-29', "
       "'23:59:59.123456', '00:00:00.5', '2024-02-29 23:59:59.123456', '1999-12-31 00:00:00.25', 'ab', "
       "'Zürich € 𝄞', 'O''Brien', repeat('long ', 3000), '\\x00ff10'::bytea, "
       "'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', '{\"a\": [1, 2]}', '{\"b\": null}', '{1,2,NULL}', "
       "'{\"x y\",z}', 12.34, 'tbl', '<a>1</a>', '192.168.0.1/24', '1 day 02:03:04')",
       "INSERT INTO qp_types (i4) VALUES (0)",
       "INSERT INTO qp_types (i2, i4, r4, r8, n, b, d, ts, vc) VALUES (0, -1, 'NaN', '-Infinity', -0.5, false, "
       "'0100-01-01', '9999-12-31 23:59:59.999', '')"});
  ExpectSame("SELECT * FROM qp_types ORDER BY id");
}

TEST_F(PgAgainstOdbc, ComputedColumnsReadAlike) {
  ExpectSame(
      "SELECT 1::int2 AS a, 2 AS b, 3::int8 AS c, 1.5 AS d, 'x' AS e, now()::date - now()::date AS f, "
      "NULL AS g, NULL::int AS h, true AS i, 12345678901234567890123.5 AS j, 'ä'::char(3) AS k, "
      "ARRAY[1.5, 2.5] AS l, '2024-01-01 10:00:00.5'::timestamp AS m, '2024-01-01 10:00:00.5+02'::timestamptz AS n, "
      "'2024-01-01'::date + 1 AS o, 'NaN'::numeric AS p, 7::oid AS q, gen_random_uuid() IS NOT NULL AS r");
}

TEST_F(PgAgainstOdbc, ZonedTimestampsReadAsTheSessionsWallTime) {
  odbc_->Execute("SET TimeZone TO 'Asia/Kolkata'");
  native_->Execute("SET TimeZone TO 'Asia/Kolkata'");
  ExpectSame("SELECT '2024-07-01 10:00:00.125+02'::timestamptz AS a, '1999-12-31 23:59:59-08'::timestamptz AS b");
}

TEST_F(PgAgainstOdbc, ViewsAndJoinsNameTheirBaseColumnsAlike) {
  Run({"DROP VIEW IF EXISTS qp_view", "DROP TABLE IF EXISTS qp_child", "DROP TABLE IF EXISTS qp_parent",
       "CREATE TABLE qp_parent (id INTEGER GENERATED ALWAYS AS IDENTITY PRIMARY KEY, name VARCHAR(20) NOT NULL)",
       "CREATE TABLE qp_child (a INTEGER, b INTEGER, note TEXT, PRIMARY KEY (a, b))",
       "INSERT INTO qp_parent (name) VALUES ('one'), ('two')", "INSERT INTO qp_child VALUES (1, 1, 'x'), (2, 5, NULL)",
       "CREATE VIEW qp_view AS SELECT p.id, p.name, c.note FROM qp_parent p JOIN qp_child c ON c.a = p.id"});
  ExpectSame(
      "SELECT p.id, p.name AS label, c.b, c.note, p.id + 1 AS next FROM qp_parent p JOIN qp_child c ON c.a = "
      "p.id ORDER BY 1");
  ExpectSame("SELECT * FROM qp_view ORDER BY id");
}

}  // namespace

namespace {

// The rows of a schema rowset that belong to the suite's tables, each value as text.
std::vector<std::string> SchemaRows(const ConnectionPtr& connection, SchemaEnum schema) {
  RecordsetPtr rs = connection->OpenSchema(schema);
  std::vector<std::string> rows;
  for (; !rs->GetEOF(); rs->MoveNext()) {
    // The ODBC driver lists the columns of sequences and indexes too; tables and views are compared.
    const std::string table = rs->GetCollect(2L).ToText();
    if (table != "qp_parent" && table != "qp_child" && table != "qp_view") continue;
    std::string row;
    for (long i = 0; i < rs->GetFields()->GetCount(); ++i) {
      Variant v = rs->GetCollect(i);
      row += (v.HasValue() ? std::to_string(v.vt()) + ":" + v.ToText() : "null") + " | ";
    }
    rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace

TEST_F(PgAgainstOdbc, SchemaRowsetsListTheSameTablesAndColumns) {
  Run({"DROP VIEW IF EXISTS qp_view", "DROP TABLE IF EXISTS qp_child", "DROP TABLE IF EXISTS qp_parent",
       "DROP TABLE IF EXISTS qp_types",
       "CREATE TABLE qp_parent (id INTEGER GENERATED ALWAYS AS IDENTITY PRIMARY KEY, name VARCHAR(20) NOT NULL "
       "DEFAULT 'x', price NUMERIC(10,2), born TIMESTAMP(3), raw BYTEA, flag BOOLEAN, at TIME)",
       "CREATE TABLE qp_child (a SERIAL, b REAL, c CHAR(4), d DATE, e DOUBLE PRECISION, f BIGINT, g UUID)",
       "CREATE VIEW qp_view AS SELECT id, name FROM qp_parent"});
  EXPECT_EQ(SchemaRows(odbc_, adSchemaTables), SchemaRows(native_, adSchemaTables));
  EXPECT_EQ(SchemaRows(odbc_, adSchemaColumns), SchemaRows(native_, adSchemaColumns));
}
