// The ADO stand-in's contract, written against the object model and run on every database.
#include <gtest/gtest.h>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/ComErrorOf.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"
#include "text/OleDate.h"

using namespace ado;

namespace {

class AdoConformance : public testing::TestWithParam<TestDatabase>, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    db_ = std::make_unique<FreshDatabase>(GetParam());
    const TestDatabase& p = GetParam();
    db_->Run({"CREATE TABLE qt_people (id " + p.autoIncrementKey +
                  ", name VARCHAR(40), qty INTEGER, price DECIMAL(10,2), ratio " + p.doubleType + ", born DATE, seen " +
                  p.timestampType + ", active " + p.booleanType + ", notes TEXT)",
              "INSERT INTO qt_people (name, qty, price, ratio, born, seen, active, notes) VALUES "
              "('O''Brien', 1500, 12.50, 0.1, '2003-02-01', '2003-02-01 10:00:00', TRUE, 'a;b,c')",
              "INSERT INTO qt_people (name, qty, price, ratio, born, seen, active, notes) VALUES "
              "('Müller', 20, 0.99, 0.5, '2003-02-03', '2003-02-05 23:59:59', FALSE, NULL)",
              "INSERT INTO qt_people (name, qty, price, ratio, born, seen, active, notes) VALUES "
              "(NULL, 7, NULL, NULL, NULL, NULL, NULL, " +
                  p.twoLines + ")",
              "INSERT INTO qt_people (name, qty, price, ratio, born, seen, active, notes) VALUES "
              "('obrien lower', 1500, 100.00, 1e300, '2003-02-06', '2003-02-06 00:00:00', TRUE, '')"});
    Connect(db_->ConnectionString());
  }

  // Column values of every row in the recordset's current order.
  static std::vector<std::string> Column(const RecordsetPtr& rs, const std::string& field) {
    std::vector<std::string> out;
    if (rs->GetRecordCount() != 0) rs->MoveFirst();
    while (!rs->GetEOF()) {
      Variant v = rs->GetCollect(field);
      out.push_back(v.IsNull() ? "<null>" : v.ToText());
      rs->MoveNext();
    }
    return out;
  }

  std::unique_ptr<FreshDatabase> db_;
};

}  // namespace

TEST_P(AdoConformance, ClientCursorHoldsEveryRowAndCountsExactly) {
  RecordsetPtr rs = Open("SELECT id, name FROM qt_people ORDER BY id");
  EXPECT_EQ(rs->GetRecordCount(), 4);
  EXPECT_FALSE(rs->GetBOF());
  int walked = 0;
  while (!rs->GetEOF()) {
    ++walked;
    rs->MoveNext();
  }
  EXPECT_EQ(walked, 4);
  EXPECT_COM_ERROR(rs->MoveNext(), adErrNoCurrentRecord);
  rs->MoveFirst();
  EXPECT_EQ(rs->GetCollect("name").Str(), "O'Brien");
}

TEST_P(AdoConformance, ServerCursorCountsOnlyAfterTheEnd) {
  RecordsetPtr rs = Open("SELECT id, name FROM qt_people ORDER BY id", adUseServer);
  EXPECT_EQ(rs->GetRecordCount(), -1);
  rs->MoveNext();
  EXPECT_EQ(rs->GetRecordCount(), -1);
  while (!rs->GetEOF()) rs->MoveNext();
  EXPECT_EQ(rs->GetRecordCount(), 4);
  rs->MoveFirst();
  EXPECT_EQ(rs->GetCollect("name").Str(), "O'Brien");
  rs->Move(2);
  EXPECT_TRUE(rs->GetCollect("name").IsNull());
}

TEST_P(AdoConformance, EmptyResultIsBothBofAndEof) {
  for (long location : {adUseClient, adUseServer}) {
    RecordsetPtr rs = Open("SELECT id FROM qt_people WHERE 1 = 0", location);
    EXPECT_TRUE(rs->GetBOF());
    EXPECT_TRUE(rs->GetEOF());
    EXPECT_COM_ERROR(rs->GetCollect(0L), adErrNoCurrentRecord);
  }
}

