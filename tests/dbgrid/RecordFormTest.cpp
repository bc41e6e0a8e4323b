// The record form on real databases, driven as a person drives it: the form opens on the selected
// record, values are typed into its grid, OK saves (read back through a second connection) or
// reports what the database refused and stays open with everything typed.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "data/ValueFormat.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCtrlEx.h"
#include "grid/db/RecordFormDialog.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/dbgrid/RecordEditTestSupport.h"

using namespace dbgridtest;

namespace {

// Form rows: 0 id (auto), 1 name, 2 qty, 3 note (300), 4 price, 5 born, 6 active, 7 photo.
constexpr int kId = 0, kName = 1, kQty = 2, kNote = 3, kBorn = 5, kActive = 6;

class RecordForm : public testing::TestWithParam<EditDb> {
 protected:
  void SetUp() override {
    EnsureApp();
    const EditDb& p = GetParam();
    price_ = p.db.isSqlite ? "1234.5000" : "12345678901234.5678";
    db_ = std::make_unique<ScratchDb>(p.db, std::vector<std::string>{"qf_items"});
    db_->Run({"CREATE TABLE qf_items (id " + p.autoKey +
                  ", name VARCHAR(40) NOT NULL, qty INTEGER NOT NULL DEFAULT 7 CHECK (qty <= 100), "
                  "note VARCHAR(300), price DECIMAL(20,4), born " +
                  p.db.timestampType + ", active BOOLEAN, photo " + p.db.blobType + ")",
              "INSERT INTO qf_items (name, qty, note, price, born, active, photo) VALUES ('Bolt', 3, 'it''s \"M8\"', " +
                  price_ + ", '2024-02-29 13:45:59', TRUE, " + p.blobLiteral + ")",
              "INSERT INTO qf_items (name, qty, note, price, born, active, photo) VALUES ('Nut', 4, NULL, 1, NULL, "
              "FALSE, NULL)"});
    window_ = std::make_unique<GridWindow>(GridOptions{});
    ASSERT_TRUE(window_->Run(db_->ConnectionString(), "SELECT * FROM qf_items ORDER BY id"));
    prompts_ = std::make_unique<PromptCapture>();
  }

  void TearDown() override {
    prompts_.reset();
    window_.reset();
    db_.reset();
  }

