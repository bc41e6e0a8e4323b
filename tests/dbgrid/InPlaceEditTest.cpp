// In-place editing of the result grid on real databases: a cell typed into and ended with Enter
// goes back to its row, read again through a second connection; what cannot be written safely
// is refused with a message and nothing changes.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/ValueFormat.h"
#include "data/VariantText.h"
#include "grid/GridCellCheckEx.h"
#include "grid/GridCellComboEx.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/db/GridCellToDbField.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/dbgrid/RecordEditTestSupport.h"

using namespace dbgridtest;

namespace {

// Grid columns of kQuery: 1 id, 2 name, 3 city, 4 qty, 5 big, 6 price, 7 photo.
constexpr int kName = 2, kCity = 3, kQty = 4, kBig = 5, kPrice = 6;

class InPlaceEdit : public testing::TestWithParam<EditDb> {
 protected:
  void SetUp() override {
    EnsureApp();
    const EditDb& p = GetParam();
    db_ = std::make_unique<ScratchDb>(p.db, std::vector<std::string>{"qe_ord", "qe_cust", "qe_people", "qe_nokey"});
    db_->Run(
        {"CREATE TABLE qe_people (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL, city VARCHAR(40), "
         "qty INTEGER, big BIGINT, price DECIMAL(20,4), photo " +
             p.db.blobType + ")",
         "INSERT INTO qe_people VALUES (1, 'Ann', 'Bern', 3, 9007199254740993, 12.5, " + p.blobLiteral + ")",
         "INSERT INTO qe_people VALUES (2, 'Bob', 'Chur', 4, 1, 0.25, NULL)",
         "INSERT INTO qe_people VALUES (3, 'Cy', 'Genf', 5, 2, 1.75, NULL)"});
    GridOptions options;
    options.moveCursorAfterEdit = 1;
    window_ = std::make_unique<GridWindow>(options);
    Grid().SetEditable(true);
  }

  void TearDown() override {
    window_.reset();
    db_.reset();
  }

  CDbGridCtrl& Grid() { return window_->Grid(); }
  int Row(int recno) { return Grid().GetFirstDataRow() + recno; }
  void Open(const std::string& sql) { ASSERT_TRUE(window_->Run(db_->ConnectionString(), sql)); }
  std::string Read(const std::string& sql) { return ReadBack(db_->ConnectionString(), sql); }
  std::string Blob(const std::string& column, const std::string& where) {
    return Read("SELECT " + FormatString(GetParam().hexOf.c_str(), column.c_str()) + " FROM qe_people WHERE " + where);
  }

  static constexpr const char* kQuery = "SELECT id, name, city, qty, big, price, photo FROM qe_people ORDER BY id";
  std::unique_ptr<ScratchDb> db_;
  std::unique_ptr<GridWindow> window_;
};

TEST_P(InPlaceEdit, ATypedCellIsWrittenToItsRowAloneAndTheFocusMovesDown) {
  Open(kQuery);
  TraceCapture trace;
  TypeIntoCell(*window_, Row(0), kCity, "Z\xC3\xBCrich \"O'Hara\"");
  EXPECT_EQ(Read("SELECT city FROM qe_people WHERE id = 1"), "Z\xC3\xBCrich \"O'Hara\"");
  EXPECT_EQ(Read("SELECT city FROM qe_people WHERE id = 2"), "Chur");
  // The other columns of the row keep their values to the last digit and byte.
  EXPECT_EQ(Read("SELECT big FROM qe_people WHERE id = 1"), "9007199254740993");
  EXPECT_EQ(Blob("photo", "id = 1"), "0aff00");
  EXPECT_NE(std::find(trace.Lines().begin(), trace.Lines().end(),
                      "GridCellToDbField() cell(" + std::to_string(Row(0)) +
                          ",3) --> rs.SetFieldValueIdx( 2, \"Z\xC3\xBCrich \"O'Hara\"\" )"),
            trace.Lines().end());
  EXPECT_EQ(Grid().GetFocusCell(), CellId(Row(1), kCity));

  // Integers beyond 2^53 go back exactly.
  TypeIntoCell(*window_, Row(1), kBig, "9007199254740995");
  EXPECT_EQ(Read("SELECT big FROM qe_people WHERE id = 2"), "9007199254740995");
  TypeIntoCell(*window_, Row(2), kPrice, "2.5");
  EXPECT_EQ(std::stod(Read("SELECT price FROM qe_people WHERE id = 3")), 2.5);
}

TEST_P(InPlaceEdit, TheNullLabelWritesNullOrAnEmptyTextWhereNullIsRefused) {
  Open(kQuery);
  TraceCapture trace;
  TypeIntoCell(*window_, Row(1), kCity, "<null>");
  EXPECT_EQ(Read("SELECT COALESCE(city, 'was null') FROM qe_people WHERE id = 2"), "was null");
  TypeIntoCell(*window_, Row(1), kName, "<null>");
  EXPECT_EQ(Read("SELECT COALESCE(name, 'was null') FROM qe_people WHERE id = 2"), "");
  TypeIntoCell(*window_, Row(2), kQty, "");
  EXPECT_EQ(Read("SELECT COALESCE(qty, -1) FROM qe_people WHERE id = 3"), "-1");
  const auto& lines = trace.Lines();
  const std::string r1 = std::to_string(Row(1));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "GridCellToDbField() cell(" + r1 + ",3) --> rs.SetFieldNullIdx(2)"),
            lines.end());
  EXPECT_NE(
      std::find(lines.begin(), lines.end(), "GridCellToDbField() cell(" + r1 + ",2) --> rs.SetFieldValueIdx(1,\"\")"),
      lines.end());
}

