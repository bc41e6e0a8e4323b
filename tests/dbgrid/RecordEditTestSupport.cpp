#include "tests/dbgrid/RecordEditTestSupport.h"

#include <QTest>
#include <cstdlib>

#include "data/DbConnection.h"
#include "tests/support/data/TestDatabases.h"

namespace dbgridtest {

std::vector<EditDb> EditDbs() {
  std::vector<EditDb> list;
  for (const TestDb& db : TestDbs()) {
    // MariaDB comes below, without the ANSI quotes the sort and filter suite adds to its session.
    if (db.family == "MariaDB") continue;
    if (db.isSqlite)
      list.push_back(EditDb{db, "X'0AFF00'", "lower(hex(%s))", "INTEGER PRIMARY KEY AUTOINCREMENT", "TEXT"});
    else
      list.push_back(EditDb{db, "decode('0aff00', 'hex')", "encode(%s, 'hex')", "SERIAL PRIMARY KEY", "TEXT"});
  }
  if (const char* my = std::getenv("QELVO_TEST_MARIADB"); my && *my) {
    list.push_back(EditDb{TestDb{"MariaDB", my, "DOUBLE", "LONGBLOB", "DATETIME", false, "MariaDB"}, "X'0AFF00'",
                          "lower(hex(%s))", "INTEGER AUTO_INCREMENT PRIMARY KEY", "TEXT"});
    list.push_back(
        EditDb{TestDb{"MariaDBNative", NativeMariaDbString(my), "DOUBLE", "LONGBLOB", "DATETIME", false, "MariaDB"},
               "X'0AFF00'", "lower(hex(%s))", "INTEGER AUTO_INCREMENT PRIMARY KEY", "TEXT"});
  }
  return list;
}

std::string EditDbName(const testing::TestParamInfo<EditDb>& info) {
  return info.param.db.name;
}

std::string ReadBack(const std::string& connectionString, const std::string& sql) {
  DbConnection connection;
  connection.Open(connectionString, "", "");
  const std::string value = connection.QuerySingleField(sql);
  connection.Close();
  return value;
}

void TypeText(QWidget* widget, const std::string& text) {
  for (const QChar c : QString::fromStdString(text)) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, c.toLatin1());
    } else {
      // QTest maps only ASCII to keys: other letters arrive as text, as an input method sends them.
      QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

void TypeIntoCell(GridWindow& window, int row, int col, const std::string& text) {
  CDbGridCtrl& grid = window.Grid();
  if (grid.GetFocusCell() != CellId(row, col)) window.Click(row, col);
  window.Click(row, col);
  QWidget* editor = grid.GetEditor();
  if (!editor) {
    ADD_FAILURE() << "no editor opened on cell (" << row << "," << col << ")";
    return;
  }
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_Delete);
  TypeText(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  Settle();
}

}  // namespace dbgridtest