  CDbGridCtrl& Grid() { return window_->Grid(); }
  ScriptedPrompts& Prompts() { return prompts_->Prompts(); }
  std::string Read(const std::string& sql) { return ReadBack(db_->ConnectionString(), sql); }
  std::string Born(const std::string& where) {
    const std::string& name = GetParam().db.family;
    const std::string expr = name == "PostgreSQL" ? "to_char(born, 'YYYY-MM-DD HH24:MI:SS')"
                             : name == "MariaDB"  ? "DATE_FORMAT(born, '%Y-%m-%d %H:%i:%s')"
                                                  : "strftime('%Y-%m-%d %H:%M:%S', born)";
    return Read("SELECT " + expr + " FROM qf_items WHERE " + where);
  }
  // Opens the form on data record `recno` and lets `work` drive it.
  bool RunForm(RecordFormMode mode, int recno, const std::function<void(CRecordFormDialog&)>& work) {
    Grid().SelectRow(Grid().GetFirstDataRow() + recno, true);
    Prompts().AnswerDialog([&](QDialog& dialog) {
      auto& form = dynamic_cast<CRecordFormDialog&>(dialog);
      form.show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
      work(form);
      return ScriptedPrompts::kUseDialogResult;
    });
    return ShowRecordForm(Grid().GetRecordset(), &window_->Window(), mode);
  }
  // F2 on the focus cell, the text replaced, Enter.
  static void Type(CRecordFormDialog& form, int row, const std::string& text) {
    CGridCtrlEx* grid = form.Grid();
    grid->SetFocusCell(row, 1);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget* editor = grid->GetEditor();
    ASSERT_NE(editor, nullptr) << "row " << row;
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    TypeText(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
  }
  static void PressOk(CRecordFormDialog& form) {
    QTest::mouseClick(qobject_cast<QPushButton*>(form.Control(CRecordFormDialog::kOk)), Qt::LeftButton);
    Settle();
  }
  static void Shot(CRecordFormDialog& form, const char* name) {
    const char* folder = std::getenv("QELVO_DBGRID_SHOTS");
    if (folder && *folder) form.grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
  }

  std::string price_;
  std::unique_ptr<ScratchDb> db_;
  std::unique_ptr<GridWindow> window_;
  std::unique_ptr<PromptCapture> prompts_;
};

TEST_P(RecordForm, EditShowsTheRecordAndWritesOnlyWhatWasChanged) {
  const bool saved = RunForm(kRecordFormEdit, 0, [&](CRecordFormDialog& form) {
    CGridCtrlEx* grid = form.Grid();
    EXPECT_EQ(form.windowTitle().toStdString(), "Edit");
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(211, 238, 255));
    ASSERT_EQ(grid->GetRowCount(), 8);
    EXPECT_EQ(grid->GetCellText(kId, 0), "* id");
    EXPECT_EQ(grid->GetCellText(kName, 0), "name");
    // The auto-increment key is the database's: grey, read-only, and the focus starts below it.
    EXPECT_TRUE(grid->GetCellState(kId, 1) & kCellReadOnly);
    EXPECT_EQ(grid->GetCellBackColour(kId, 1), RGB(230, 230, 230));
    EXPECT_FALSE(grid->GetCellState(kName, 1) & kCellReadOnly);
    EXPECT_EQ(grid->GetFocusCell(), CellId(1, 1));
    EXPECT_EQ(grid->GetCellText(kNote, 1), "it's \"M8\"");
    EXPECT_EQ(grid->GetRowHeight(kNote), 2 * grid->GetRowHeight(kName));
    auto* born = dynamic_cast<const CGridCellDateTimeEx*>(grid->GetCellForRead(kBorn, 1));
    ASSERT_NE(born, nullptr);
    EXPECT_EQ(born->GetDisplayCode(), 4);
    EXPECT_EQ(born->GetDateTime(), (GridDateTime{2024, 2, 29, 13, 45, 59}));
    EXPECT_EQ(grid->GetCellText(kBorn, 1), "29/02/2024 13:45:59") << "four-digit year, day first";
    // The value column takes what the label column leaves.
    EXPECT_EQ(grid->GetColumnWidth(0) + grid->GetColumnWidth(1), grid->viewport()->width());
    Shot(form, "record-form-edit");
    Type(form, kName,
         "Bolt \"M10\" \xC3\xA9"
         "crou");
    EXPECT_EQ(grid->GetFocusCell(), CellId(kQty, 1));
    PressOk(form);
  });
  EXPECT_TRUE(saved);
  EXPECT_TRUE(Prompts().Messages().empty());
  EXPECT_EQ(Read("SELECT name FROM qf_items WHERE qty = 3"),
            "Bolt \"M10\" \xC3\xA9"
            "crou");
  // What was not touched keeps every digit, second and byte.
  EXPECT_EQ(Read("SELECT price FROM qf_items WHERE qty = 3"), price_);
  EXPECT_EQ(Born("qty = 3"), "2024-02-29 13:45:59");
  EXPECT_EQ(Read("SELECT " + FormatString(GetParam().hexOf.c_str(), "photo") + " FROM qf_items WHERE qty = 3"),
            "0aff00");
  EXPECT_EQ(Read("SELECT name FROM qf_items WHERE qty = 4"), "Nut");
}

TEST_P(RecordForm, NewLeavesClearedFieldsToTheDatabaseDefaultsAndKeepsTextsExactly) {
  TraceCapture trace;
  const bool saved = RunForm(kRecordFormNew, 0, [&](CRecordFormDialog& form) {
    CGridCtrlEx* grid = form.Grid();
    EXPECT_EQ(form.windowTitle().toStdString(), "New");
    EXPECT_EQ(grid->GetFocusCell(), CellId(1, 1));
    EXPECT_EQ(grid->GetCellText(kName, 1), "");
    Shot(form, "record-form-new");
    Type(form, kName, "Washer");
    // A text with a line break and an apostrophe, as a long-text editor leaves it.
    grid->SetCellText(kNote, 1, "line one\nit's line two");
    auto* born = dynamic_cast<CGridCellDateTimeEx*>(grid->GetCell(kBorn, 1));
    ASSERT_NE(born, nullptr);
    born->SetDateTime(GridDateTime{2023, 12, 31, 23, 59, 58});
    // The check box: opened on its cell, ticked with the space bar, closed with Enter.
    grid->SetFocusCell(kActive, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_NE(grid->GetEditor(), nullptr);
    QTest::keyClick(grid->GetEditor(), Qt::Key_Space);
    QTest::keyClick(grid->GetEditor(), Qt::Key_Return);
    Settle();
    EXPECT_NE(grid->GetCellData(kActive, 1), 0);
    PressOk(form);
  });
  EXPECT_TRUE(saved);
  EXPECT_TRUE(Prompts().Messages().empty()) << Prompts().Messages()[0].text;
  EXPECT_EQ(Read("SELECT qty FROM qf_items WHERE name = 'Washer'"), "7");
  EXPECT_EQ(Read("SELECT note FROM qf_items WHERE name = 'Washer'"), "line one\nit's line two");
  EXPECT_EQ(Born("name = 'Washer'"), "2023-12-31 23:59:58");
  EXPECT_EQ(Read("SELECT CASE WHEN active THEN 'ticked' ELSE 'clear' END FROM qf_items WHERE name = 'Washer'"),
            "ticked");
  const auto& lines = trace.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "GridCellToDbField() cell(2,1) --> do nothing on field \"qty\" (use default value)"),
            lines.end());
  EXPECT_EQ(Read("SELECT COUNT(*) FROM qf_items"), "3");
}