TEST_P(InPlaceEdit, ARowChangedOrDeletedByAnotherConnectionIsNotOverwritten) {
  Open(kQuery);
  db_->Run({"UPDATE qe_people SET city = 'Theirs' WHERE id = 1", "DELETE FROM qe_people WHERE id = 2"});
  PromptCapture prompts;
  TypeIntoCell(*window_, Row(0), kCity, "Mine");
  ASSERT_EQ(prompts.Prompts().Messages().size(), 1u);
  EXPECT_NE(prompts.Prompts().Messages()[0].text.find("changed or deleted by someone else"), std::string::npos)
      << prompts.Prompts().Messages()[0].text;
  EXPECT_EQ(Read("SELECT city FROM qe_people WHERE id = 1"), "Theirs");
  EXPECT_EQ(Grid().GetCellText(Row(0), kCity), "Mine");

  TypeIntoCell(*window_, Row(1), kCity, "Gone");
  ASSERT_EQ(prompts.Prompts().Messages().size(), 2u);
  EXPECT_EQ(Read("SELECT COUNT(*) FROM qe_people WHERE id = 2"), "0");

  // The refused value does not travel with the next edit of another row.
  TypeIntoCell(*window_, Row(2), kQty, "7");
  EXPECT_EQ(prompts.Prompts().Messages().size(), 2u);
  EXPECT_EQ(Read("SELECT qty FROM qe_people WHERE id = 3"), "7");
  EXPECT_EQ(Read("SELECT city FROM qe_people WHERE id = 3"), "Genf");
  EXPECT_EQ(Read("SELECT city FROM qe_people WHERE id = 1"), "Theirs");
}

TEST_P(InPlaceEdit, WithoutAKeyTheRowIsFoundByAllItsValuesOrTheEditIsRefused) {
  db_->Run({"CREATE TABLE qe_nokey (name VARCHAR(20), qty INTEGER)", "INSERT INTO qe_nokey VALUES ('twin', 1)",
            "INSERT INTO qe_nokey VALUES ('twin', 1)", "INSERT INTO qe_nokey VALUES ('solo', 2)"});
  Open("SELECT name, qty FROM qe_nokey ORDER BY name");
  PromptCapture prompts;
  TypeIntoCell(*window_, Row(0), 2, "5");  // solo
  EXPECT_TRUE(prompts.Prompts().Messages().empty());
  EXPECT_EQ(Read("SELECT qty FROM qe_nokey WHERE name = 'solo'"), "5");

  TypeIntoCell(*window_, Row(1), 2, "9");  // one of the twins
  ASSERT_EQ(prompts.Prompts().Messages().size(), 1u);
  EXPECT_NE(prompts.Prompts().Messages()[0].text.find("cannot be told apart"), std::string::npos);
  EXPECT_EQ(Read("SELECT COUNT(*) FROM qe_nokey WHERE qty = 1"), "2");
}

