// Record editing against the servers, as on the SQLite file: a city typed in place, a customer
// added through the form, one duplicated (the copy selected) and deleted again, each change read
// back with a connection of the test's own. QELVO_TEST_PG and QELVO_TEST_MARIADB name the servers;
// the tests use their database e2edb.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "data/DbConnection.h"
#include "data/ado/ConnectionString.h"
#include "grid/GridCtrlEx.h"
#include "grid/db/DbGridCtrl.h"
#include "grid/db/RecordFormDialog.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/RecordFormDriver.h"
#include "workspace/ui/MainFrame.h"

namespace e2e {
namespace {

class RecordServersTest : public ProgramTest {
 protected:
  // The e2edb database of the server named by `variable`; empty when it names none.
  static std::string ServerOf(const char* variable) {
    const char* text = std::getenv(variable);
    if (!text || !*text) return {};
    ado::ConnectionString server = ado::ConnectionString::Parse(text);
    server.Set("DATABASE", "e2edb");
    return server.ToOdbcString();
  }
  void Run(const std::vector<std::string>& statements) {
    DbConnection db;
    db.Open(connection_, "", "");
    for (const std::string& statement : statements) db.Execute(statement);
    db.Close();
  }
  std::string Read(const std::string& sql) {
    DbConnection db;
    db.Open(connection_, "", "");
    std::string value = db.QuerySingleField(sql);
    db.Close();
    return value;
  }

  void Scenario(const std::string& autoKey) {
    Run({"DROP TABLE IF EXISTS e2e_customers",
         "CREATE TABLE e2e_customers (id " + autoKey + ", name VARCHAR(40) NOT NULL, city VARCHAR(40))",
         "INSERT INTO e2e_customers (name, city) VALUES ('Abbott', 'Leeds')",
         "INSERT INTO e2e_customers (name, city) VALUES ('Brandt', 'Bremen')"});
    Program& p = Start();
    p.TypeConnection(connection_);
    p.TypeQuery("SELECT * FROM e2e_customers ORDER BY id");
    p.PressExecute();
    const int first = p.Grid().GetFirstDataRow();
    ASSERT_EQ(p.DataRowCount(), 2);

    p.RunCommand(ID_IN_PLACE_EDIT);
    p.ClickCell(first, 3);
    p.ClickCell(first, 3);
    ASSERT_NE(p.Grid().GetEditor(), nullptr);
    QTest::keyClick(p.Grid().GetEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(p.Grid().GetEditor(), "Cork");
    QTest::keyClick(p.Grid().GetEditor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Read("SELECT city FROM e2e_customers WHERE name = 'Abbott'"), "Cork");

    AnswerForm(*prompts_, [&](CRecordFormDialog& form) {
      EXPECT_EQ(form.Grid()->GetFocusCell(), CellId(1, 1));
      TypeInForm(form, 1, "Dupont");
      TypeInForm(form, 2, "Lyon");
      ClickFormButton(form, CRecordFormDialog::kOk);
    });
    p.RunCommand(ID_RECORD_NEW);
    EXPECT_EQ(Read("SELECT city FROM e2e_customers WHERE name = 'Dupont'"), "Lyon");
    ASSERT_EQ(p.DataRowCount(), 3);

    QApplication::setActiveWindow(&p.Frame());
    p.ClickCell(first + 1, 2);
    p.RunCommand(ID_RECORD_DUPLICATE);
    EXPECT_EQ(Read("SELECT COUNT(*) FROM e2e_customers WHERE name = 'Brandt' AND city = 'Bremen'"), "2");
    const std::string copyId = Read("SELECT MAX(id) FROM e2e_customers");
    const int copyRow = p.Grid().GetSelectedDataRow();
    ASSERT_GE(copyRow, first);
    EXPECT_EQ(p.Cell(copyRow, 1), copyId);

    AnswerForm(*prompts_, [&](CRecordFormDialog& form) { ClickFormButton(form, CRecordFormDialog::kOk); });
    p.RunCommand(ID_RECORD_DELETE);
    EXPECT_EQ(Read("SELECT COUNT(*) FROM e2e_customers WHERE id = " + copyId), "0");
    EXPECT_EQ(Read("SELECT COUNT(*) FROM e2e_customers"), "3");
    EXPECT_TRUE(prompts_->Messages().empty());
    Run({"DROP TABLE IF EXISTS e2e_customers"});
  }

  std::string connection_;
};

TEST_F(RecordServersTest, PostgreSql) {
  connection_ = ServerOf("QELVO_TEST_PG");
  if (connection_.empty()) GTEST_SKIP() << "QELVO_TEST_PG is not set";
  Scenario("SERIAL PRIMARY KEY");
}

TEST_F(RecordServersTest, MariaDb) {
  connection_ = ServerOf("QELVO_TEST_MARIADB");
  if (connection_.empty()) GTEST_SKIP() << "QELVO_TEST_MARIADB is not set";
  Scenario("INTEGER AUTO_INCREMENT PRIMARY KEY");
}

}  // namespace
}  // namespace e2e
