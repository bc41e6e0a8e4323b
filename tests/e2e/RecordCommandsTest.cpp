// New, Edit, Delete and Duplicate Record from the Database menu's keys on a SQLite file: the form
// they open, what they leave in the database (read with a connection of the test's own) and the
// grid shown again afterwards.
#include <sqlite3.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "grid/GridCtrlEx.h"
#include "grid/db/DbGridCtrl.h"
#include "grid/db/RecordFormDialog.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/RecordFormDriver.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"

namespace e2e {
namespace {

class RecordCommandsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    db_ = data_.File("shop.db");
    MakeSqliteDatabase(db_, {"CREATE TABLE Customers (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(40) NOT NULL, "
                             "City VARCHAR(40))",
                             "INSERT INTO Customers (Name, City) VALUES ('Abbott', 'Leeds')",
                             "INSERT INTO Customers (Name, City) VALUES ('Brandt', 'Bremen')",
                             "INSERT INTO Customers (Name, City) VALUES ('Carvalho', 'Porto')"});
  }

  Program& StartShown() {
    Program& p = Start();
    p.TypeConnection(SqliteConnectionString(db_));
    p.TypeQuery("SELECT * FROM Customers ORDER BY ID");
    p.PressExecute();
    return p;
  }
  std::string Read(const std::string& sql) {
    DbConnection connection;
    connection.Open(SqliteConnectionString(db_), "", "");
    std::string value = connection.QuerySingleField(sql);
    connection.Close();
    return value;
  }
  int DataRow(Program& p, int recno) { return p.Grid().GetFirstDataRow() + recno; }

  std::string db_;
};

TEST_F(RecordCommandsTest, TheCommandsAreEnabledByTheRecordsetAndTheSelectedRow) {
  Program& p = Start();
  EXPECT_FALSE(p.IsEnabled(ID_RECORD_NEW));
  EXPECT_FALSE(p.IsEnabled(ID_RECORD_EDIT));
  p.TypeConnection(SqliteConnectionString(db_));
  p.TypeQuery("SELECT * FROM Customers ORDER BY ID");
  p.PressExecute();
  EXPECT_TRUE(p.IsEnabled(ID_RECORD_NEW));
  p.Grid().ClearSelection();
  EXPECT_FALSE(p.IsEnabled(ID_RECORD_EDIT));
  EXPECT_FALSE(p.IsEnabled(ID_RECORD_DELETE));
  EXPECT_FALSE(p.IsEnabled(ID_RECORD_DUPLICATE));
  p.ClickCell(DataRow(p, 1), 2);
  EXPECT_TRUE(p.IsEnabled(ID_RECORD_EDIT));
  EXPECT_TRUE(p.IsEnabled(ID_RECORD_DELETE));
  EXPECT_TRUE(p.IsEnabled(ID_RECORD_DUPLICATE));
  // Search Record has no handler: never enabled.
  EXPECT_FALSE(p.IsEnabled(ID_RECORD_SEARCH));
}

TEST_F(RecordCommandsTest, F3EditsTheSelectedRecordAndTheGridShowsTheDatabaseAgain) {
  Program& p = StartShown();
  p.ClickCell(DataRow(p, 1), 2);
  AnswerForm(*prompts_, [&](CRecordFormDialog& form) {
    EXPECT_EQ(form.Mode(), kRecordFormEdit);
    EXPECT_EQ(form.Grid()->GetCellText(1, 1), "Brandt");
    TypeInForm(form, 2, "Hamburg");
    ClickFormButton(form, CRecordFormDialog::kOk);
  });
  QTest::keyClick(&p.Grid(), Qt::Key_F3);
  Settle();
  ASSERT_EQ(prompts_->Dialogs().size(), 1u);
  EXPECT_EQ(prompts_->Dialogs()[0].title, "Edit");
  EXPECT_EQ(Read("SELECT City FROM Customers WHERE ID = 2"), "Hamburg");
  EXPECT_EQ(p.Column(3), (std::vector<std::string>{"Leeds", "Hamburg", "Porto"}));
  EXPECT_EQ(p.Grid().GetSelectedDataRow(), DataRow(p, 1));
}

TEST_F(RecordCommandsTest, F2AddsARecordWithTheFocusBelowTheAutoIncrementKey) {
  Program& p = StartShown();
  AnswerForm(*prompts_, [&](CRecordFormDialog& form) {
    EXPECT_EQ(form.windowTitle().toStdString(), "New");
    EXPECT_EQ(form.Grid()->GetFocusCell(), CellId(1, 1));
    TypeInForm(form, 1, "Dupont");
    TypeInForm(form, 2, "Lyon");
    ClickFormButton(form, CRecordFormDialog::kOk);
  });
  QTest::keyClick(&p.Grid(), Qt::Key_F2);
  Settle();
  ASSERT_EQ(prompts_->Dialogs().size(), 1u);
  EXPECT_EQ(Read("SELECT City FROM Customers WHERE Name = 'Dupont'"), "Lyon");
  EXPECT_EQ(p.DataRowCount(), 4);
  EXPECT_EQ(p.Column(2).back(), "Dupont");
}

TEST_F(RecordCommandsTest, F4DeletesAfterTheFormIsConfirmedAndNotBefore) {
  Program& p = StartShown();
  p.ClickCell(DataRow(p, 0), 2);
  AnswerForm(*prompts_, [&](CRecordFormDialog& form) {
    EXPECT_EQ(form.Mode(), kRecordFormDelete);
    ClickFormButton(form, CRecordFormDialog::kCancel);
  });
  QTest::keyClick(&p.Grid(), Qt::Key_F4);
  Settle();
  EXPECT_EQ(Read("SELECT COUNT(*) FROM Customers"), "3");
  // The closed form gives the activation back to the main window, as the desktop does.
  QApplication::setActiveWindow(&p.Frame());
  p.ClickCell(DataRow(p, 0), 2);
  AnswerForm(*prompts_, [&](CRecordFormDialog& form) { ClickFormButton(form, CRecordFormDialog::kOk); });
  QTest::keyClick(&p.Grid(), Qt::Key_F4);
  Settle();
  EXPECT_EQ(Read("SELECT COUNT(*) FROM Customers WHERE Name = 'Abbott'"), "0");
  EXPECT_EQ(p.Column(2), (std::vector<std::string>{"Brandt", "Carvalho"}));
}