TEST_P(InPlaceEdit, InAJoinOnlyTheEditedTablesRowChangesAndComputedColumnsTakeNoTyping) {
  db_->Run({"CREATE TABLE qe_cust (id INTEGER PRIMARY KEY, city VARCHAR(20))",
            "CREATE TABLE qe_ord (id INTEGER PRIMARY KEY, cust INTEGER, qty INTEGER)",
            "INSERT INTO qe_cust VALUES (1, 'Bern')", "INSERT INTO qe_cust VALUES (2, 'Chur')",
            "INSERT INTO qe_ord VALUES (10, 1, 3)", "INSERT INTO qe_ord VALUES (11, 1, 4)",
            "INSERT INTO qe_ord VALUES (12, 2, 5)"});
  // Columns: 1 id, 2 qty, 3 cid, 4 city, 5 twice.
  Open(
      "SELECT o.id, o.qty, c.id AS cid, c.city, o.qty * 2 AS twice FROM qe_ord o JOIN qe_cust c ON c.id = o.cust "
      "ORDER BY o.id");
  PromptCapture prompts;
  TypeIntoCell(*window_, Row(2), 4, "Aarau");
  EXPECT_EQ(Read("SELECT city FROM qe_cust WHERE id = 2"), "Aarau");
  EXPECT_EQ(Read("SELECT city FROM qe_cust WHERE id = 1"), "Bern");
  TypeIntoCell(*window_, Row(0), 2, "30");
  EXPECT_EQ(Read("SELECT qty FROM qe_ord WHERE id = 10"), "30");
  EXPECT_EQ(Read("SELECT SUM(qty) FROM qe_ord"), "39");
  EXPECT_TRUE(prompts.Prompts().Messages().empty());

  EXPECT_FALSE(Grid().IsCellEditable(Row(1), 5));
  window_->Click(Row(1), 5);
  window_->Click(Row(1), 5);
  EXPECT_EQ(Grid().GetEditor(), nullptr);

  // Without the customer's key its row cannot be told exactly: refused, nothing written.
  Open("SELECT o.id, o.qty, c.city FROM qe_ord o JOIN qe_cust c ON c.id = o.cust ORDER BY o.id");
  TypeIntoCell(*window_, Row(0), 3, "Basel");
  ASSERT_EQ(prompts.Prompts().Messages().size(), 1u);
  EXPECT_NE(prompts.Prompts().Messages()[0].text.find("holds no key of table"), std::string::npos)
      << prompts.Prompts().Messages()[0].text;
  EXPECT_EQ(Read("SELECT city FROM qe_cust WHERE id = 1"), "Bern");
}

TEST_P(InPlaceEdit, WithInPlaceEditOffNoEditorOpens) {
  Open(kQuery);
  Grid().SetEditable(false);
  window_->Click(Row(0), kCity);
  window_->Click(Row(0), kCity);
  EXPECT_EQ(Grid().GetEditor(), nullptr);
  EXPECT_FALSE(Grid().GetFrameFocusCell());
  EXPECT_EQ(Read("SELECT city FROM qe_people WHERE id = 1"), "Bern");
}

INSTANTIATE_TEST_SUITE_P(Databases, InPlaceEdit, testing::ValuesIn(EditDbs()), EditDbName);

// The value of each kind of cell, as the write-back takes it.
TEST(GridCellToVariant, EachKindGivesItsDatabaseValue) {
  EnsureApp();
  CGridCtrlEx grid;
  grid.SetRowCount(1);
  grid.SetColumnCount(7);
  for (int kind = gctText; kind <= gctButtonText; ++kind) grid.SetCellTypeByKind(0, kind - 1 + 0, kind);
  CDbGridCtrl::SetNullLabel("(none)");
  grid.SetCellText(0, 0, "(none)");
  EXPECT_TRUE(GridCellToVariant(grid, 0, 0).IsNull());
  grid.SetCellText(0, 0, "(none) ");
  EXPECT_EQ(GridCellToVariant(grid, 0, 0).Str(), "(none) ");

  static_cast<CGridCellInteger*>(grid.GetCell(0, 1))->SetInteger(9007199254740993);
  const ado::Variant big = GridCellToVariant(grid, 0, 1);
  EXPECT_EQ(big.vt(), ado::VT_I8);
  EXPECT_EQ(big.Int(), 9007199254740993);

  // A check box is a boolean, never NULL, whatever the null label says.
  grid.SetCellData(0, 3, 0);
  EXPECT_EQ(GridCellToVariant(grid, 0, 3).vt(), ado::VT_BOOL);
  EXPECT_FALSE(GridCellToVariant(grid, 0, 3).Bool());
  grid.SetCellData(0, 3, -1);
  EXPECT_TRUE(GridCellToVariant(grid, 0, 3).Bool());

  auto* date = static_cast<CGridCellDateTimeEx*>(grid.GetCell(0, 4));
  date->SetDateTime(GridDateTime{2024, 2, 29, 13, 45, 59});
  const ado::Variant when = GridCellToVariant(grid, 0, 4);
  ASSERT_EQ(when.vt(), ado::VT_DATE);
  EXPECT_EQ(VariantDateToIsoText(when), "20240229T134559");
  date->SetStatus(CGridCellDateTimeEx::Status::Null);
  EXPECT_TRUE(GridCellToVariant(grid, 0, 4).IsNull());

  grid.SetCellData(0, 5, 0);
  EXPECT_TRUE(GridCellToVariant(grid, 0, 5).IsNull());
  grid.SetCellData(0, 5, 3);
  EXPECT_EQ(GridCellToVariant(grid, 0, 5).Int(), 3);
  EXPECT_TRUE(GridCellToVariant(grid, 0, 6).IsNull());  // text with a button: no value
  CDbGridCtrl::SetNullLabel("");
}

}  // namespace