TEST_P(AdoConformance, AStatementWithoutRowsRunsAndLeavesTheRecordsetClosed) {
  RecordsetPtr rs;
  rs.CreateInstance();
  rs->Open("UPDATE qt_people SET qty = 8 WHERE qty = 7", connection_, adOpenKeyset, adLockOptimistic, adCmdText);
  EXPECT_EQ(rs->GetState(), adStateClosed);
  EXPECT_EQ(Column(Open("SELECT qty FROM qt_people WHERE qty = 8"), "qty"), (std::vector<std::string>{"8"}));
  // It keeps the count of rows the statement changed.
  EXPECT_EQ(rs->GetRowsAffected(), 1);
  rs->Open("DELETE FROM qt_people WHERE 1 = 0", connection_, adOpenKeyset, adLockOptimistic, adCmdText);
  EXPECT_EQ(rs->GetRowsAffected(), 0);
  rs->Open("UPDATE qt_people SET qty = COALESCE(qty, 0) + 1", connection_, adOpenKeyset, adLockOptimistic, adCmdText);
  EXPECT_EQ(rs->GetRowsAffected(), 4);
  // An open result has rows, not a count of changes.
  RecordsetPtr rows = Open("SELECT id FROM qt_people");
  EXPECT_EQ(rows->GetRowsAffected(), -1);
}

TEST_P(AdoConformance, ValuesOfEveryType) {
  RecordsetPtr rs = Open("SELECT name, qty, price, ratio, born, seen, active, notes FROM qt_people ORDER BY id");
  FieldsPtr f = rs->GetFields();
  EXPECT_EQ(f->GetItem("price")->GetType(), adNumeric);
  EXPECT_EQ(f->GetItem("price")->GetPrecision(), 10);
  EXPECT_EQ(f->GetItem("price")->GetNumericScale(), 2);
  EXPECT_EQ(f->GetItem("ratio")->GetType(), adDouble);
  EXPECT_EQ(f->GetItem("born")->GetType(), adDBDate);
  EXPECT_EQ(f->GetItem("seen")->GetType(), adDBTimeStamp);

  EXPECT_EQ(rs->GetCollect("name").Str(), "O'Brien");
  EXPECT_EQ(rs->GetCollect("qty").ToInt64(), 1500);
  Variant price = rs->GetCollect("price");
  ASSERT_EQ(price.vt(), VT_DECIMAL);
  EXPECT_EQ(price.Dec().ToString(), "12.50");
  EXPECT_EQ(rs->GetCollect("ratio").ToDouble(), 0.1);
  Variant born = rs->GetCollect("born");
  ASSERT_EQ(born.vt(), VT_DATE);
  EXPECT_EQ(FormatIsoDate(born.Real()), "2003-02-01");
  Variant seen = rs->GetCollect("seen");
  ASSERT_EQ(seen.vt(), VT_DATE);
  EXPECT_EQ(FormatIsoDateTime(seen.Real()), "2003-02-01 10:00:00");
  EXPECT_TRUE(rs->GetCollect("active").ToBool());
  EXPECT_EQ(rs->GetCollect("notes").Str(), "a;b,c");

  rs->MoveNext();
  EXPECT_EQ(rs->GetCollect("name").Str(), "Müller");
  EXPECT_FALSE(rs->GetCollect("active").ToBool());
  EXPECT_TRUE(rs->GetCollect("notes").IsNull());

  rs->MoveNext();
  EXPECT_TRUE(rs->GetCollect("name").IsNull());
  EXPECT_TRUE(rs->GetCollect("price").IsNull());
  EXPECT_TRUE(rs->GetCollect("born").IsNull());
  EXPECT_EQ(rs->GetCollect("notes").Str(), "line1\nline2");

  rs->MoveNext();
  EXPECT_EQ(rs->GetCollect("ratio").ToDouble(), 1e300);
  EXPECT_EQ(rs->GetCollect("notes").Str(), "") << "an empty string is not NULL";
  EXPECT_FALSE(rs->GetCollect("notes").IsNull());
}

TEST_P(AdoConformance, LongTextGoesInChunksAndComesBackWhole) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += static_cast<char>('a' + i % 26);
  RecordsetPtr rs = Open("SELECT id, notes FROM qt_people WHERE qty = 7");
  FieldPtr notes = rs->GetFields()->GetItem("notes");
  ASSERT_TRUE(notes->GetAttributes() & adFldLong);
  for (std::size_t off = 0; off < text.size(); off += 8192) notes->AppendChunk(Variant::Bytes(text.substr(off, 8192)));
  rs->Update();
  rs->Close();
  RecordsetPtr again = Open("SELECT notes FROM qt_people WHERE qty = 7");
  EXPECT_EQ(again->GetCollect("notes").Str(), text);
}