TEST_F(RecordCommandsTest, F5DuplicatesTheRecordAndSelectsTheCopy) {
  Program& p = StartShown();
  p.ClickCell(DataRow(p, 1), 2);
  QTest::keyClick(&p.Grid(), Qt::Key_F5);
  Settle();
  EXPECT_EQ(Read("SELECT COUNT(*) FROM Customers WHERE Name = 'Brandt' AND City = 'Bremen'"), "2");
  EXPECT_EQ(p.DataRowCount(), 4);
  EXPECT_EQ(p.Grid().GetSelectedDataRow(), DataRow(p, 3));
  EXPECT_EQ(p.Cell(DataRow(p, 3), 1), "4");
  EXPECT_EQ(p.Grid().GetRecordset()->GetFieldValueIdx(0), "4");
}

TEST_F(RecordCommandsTest, ADoubleClickOpensTheFormOnlyWhileInPlaceEditIsOff) {
  Program& p = StartShown();
  ASSERT_FALSE(p.Grid().IsEditable());
  AnswerForm(*prompts_, [&](CRecordFormDialog& form) { EXPECT_EQ(form.Mode(), kRecordFormEdit); });
  p.ClickCell(DataRow(p, 2), 2);
  QRect rect;
  ASSERT_TRUE(p.Grid().GetCellRect(DataRow(p, 2), 2, rect));
  QTest::mouseDClick(p.Grid().viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
  Settle();
  ASSERT_EQ(prompts_->Dialogs().size(), 1u);

  p.RunCommand(ID_IN_PLACE_EDIT);
  ASSERT_TRUE(p.Grid().IsEditable());
  QTest::mouseDClick(p.Grid().viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
  Settle();
  EXPECT_EQ(prompts_->Dialogs().size(), 1u);
  if (QWidget* editor = p.Grid().GetEditor()) QTest::keyClick(editor, Qt::Key_Escape);
  Settle();
}

// What a new user does with the sample database (a copy), each change read back with libsqlite3.
TEST_F(RecordCommandsTest, EveryKindOfChangeReachesTheSampleDatabase) {
  const std::string sample = FindSampleDatabase();
  ASSERT_FALSE(sample.empty());
  const std::string copy = data_.File("Shop.db");
  std::filesystem::copy_file(sample, copy);
  auto query = [&](const std::string& sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    std::string value = "(no row)";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
      value = sqlite3_column_type(statement, 0) == SQLITE_NULL
                  ? "(null)"
                  : reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
  };
  const std::string customers = query("SELECT COUNT(*) FROM Customers");

  Program& p = Start();
  p.TypeConnection(SqliteConnectionString(copy));
  p.TypeQuery("SELECT * FROM Customers ORDER BY CustomerID");
  p.PressExecute();
  p.RunCommand(ID_IN_PLACE_EDIT);
  ASSERT_TRUE(p.Grid().IsEditable());
  // The city of the first customer, typed into the grid.
  p.ClickCell(DataRow(p, 0), 3);
  p.ClickCell(DataRow(p, 0), 3);
  ASSERT_NE(p.Grid().GetEditor(), nullptr);
  QTest::keyClick(p.Grid().GetEditor(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(p.Grid().GetEditor(), "Cork");
  QTest::keyClick(p.Grid().GetEditor(), Qt::Key_Return);
  Settle();
  EXPECT_EQ(query("SELECT City FROM Customers WHERE CustomerID = 1"), "Cork");
  EXPECT_TRUE(prompts_->Messages().empty());

  // A new customer through the form.
  AnswerForm(*prompts_, [&](CRecordFormDialog& form) {
    TypeInForm(form, 1, "Dupont SA");
    TypeInForm(form, 2, "Lyon");
    ClickFormButton(form, CRecordFormDialog::kOk);
  });
  p.RunCommand(ID_RECORD_NEW);
  EXPECT_EQ(query("SELECT City FROM Customers WHERE Name = 'Dupont SA'"), "Lyon");

  // The second customer duplicated, and the copy deleted again.
  p.ClickCell(DataRow(p, 1), 2);
  p.RunCommand(ID_RECORD_DUPLICATE);
  const std::string name = query("SELECT Name FROM Customers WHERE CustomerID = 2");
  EXPECT_EQ(query("SELECT COUNT(*) FROM Customers WHERE Name = '" + name + "'"), "2");
  const int copyRow = p.Grid().GetSelectedDataRow();
  ASSERT_GE(copyRow, p.Grid().GetFirstDataRow());
  EXPECT_EQ(p.Cell(copyRow, 2), name);
  AnswerForm(*prompts_, [&](CRecordFormDialog& form) { ClickFormButton(form, CRecordFormDialog::kOk); });
  p.RunCommand(ID_RECORD_DELETE);
  EXPECT_EQ(query("SELECT COUNT(*) FROM Customers WHERE Name = '" + name + "'"), "1");
  EXPECT_EQ(query("SELECT COUNT(*) FROM Customers"), std::to_string(std::stoi(customers) + 1));
  EXPECT_TRUE(prompts_->Messages().empty());
}

}  // namespace
}  // namespace e2e