TEST_P(RecordForm, ARefusedValueNamesItsFieldAndTheFormStaysOpenWithEverythingTyped) {
  const bool saved = RunForm(kRecordFormNew, 0, [&](CRecordFormDialog& form) {
    CGridCtrlEx* grid = form.Grid();
    Type(form, kName, "Spring");
    Type(form, kQty, "500");
    PressOk(form);
    ASSERT_EQ(Prompts().Messages().size(), 1u);
    const std::string text = Prompts().Messages()[0].text;
    EXPECT_NE(text.find("\r\nPlease check field \"qty\""), std::string::npos) << text;
    EXPECT_EQ(Prompts().Messages()[0].type, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(grid->GetFocusCell(), CellId(kQty, 1));
    EXPECT_EQ(grid->GetCellText(kName, 1), "Spring");
    EXPECT_EQ(grid->GetCellText(kQty, 1), "500");
    EXPECT_EQ(Read("SELECT COUNT(*) FROM qf_items"), "2");
    Type(form, kQty, "2");
    PressOk(form);
  });
  EXPECT_TRUE(saved);
  EXPECT_EQ(Read("SELECT COUNT(*) FROM qf_items WHERE name = 'Spring'"), "1");
  EXPECT_EQ(Read("SELECT qty FROM qf_items WHERE name = 'Spring'"), "2");
}

TEST_P(RecordForm, ARecordChangedByAnotherConnectionIsNotOverwritten) {
  const bool saved = RunForm(kRecordFormEdit, 1, [&](CRecordFormDialog& form) {
    db_->Run({"UPDATE qf_items SET name = 'Theirs' WHERE qty = 4"});
    Type(form, kName, "Mine");
    PressOk(form);
    ASSERT_EQ(Prompts().Messages().size(), 1u);
    EXPECT_NE(Prompts().Messages()[0].text.find("changed or deleted by someone else"), std::string::npos);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Grid()->GetCellText(kName, 1), "Mine");
    QTest::mouseClick(qobject_cast<QPushButton*>(form.Control(CRecordFormDialog::kCancel)), Qt::LeftButton);
  });
  EXPECT_FALSE(saved);
  EXPECT_EQ(Read("SELECT name FROM qf_items WHERE qty = 4"), "Theirs");
}

TEST_P(RecordForm, DeleteShowsEverythingReadOnlyAndRemovesTheRecordOnOk) {
  const bool saved = RunForm(kRecordFormDelete, 1, [&](CRecordFormDialog& form) {
    CGridCtrlEx* grid = form.Grid();
    EXPECT_EQ(form.windowTitle().toStdString(), "Delete");
    for (int row = 0; row < grid->GetRowCount(); ++row) {
      EXPECT_TRUE(grid->GetCellState(row, 1) & kCellReadOnly) << row;
      EXPECT_EQ(grid->GetCellBackColour(row, 1), RGB(230, 230, 230)) << row;
    }
    EXPECT_EQ(grid->GetCellText(kName, 1), "Nut");
    Shot(form, "record-form-delete");
    PressOk(form);
  });
  EXPECT_TRUE(saved);
  EXPECT_EQ(Read("SELECT COUNT(*) FROM qf_items WHERE name = 'Nut'"), "0");
  EXPECT_EQ(Read("SELECT COUNT(*) FROM qf_items"), "1");
}

TEST_P(RecordForm, CancelLeavesTheDatabaseAndTheResizedFormKeepsItsLayout) {
  const bool saved = RunForm(kRecordFormEdit, 0, [&](CRecordFormDialog& form) {
    CGridCtrlEx* grid = form.Grid();
    const QRect gridRect = grid->geometry();
    const QRect ok = form.Control(CRecordFormDialog::kOk)->geometry();
    form.resize(form.size() + QSize(200, 100));
    Settle();
    EXPECT_EQ(grid->geometry(), gridRect.adjusted(0, 0, 200, 100));
    EXPECT_EQ(form.Control(CRecordFormDialog::kOk)->geometry(), ok.translated(200, 0));
    EXPECT_EQ(grid->GetColumnWidth(0) + grid->GetColumnWidth(1), grid->viewport()->width());
    Type(form, kName, "Never");
    QTest::mouseClick(qobject_cast<QPushButton*>(form.Control(CRecordFormDialog::kCancel)), Qt::LeftButton);
  });
  EXPECT_FALSE(saved);
  EXPECT_EQ(Read("SELECT COUNT(*) FROM qf_items WHERE name = 'Never'"), "0");
}

INSTANTIATE_TEST_SUITE_P(Databases, RecordForm, testing::ValuesIn(EditDbs()), EditDbName);

}  // namespace