TEST_P(AdoConformance, SortIsTypedStableWithNullsFirst) {
  RecordsetPtr rs = Open("SELECT id, name, qty, price FROM qt_people ORDER BY id");
  rs->PutSort("[name] ASC");
  EXPECT_EQ(Column(rs, "name"), (std::vector<std::string>{"<null>", "Müller", "O'Brien", "obrien lower"}));
  rs->PutSort("name DESC");
  EXPECT_EQ(Column(rs, "name"), (std::vector<std::string>{"obrien lower", "O'Brien", "Müller", "<null>"}));
  rs->PutSort("qty ASC");  // two rows of 1500 keep their order
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"3", "2", "1", "4"}));
  rs->PutSort("[qty] DESC, [price] DESC");
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"4", "1", "2", "3"}));
  rs->PutSort("");
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_COM_ERROR(rs->PutSort("[nosuch] ASC"), adErrInvalidArgument);
}

TEST_P(AdoConformance, FilterTakesTheCriteriaTheGridBuilds) {
  RecordsetPtr rs = Open("SELECT id, name, qty, active, born, seen FROM qt_people ORDER BY id");
  rs->PutFilter(Variant("name like 'O''Br%'"));
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"1"}));
  rs->PutFilter(Variant("qty=1500"));
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"1", "4"}));
  rs->PutFilter(Variant("active<>0"));
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"1", "4"}));
  rs->PutFilter(Variant("born >= '2003-02-01' AND born <= '2003-02-05 23:59:59'"));
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"1", "2"}));
  rs->PutFilter(Variant("seen >= '2003-02-01' AND seen <= '2003-02-05 23:59:59'"));
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"1", "2"}));
  rs->PutFilter(Variant("name like 'obrien%' OR (qty = 20 AND active = 0)"));
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"2", "4"}));
  EXPECT_EQ(rs->GetRecordCount(), 2);
  EXPECT_EQ(rs->GetUnfilteredRecordCount(), 4) << "the records behind the filter";

  // Bad criteria raise and leave the previous filter in place.
  EXPECT_COM_ERROR(rs->PutFilter(Variant("qty = 'abc'")), adErrInvalidArgument);
  EXPECT_COM_ERROR(rs->PutFilter(Variant("nosuch = 1")), adErrInvalidArgument);
  EXPECT_COM_ERROR(rs->PutFilter(Variant("qty = ")), adErrInvalidArgument);
  EXPECT_EQ(Column(rs, "id"), (std::vector<std::string>{"2", "4"}));

  rs->PutFilter(Variant(std::int32_t{adFilterNone}));
  EXPECT_EQ(rs->GetRecordCount(), 4);
}

TEST_P(AdoConformance, AddNewWritesTheRowAndReadsBackTheNewKey) {
  RecordsetPtr rs = Open("SELECT id, name, qty, price, born FROM qt_people ORDER BY id");
  rs->AddNew();
  rs->PutCollect("name", Variant("Nuovo; \"quoted\""));
  rs->PutCollect("qty", Variant("42"));  // text converts to the field's type
  rs->PutCollect("price", Variant(Decimal::Parse("1234.56").value()));
  rs->PutCollect("born", Variant::Date(PartsToOleDate(DateParts{2024, 2, 0, 29, 0, 0, 0, 0}).value()));
  rs->Update();
  Variant id = rs->GetCollect("id");
  ASSERT_TRUE(id.HasValue());
  EXPECT_EQ(id.ToInt64(), 5);
  EXPECT_EQ(rs->GetRecordCount(), 5);

  RecordsetPtr check = Open("SELECT name, qty, price, born FROM qt_people WHERE id = 5");
  EXPECT_EQ(check->GetCollect("name").Str(), "Nuovo; \"quoted\"");
  EXPECT_EQ(check->GetCollect("qty").ToInt64(), 42);
  EXPECT_EQ(check->GetCollect("price").ToDecimal().ToString(), "1234.56");
  EXPECT_EQ(FormatIsoDate(check->GetCollect("born").ToDate()), "2024-02-29");

  EXPECT_COM_ERROR(rs->PutCollect("qty", Variant("not a number")), DB_E_ERRORSOCCURRED);
}

TEST_P(AdoConformance, UpdateAndDeleteFindTheRowByItsKey) {
  RecordsetPtr rs = Open("SELECT id, name, qty FROM qt_people ORDER BY id");
  rs->Move(1);
  rs->PutCollect("name", Variant("Changed"));
  rs->Update();
  rs->MoveFirst();
  rs->Delete();
  EXPECT_EQ(rs->GetRecordCount(), 3);
  rs->MoveNext();
  EXPECT_EQ(rs->GetCollect("name").Str(), "Changed");

  RecordsetPtr check = Open("SELECT id, name FROM qt_people ORDER BY id");
  EXPECT_EQ(Column(check, "name"), (std::vector<std::string>{"Changed", "<null>", "obrien lower"}));
}

TEST_P(AdoConformance, CancelUpdateDropsPendingValues) {
  RecordsetPtr rs = Open("SELECT id, name FROM qt_people ORDER BY id");
  rs->PutCollect("name", Variant("Pending"));
  EXPECT_EQ(rs->GetEditMode(), adEditInProgress);
  EXPECT_EQ(rs->GetCollect("name").Str(), "Pending");
  rs->CancelUpdate();
  EXPECT_EQ(rs->GetCollect("name").Str(), "O'Brien");
  rs->AddNew();
  rs->CancelUpdate();
  EXPECT_EQ(rs->GetRecordCount(), 4);
  EXPECT_EQ(Column(Open("SELECT name FROM qt_people WHERE name = 'Pending'"), "name").size(), 0u);
}

TEST_P(AdoConformance, WithoutAKeyTheRowIsFoundByAllItsValues) {
  db_->Run({"CREATE TABLE qt_nokey (a INTEGER, b VARCHAR(10))", "INSERT INTO qt_nokey VALUES (1, 'x')",
            "INSERT INTO qt_nokey VALUES (2, NULL)", "INSERT INTO qt_nokey VALUES (3, 'dup')",
            "INSERT INTO qt_nokey VALUES (3, 'dup')"});
  RecordsetPtr rs = Open("SELECT a, b FROM qt_nokey ORDER BY a");
  rs->MoveNext();  // (2, NULL): found with IS NULL
  rs->PutCollect("b", Variant("y"));
  rs->Update();
  rs->MoveNext();  // one of two identical rows: cannot be told apart
  rs->PutCollect("b", Variant("z"));
  try {
    rs->Update();
    FAIL() << "an ambiguous row must not be updated";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Error(), DB_E_CONCURRENCYVIOLATION);
  }
  rs->CancelUpdate();
  RecordsetPtr check = Open("SELECT a, b FROM qt_nokey ORDER BY a, b");
  EXPECT_EQ(Column(check, "b"), (std::vector<std::string>{"x", "y", "dup", "dup"}));
}

TEST_P(AdoConformance, ARowChangedBehindTheCursorIsNotOverwritten) {
  RecordsetPtr rs = Open("SELECT id, name FROM qt_people ORDER BY id");
  db_->Connection().Execute("DELETE FROM qt_people WHERE id = 1");
  rs->PutCollect("name", Variant("Lost update"));
  EXPECT_COM_ERROR(rs->Update(), DB_E_CONCURRENCYVIOLATION);
  rs->CancelUpdate();
  EXPECT_COM_ERROR(rs->Delete(), DB_E_CONCURRENCYVIOLATION);
  EXPECT_EQ(Column(Open("SELECT name FROM qt_people WHERE name = 'Lost update'"), "name").size(), 0u);
}

TEST_P(AdoConformance, AnEditChecksTheRowStillHoldsWhatWasReadOfEveryType) {
  // Every row, whatever its types and NULLs, is still found by the values it was read with.
  RecordsetPtr rs = Open("SELECT * FROM qt_people ORDER BY id");
  for (rs->MoveFirst(); !rs->GetEOF(); rs->MoveNext()) {
    rs->PutCollect("qty", Variant(std::int32_t{42}));
    EXPECT_NO_THROW(rs->Update());
  }
  EXPECT_EQ(Column(Open("SELECT qty FROM qt_people"), "qty"), (std::vector<std::string>(4, "42")));

  // A value the database rounds on the way in: the next edit of the row starts from what it keeps.
  rs->MoveFirst();
  rs->PutCollect("price", Variant(2.555));
  rs->Update();
  rs->PutCollect("qty", Variant(std::int32_t{43}));
  EXPECT_NO_THROW(rs->Update());
  EXPECT_EQ(Column(Open("SELECT qty FROM qt_people WHERE id = 1"), "qty"), (std::vector<std::string>{"43"}));

  // A value someone else changed since the read: the edit of another column is refused.
  db_->Connection().Execute("UPDATE qt_people SET name = 'Theirs' WHERE id = 2");
  rs->MoveFirst();
  rs->MoveNext();
  rs->PutCollect("qty", Variant(std::int32_t{7}));
  try {
    rs->Update();
    FAIL() << "a row changed since it was read must not be overwritten";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Error(), DB_E_CONCURRENCYVIOLATION);
  }
  rs->CancelUpdate();
  RecordsetPtr check = Open("SELECT name, qty FROM qt_people WHERE id = 2");
  EXPECT_EQ(Column(check, "name"), (std::vector<std::string>{"Theirs"}));
  EXPECT_EQ(Column(check, "qty"), (std::vector<std::string>{"42"}));
}

TEST_P(AdoConformance, SchemaRowsetsListTablesViewsAndColumns) {
  db_->Run({"CREATE VIEW qv_people AS SELECT id, name FROM qt_people"});
  RecordsetPtr tables = connection_->OpenSchema(adSchemaTables);
  bool table = false, view = false;
  while (!tables->GetEOF()) {
    std::string name = tables->GetCollect("TABLE_NAME").ToText();
    std::string type = tables->GetCollect("TABLE_TYPE").ToText();
    if (name == "qt_people") table = type == "TABLE";
    if (name == "qv_people") view = type == "VIEW";
    tables->MoveNext();
  }
  EXPECT_TRUE(table);
  EXPECT_TRUE(view);

  RecordsetPtr columns = connection_->OpenSchema(adSchemaColumns);
  std::vector<std::string> names;
  while (!columns->GetEOF()) {
    if (columns->GetCollect("TABLE_NAME").ToText() == "qt_people") {
      names.push_back(columns->GetCollect("COLUMN_NAME").ToText());
      EXPECT_EQ(columns->GetCollect("ORDINAL_POSITION").ToInt64(), static_cast<std::int64_t>(names.size()));
      EXPECT_TRUE(columns->GetCollect("DATA_TYPE").HasValue());
    }
    columns->MoveNext();
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"id", "name", "qty", "price", "ratio", "born", "seen", "active", "notes"}));
}

TEST_P(AdoConformance, FieldPropertiesNameTheBaseColumn) {
  RecordsetPtr rs = Open("SELECT id, name AS who, qty * 2 AS doubled FROM qt_people");
  FieldsPtr f = rs->GetFields();
  PropertiesPtr id = f->GetItem("id")->GetProperties();
  EXPECT_EQ(id->GetItem("BASETABLENAME")->GetValue().ToText(), "qt_people");
  EXPECT_EQ(id->GetItem("BASECOLUMNNAME")->GetValue().ToText(), "id");
  EXPECT_TRUE(id->GetItem("KEYCOLUMN")->GetValue().ToBool());
  EXPECT_TRUE(id->GetItem("ISAUTOINCREMENT")->GetValue().ToBool());
  PropertiesPtr who = f->GetItem("who")->GetProperties();
  EXPECT_EQ(who->GetItem("BASECOLUMNNAME")->GetValue().ToText(), "name");
  EXPECT_FALSE(who->GetItem("KEYCOLUMN")->GetValue().ToBool());
  EXPECT_TRUE(f->GetItem("who")->GetAttributes() & adFldUpdatable);
  PropertiesPtr doubled = f->GetItem("doubled")->GetProperties();
  Variant base = doubled->GetItem("BASETABLENAME")->GetValue();
  // A computed column has no base table, on every back end.
  EXPECT_TRUE(base.IsNull()) << base.ToText();
  EXPECT_COM_ERROR(doubled->GetItem("NOSUCHPROPERTY"), adErrItemNotFound);
  EXPECT_COM_ERROR(rs->PutCollect("doubled", Variant(std::int32_t{3})), adErrFeatureNotAvailable);
}

TEST_P(AdoConformance, ErrorsInCommandsCarryTheDatabaseText) {
  try {
    connection_->Execute("SELECT * FROM qt_no_such_table");
    FAIL();
  } catch (const ComError& e) {
    EXPECT_TRUE(e.HasErrorInfo());
    EXPECT_NE(e.Description().find("qt_no_such_table"), std::string::npos) << e.Description();
  }
  RecordsetPtr rs;
  rs.CreateInstance();
  EXPECT_COM_ERROR(rs->Open("SELEC 1", connection_, adOpenKeyset, adLockOptimistic, adCmdText), DB_E_ERRORSINCOMMAND);
  EXPECT_EQ(rs->GetState(), adStateClosed);
}

INSTANTIATE_TEST_SUITE_P(Databases, AdoConformance, testing::ValuesIn(TestDatabases()), TestDatabaseName);

TEST(AdoObjects, AnObjectWhoseCreationFailedRaisesNullPointerOnEveryCall) {
  SetCreateInstanceHook([](const std::string& name) { return name == "ADODB.Connection" ? E_OUTOFMEMORY : S_OK; });
  ConnectionPtr connection;
  EXPECT_EQ(connection.CreateInstance(), E_OUTOFMEMORY);
  SetCreateInstanceHook(nullptr);
  EXPECT_FALSE(connection);
  try {
    connection->Open("Provider=SQLite;Data Source=:memory:", "", "");
    FAIL();
  } catch (const ComError& e) {
    EXPECT_EQ(e.Error(), E_POINTER);
  }
  EXPECT_COM_ERROR(connection->GetState(), E_POINTER);
}

TEST(AdoObjects, ProvidersAreChosenFromTheConnectionString) {
  ConnectionPtr c;
  c.CreateInstance();
  c->Open("provider=sqlite;data source=:memory:", "", "");
  EXPECT_EQ(c->GetState(), adStateOpen);
  EXPECT_COM_ERROR(c->Open("Provider=SQLite;Data Source=:memory:", "", ""), adErrObjectOpen) << "already open";
  c->Close();
  EXPECT_COM_ERROR(c->Open("Provider=Nonsense;Data Source=x", "", ""), adErrProviderNotFound);
  EXPECT_COM_ERROR(c->Open("Provider=SQLite;Data Source='unterminated", "", ""), E_FAIL);
  EXPECT_COM_ERROR(c->Open("Provider=SQLite;Data Source=/no/such/folder/x.db", "", ""), E_FAIL);
  EXPECT_EQ(c->GetState(), adStateClosed);
}

TEST_P(AdoConformance, ValueAtReadsAnyShownRowWithoutMovingTheCurrentRecord) {
  RecordsetPtr rs = Open("SELECT id, name, qty FROM qt_people ORDER BY id");
  rs->PutSort("[name] DESC");
  rs->PutFilter(Variant("qty = 1500"));
  ASSERT_EQ(rs->GetViewCount(), 2);
  rs->MoveFirst();
  rs->MoveNext();
  EXPECT_EQ(rs->GetValueAt(0, 1).ToVariant().Str(), "obrien lower");
  EXPECT_EQ(rs->GetValueAt(1, 0).ToVariant().ToText(), "1");
  EXPECT_EQ(rs->GetCollect("id").ToText(), "1");  // still the current record
  EXPECT_COM_ERROR(rs->GetValueAt(2, 0), adErrNoCurrentRecord);
  EXPECT_COM_ERROR(rs->GetValueAt(-1, 0), adErrNoCurrentRecord);
  EXPECT_THROW(rs->GetValueAt(0, 3), ComError);

  // A value put and not yet saved shows at the current record's position only.
  rs->PutCollect("name", Variant("edited"));
  EXPECT_EQ(rs->GetValueAt(1, 1).ToVariant().Str(), "edited");
  EXPECT_EQ(rs->GetValueAt(0, 1).ToVariant().Str(), "obrien lower");
  rs->CancelUpdate();
  EXPECT_EQ(rs->GetValueAt(1, 1).ToVariant().Str(), "O'Brien");

  rs->PutFilter(Variant(std::int32_t{0}));
  EXPECT_EQ(rs->GetViewCount(), 4);
  EXPECT_TRUE(rs->GetValueAt(3, 1).IsNull());
}
