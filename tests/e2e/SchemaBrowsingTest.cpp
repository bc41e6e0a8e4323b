// Tools > Enum Tables (with and without record counts) and Enum Fields on real databases: the
// table dialog driven by keys and clicks, the SELECT it writes, the counts, the field list
// compared with the database's own catalogue, and the error boxes.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/ado/ConnectionString.h"
#include "grid/GridCtrlEx.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/SchemaBrowsing.h"
#include "workspace/ui/TableSelectDlg.h"
#include "workspace/ui/TextDlg.h"

namespace e2e {
namespace {

std::vector<std::string> GridColumn(CGridCtrlEx& grid, int col) {
  std::vector<std::string> texts;
  for (int row = 1; row < grid.GetRowCount(); ++row) texts.push_back(grid.GetCellText(row, col));
  return texts;
}

void ClickHeader(CGridCtrlEx& grid, int col) {
  QRect rect;
  ASSERT_TRUE(grid.GetCellRect(0, col, rect));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts;
  std::stringstream stream(line);
  std::string part;
  while (std::getline(stream, part, '\t')) parts.push_back(part);
  return parts;
}

// Table and field of every line of the field list; each line must have a type and a "%4ld" size.
std::vector<std::pair<std::string, std::string>> TableFieldPairs(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const std::string& line : Lines(text)) {
    std::vector<std::string> parts = SplitTabs(line);
    EXPECT_EQ(parts.size(), 4u) << line;
    if (parts.size() != 4) continue;
    EXPECT_TRUE(std::regex_match(parts[2], std::regex("ad[A-Za-z]+"))) << line;
    EXPECT_NE(parts[2], "adEmpty") << line;
    EXPECT_TRUE(std::regex_match(parts[3], std::regex(" *-?[0-9]+")) && parts[3].size() >= 4) << line;
    pairs.emplace_back(parts[0], parts[1]);
  }
  return pairs;
}

// The program with helpers that answer the two dialogs of schema browsing.
class SchemaBrowsingTest : public ProgramTest {
 protected:
  // Runs a List Tables command and hands the dialog, shown, to `drive`, whose result is the
  // dialog's (kUseDialogResult: what its own buttons and keys decided).
  void ListTables(int command, const std::function<int(CTableSelectDlg&)>& drive) {
    prompts_->AnswerDialog([drive](QDialog& dialog) {
      auto* tables = qobject_cast<CTableSelectDlg*>(&dialog);
      EXPECT_NE(tables, nullptr);
      if (!tables) return int(QDialog::Rejected);
      tables->show();
      return drive(*tables);
    });
    P().RunCommand(command);
  }

  // Opens the dialog and takes the first table whose name contains `filter` by typing the
  // filter, Down and Return.
  void PickTable(const std::string& filter, int command = ID_LIST_TABLES) {
    ListTables(command, [filter](CTableSelectDlg& d) {
      d.FilterEdit()->clear();
      QTest::keyClicks(d.FilterEdit(), QString::fromStdString(filter));
      QTest::keyClick(d.FilterEdit(), Qt::Key_Down);
      QTest::keyClick(d.Grid(), Qt::Key_Return);
      return ScriptedPrompts::kUseDialogResult;
    });
  }

  std::string EnumFieldsText() {
    std::string text;
    prompts_->AnswerDialog([&text](QDialog& dialog) {
      auto* textDialog = qobject_cast<CTextDlg*>(&dialog);
      EXPECT_NE(textDialog, nullptr);
      if (!textDialog) return int(QDialog::Rejected);
      textDialog->show();
      EXPECT_EQ(textDialog->windowTitle().toStdString(), "All db fields ...");
      text = textDialog->text;
      return int(QDialog::Accepted);
    });
    P().RunCommand(ID_ENUM_FIELDS);
    return text;
  }

  std::string QueryText() { return P().Workspace().QueryText(); }
};

// ---------------------------------------------------------------- SQLite

class SqliteSchemaTest : public SchemaBrowsingTest {
 protected:
  void SetUp() override {
    SchemaBrowsingTest::SetUp();
    db_ = data_.File("schema.db");
    MakeSqliteDatabase(db_, {
                                "CREATE TABLE Customers (id INTEGER PRIMARY KEY, name VARCHAR(40))",
                                "CREATE TABLE Orders (id INTEGER PRIMARY KEY, customer INTEGER, FIELDXXX INTEGER, "
                                "placed DATE)",
                                "CREATE TABLE order_lines (id INTEGER, product VARCHAR(20), qty INTEGER)",
                                "CREATE TABLE \"Order Details\" (\"Line No\" INTEGER, \"Unit Price\" DOUBLE, "
                                "fieldxxx INTEGER, Note VARCHAR(30))",
                                "CREATE VIEW \"Order Totals\" AS SELECT customer, COUNT(*) AS n FROM Orders GROUP "
                                "BY customer",
                                "CREATE TABLE gone (x INTEGER)",
                                "CREATE VIEW broken AS SELECT x FROM gone",
                                "DROP TABLE gone",
                                "INSERT INTO Customers VALUES (1, 'Ann'), (2, 'Bob')",
                                "INSERT INTO Orders VALUES (1, 1, 0, '2024-01-02'), (2, 1, 0, '2024-02-03'), "
                                "(3, 2, 0, '2024-03-04')",
                                "INSERT INTO order_lines VALUES (1, 'pen', 2)",
                                "INSERT INTO \"Order Details\" VALUES (1, 2.5, 0, 'a'), (2, 3.5, 0, 'b')",
                            });
    connection_ = SqliteConnectionString(db_);
  }

  Program& StartOnDatabase() {
    Program& p = Start();
    p.TypeConnection(connection_);
    return p;
  }

  std::string db_;
  std::string connection_;
};

TEST_F(SqliteSchemaTest, FilterDownAndReturnWriteTheSelectAndTheFilterIsKeptForNextTime) {
  Program& p = StartOnDatabase();
  std::vector<std::string> names, kinds;
  std::vector<int> images;
  bool okBefore = true, okAfterDown = false;
  std::vector<std::string> all;
  ListTables(ID_LIST_TABLES, [&](CTableSelectDlg& d) {
    all = GridColumn(*d.Grid(), 1);
    EXPECT_EQ(d.windowTitle().toStdString(), "Table selection");
    EXPECT_EQ(qobject_cast<QLabel*>(d.Control(CTableSelectDlg::kPrompt))->text().toStdString(),
              "Please select table from list below");
    EXPECT_EQ(GridColumn(*d.Grid(), 1).size(), 6u);
    QTest::keyClicks(d.FilterEdit(), "ord");
    names = GridColumn(*d.Grid(), 1);
    kinds = GridColumn(*d.Grid(), 0);
    for (int row = 1; row < d.Grid()->GetRowCount(); ++row) images.push_back(d.Grid()->GetCellImage(row, 0));
    okBefore = d.Control(CTableSelectDlg::kOk)->isEnabled();
    QTest::keyClick(d.FilterEdit(), Qt::Key_Down);
    okAfterDown = d.Control(CTableSelectDlg::kOk)->isEnabled();
    EXPECT_EQ(d.Grid()->GetFocusCell().row, 1);
    EXPECT_EQ(d.focusWidget(), d.Grid());
    QTest::keyClick(d.Grid(), Qt::Key_Down);
    EXPECT_EQ(d.Grid()->GetFocusCell().row, 2);
    QTest::keyClick(d.Grid(), Qt::Key_Return);
    return ScriptedPrompts::kUseDialogResult;
  });
  // In the database's order (SQLite: tables by name, then views); Customers and the others go,
  // the case of "ord" does not matter.
  EXPECT_EQ(
      all, (std::vector<std::string>{"Customers", "Order Details", "Orders", "order_lines", "Order Totals", "broken"}));
  EXPECT_EQ(names, (std::vector<std::string>{"Order Details", "Orders", "order_lines", "Order Totals"}));
  EXPECT_EQ(kinds, (std::vector<std::string>{"T", "T", "T", "V"}));
  EXPECT_EQ(images, (std::vector<int>{0, 0, 0, 2}));
  EXPECT_FALSE(okBefore);
  EXPECT_TRUE(okAfterDown);
  // FIELDXXX is left out by the default FieldsToExclude, whatever its case.
  EXPECT_EQ(QueryText(), "SELECT id, customer, placed FROM Orders");
  // The connection text went into its history.
  EXPECT_EQ(p.Workspace().ConnectionHistory().Entries().back(), connection_);

  // The SELECT runs.
  p.RunCommand(ID_EXECUTE);
  EXPECT_EQ(p.DataRowCount(), 3);

  // Reopened: the last filter is in the edit and already applied; Cancel changes nothing.
  std::string filter;
  ListTables(ID_LIST_TABLES, [&](CTableSelectDlg& d) {
    filter = d.FilterEdit()->text().toStdString();
    names = GridColumn(*d.Grid(), 1);
    // Up on the first row goes back to the filter.
    QTest::keyClick(d.FilterEdit(), Qt::Key_Down);
    QTest::keyClick(d.Grid(), Qt::Key_Up);
    EXPECT_EQ(d.focusWidget(), d.FilterEdit());
    d.reject();
    return ScriptedPrompts::kUseDialogResult;
  });
  EXPECT_EQ(filter, "ord");
  EXPECT_EQ(names.size(), 4u);
  EXPECT_EQ(QueryText(), "SELECT id, customer, placed FROM Orders");
  EXPECT_EQ(AppSettings().GetString("General", "LastTablesFilterUsed"), "ord");
}

TEST_F(SqliteSchemaTest, NamesWithBlanksAreDelimitedAndFieldsExcludedWithoutRegardToCase) {
  StartOnDatabase();
  PickTable("details");
  EXPECT_EQ(QueryText(), "SELECT [Line No], [Unit Price], Note FROM [Order Details]");
  P().RunCommand(ID_EXECUTE);
  EXPECT_EQ(P().DataRowCount(), 2);

  // Delimiters the user set are used as set, and always when asked.
  AppSettings().SetText("General", "TableNamePrefix", "\"");
  AppSettings().SetText("General", "TableNamePostfix", "\"");
  AppSettings().SetText("General", "FieldNamePrefixUseAlways", "1");
  AppSettings().SetText("General", "FieldsToExclude", " note | FIELDxxx ");
  PickTable("details");
  EXPECT_EQ(QueryText(), "SELECT [Line No], [Unit Price] FROM \"Order Details\"");
  PickTable("customers");
  EXPECT_EQ(QueryText(), "SELECT [id], [name] FROM Customers");
}

TEST_F(SqliteSchemaTest, HeaderClicksSortAndTheSameColumnAgainReverses) {
  StartOnDatabase();
  std::vector<std::string> byName, byNameDown, byKind;
  bool okAfterPick = false;
  std::string result;
  ListTables(ID_LIST_TABLES, [&](CTableSelectDlg& d) {
    ClickHeader(*d.Grid(), 1);
    byName = GridColumn(*d.Grid(), 1);
    ClickHeader(*d.Grid(), 1);
    byNameDown = GridColumn(*d.Grid(), 1);
    ClickHeader(*d.Grid(), 0);
    byKind = GridColumn(*d.Grid(), 0);
    // A filter keeps the sorted order.
    QTest::keyClicks(d.FilterEdit(), "order");
    EXPECT_EQ(GridColumn(*d.Grid(), 1).size(), 4u);
    // A click on a table row enables OK; a double click takes it.
    QRect rect;
    d.Grid()->GetCellRect(2, 1, rect);
    QTest::mouseClick(d.Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    okAfterPick = d.Control(CTableSelectDlg::kOk)->isEnabled();
    result = d.Grid()->GetCellText(2, 1);
    QTest::mouseDClick(d.Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    return ScriptedPrompts::kUseDialogResult;
  });
  EXPECT_EQ(byName,
            (std::vector<std::string>{"broken", "Customers", "Order Details", "Order Totals", "order_lines", "Orders"}))
      << "case is ignored; '_' sorts after ' '";
  std::vector<std::string> reversed(byName.rbegin(), byName.rend());
  EXPECT_EQ(byNameDown, reversed);
  // The kind column is sorted in the direction the grid has (descending after the reversal).
  EXPECT_EQ(byKind, (std::vector<std::string>{"V", "V", "T", "T", "T", "T"}));
  EXPECT_TRUE(okAfterPick);
  ASSERT_NE(QueryText().rfind(" FROM "), std::string::npos);
  EXPECT_EQ(QueryText().substr(QueryText().rfind(" FROM ")),
            " FROM " + DelimitTableNameFor(result, NameQuoteStyle::Configured, AppSettings()));
}

TEST_F(SqliteSchemaTest, RecordCountsIncludingAFailedCountShownAsZero) {
  StartOnDatabase();
  std::vector<std::string> names, counts;
  ListTables(ID_LIST_TABLES_COUNT, [&](CTableSelectDlg& d) {
    d.FilterEdit()->clear();
    names = GridColumn(*d.Grid(), 1);
    counts = GridColumn(*d.Grid(), 2);
    ClickHeader(*d.Grid(), 2);
    EXPECT_EQ(GridColumn(*d.Grid(), 2), (std::vector<std::string>{"0", "1", "2", "2", "2", "3"}));
    return int(QDialog::Rejected);
  });
  ASSERT_EQ(names.size(), counts.size());
  std::map<std::string, std::string> byName;
  for (std::size_t i = 0; i < names.size(); ++i) byName[names[i]] = counts[i];
  EXPECT_EQ(byName["Customers"], "2");
  EXPECT_EQ(byName["Orders"], "3");
  EXPECT_EQ(byName["Order Details"], "2") << "the count query delimits the name";
  EXPECT_EQ(byName["Order Totals"], "2");
  EXPECT_EQ(byName["broken"], "0") << "a count that fails shows 0";
}

TEST_F(SqliteSchemaTest, CountingShowsItsProgressAndEscapeStopsItKeepingTheCountsTaken) {
  Program& p = StartOnDatabase();
  std::vector<std::string> messages;
  QStatusBar* bar = p.Frame().statusBar();
  QObject::connect(bar, &QStatusBar::messageChanged,
                   [&messages](const QString& message) { messages.push_back(message.toStdString()); });
  std::vector<std::string> counts;
  ListTables(ID_LIST_TABLES_COUNT, [&](CTableSelectDlg& d) {
    d.FilterEdit()->clear();
    counts = GridColumn(*d.Grid(), 2);
    return int(QDialog::Rejected);
  });
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front(), "Counting Customers (1 of 6)...");
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Counting Order Details (2 of 6)..."), messages.end());
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Counting broken (6 of 6)..."), messages.end());
  EXPECT_EQ(counts.size(), 6u);

  // Esc arrives while the first table is counted: that count stays, the rest are empty.
  QCoreApplication::postEvent(p.Workspace().QueryEditor(),
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  ListTables(ID_LIST_TABLES_COUNT, [&](CTableSelectDlg& d) {
    counts = GridColumn(*d.Grid(), 2);
    return int(QDialog::Rejected);
  });
  EXPECT_EQ(counts, (std::vector<std::string>{"2", "", "", "", "", ""}));
}

TEST_F(SqliteSchemaTest, EnumFieldsListsEveryFieldOfEveryTableAsTheCatalogueHasThem) {
  StartOnDatabase();
  const std::string text = EnumFieldsText();
  // The catalogue's own view: tables (no views) in their order, fields by pragma.
  std::vector<std::pair<std::string, std::string>> expected;
  DbConnection db;
  db.Open(connection_, "", "");
  {
    DbRecordset tables;
    tables.Open(&db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
    std::vector<std::string> names;
    for (; !tables.IsEOF(); tables.MoveNext()) names.push_back(tables.GetFieldValueIdx(0));
    tables.Close();
    for (const std::string& table : names) {
      DbRecordset columns;
      columns.Open(&db, "SELECT name FROM pragma_table_info('" + table + "') ORDER BY cid");
      for (; !columns.IsEOF(); columns.MoveNext()) expected.emplace_back(table, columns.GetFieldValueIdx(0));
      columns.Close();
    }
  }
  db.Close();
  // Tables in the provider's order, fields in the table's order.
  std::vector<std::pair<std::string, std::string>> listed = TableFieldPairs(text);
  auto byTable = [](const auto& a, const auto& b) { return a.first < b.first; };
  std::stable_sort(listed.begin(), listed.end(), byTable);
  std::stable_sort(expected.begin(), expected.end(), byTable);
  EXPECT_EQ(listed, expected);
  // Fields with blanks get their real type (looked up by position, not by a delimited name).
  EXPECT_NE(text.find("Order Details\tUnit Price\tadDouble\t"), std::string::npos) << text;
  EXPECT_NE(text.find("Orders\tid\tadInteger\t"), std::string::npos) << text;
  // The history is not touched by Enum Fields.
  EXPECT_TRUE(P().Workspace().ConnectionHistory().Entries().empty());
}

TEST_F(SqliteSchemaTest, AConnectionThatCannotOpenShowsItsErrorAndChangesNothing) {
  Program& p = Start();
  p.TypeConnection("Provider=SQLite;Data Source=" + data_.File("missing/none.db"));
  p.TypeQuery("SELECT 1");
  prompts_->AnswerMessage(IDOK);
  p.RunCommand(ID_LIST_TABLES);
  ASSERT_EQ(prompts_->Messages().size(), 1u);
  EXPECT_EQ(prompts_->Messages()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_FALSE(prompts_->Messages()[0].text.empty());
  EXPECT_EQ(prompts_->Messages()[0].caption, "Qelvo");
  EXPECT_TRUE(prompts_->Dialogs().empty());
  EXPECT_EQ(QueryText(), "SELECT 1");

  prompts_->AnswerMessage(IDOK);
  p.RunCommand(ID_ENUM_FIELDS);
  ASSERT_EQ(prompts_->Messages().size(), 2u);
  EXPECT_EQ(prompts_->Messages()[1].text, prompts_->Messages()[0].text);
  EXPECT_TRUE(prompts_->Dialogs().empty());
}

TEST_F(SqliteSchemaTest, DialogsResizeWithTheirContentAndLookRight) {
  StartOnDatabase();
  const std::string folder = QELVO_E2E_SCREENSHOTS;
  std::filesystem::create_directories(folder);
  AppSettings().SetText("General", "LastTablesFilterUsed", "");
  ListTables(ID_LIST_TABLES_COUNT, [&](CTableSelectDlg& d) {
    QTest::keyClick(d.FilterEdit(), Qt::Key_Down);
    QCoreApplication::processEvents();
    d.grab().save(QString::fromStdString(folder + "/table_select_dialog.png"));
    CGridCtrlEx& grid = *d.Grid();
    QWidget* ok = d.Control(CTableSelectDlg::kOk);
    const QSize before = d.size();
    const int okRightGap = d.width() - ok->geometry().right();
    const QSize gridBefore = grid.size();
    auto columnsWidth = [&grid] {
      int sum = 0;
      for (int col = 0; col < grid.GetColumnCount(); ++col) sum += grid.GetColumnWidth(col);
      return sum;
    };
    const int widthBefore = columnsWidth();
    d.resize(before + QSize(200, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.size(), gridBefore + QSize(200, 100));
    EXPECT_EQ(d.width() - ok->geometry().right(), okRightGap);
    EXPECT_EQ(columnsWidth(), widthBefore + 200) << "the last column takes the new width";
    // Not smaller than designed.
    d.resize(before - QSize(100, 100));
    QCoreApplication::processEvents();
    EXPECT_GE(d.width(), before.width());
    return int(QDialog::Rejected);
  });

  prompts_->AnswerDialog([&](QDialog& dialog) {
    auto& text = static_cast<CTextDlg&>(dialog);
    text.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFontInfo(text.Edit()->font()).fixedPitch());
    EXPECT_TRUE(text.Edit()->isReadOnly());
    EXPECT_EQ(text.Edit()->geometry(), text.rect());
    text.resize(text.size() + QSize(50, 40));
    QCoreApplication::processEvents();
    EXPECT_EQ(text.Edit()->geometry(), text.rect());
    EXPECT_EQ(text.Edit()->toPlainText().count('\r'), 0);
    text.grab().save(QString::fromStdString(folder + "/text_dialog.png"));
    return int(QDialog::Accepted);
  });
  P().RunCommand(ID_ENUM_FIELDS);
}

TEST_F(SchemaBrowsingTest, TheSampleDatabaseGivesARunnableSelect) {
  const std::string sample = FindSampleDatabase();
  ASSERT_FALSE(sample.empty());
  Program& p = Start();
  p.TypeConnection(SqliteConnectionString(sample));
  PickTable("order d");
  EXPECT_EQ(QueryText().rfind("SELECT ", 0), 0u);
  EXPECT_NE(QueryText().find(" FROM [Order Details]"), std::string::npos) << QueryText();
  p.RunCommand(ID_EXECUTE);
  EXPECT_GT(p.DataRowCount(), 0);
  EXPECT_TRUE(prompts_->Messages().empty());
}

// ---------------------------------------------------------------- servers

// The same on a server named by an ODBC connection string in an environment variable; its
// database e2edb. Names begin with "sb_" so that other suites' tables do not matter.
class ServerSchemaTest : public SchemaBrowsingTest {
 protected:
  bool Connect(const char* variable) {
    const char* text = std::getenv(variable);
    if (!text || !*text) return false;
    ado::ConnectionString server = ado::ConnectionString::Parse(text);
    server.Set("DATABASE", "e2edb");
    connection_ = server.ToOdbcString();
    return true;
  }
  void Run(const std::vector<std::string>& statements) {
    DbConnection db;
    db.Open(connection_, "", "");
    for (const std::string& statement : statements) db.Execute(statement);
    db.Close();
  }
  // Tables and fields as the server's information_schema has them (base tables of e2edb).
  std::vector<std::pair<std::string, std::string>> CatalogueFields(const std::string& schemaCondition) {
    std::vector<std::pair<std::string, std::string>> pairs;
    DbConnection db;
    db.Open(connection_, "", "");
    DbRecordset rs;
    rs.Open(&db,
            "SELECT c.table_name, c.column_name FROM information_schema.columns c JOIN information_schema.tables t "
            "ON t.table_schema = c.table_schema AND t.table_name = c.table_name WHERE t.table_type = 'BASE TABLE' "
            "AND " +
                schemaCondition + " AND c.table_name LIKE 'sb%' ORDER BY c.table_name, c.ordinal_position");
    for (; !rs.IsEOF(); rs.MoveNext()) pairs.emplace_back(rs.GetFieldValueIdx(0), rs.GetFieldValueIdx(1));
    rs.Close();
    db.Close();
    return pairs;
  }

  // The server's run: blank, mixed case, view, failing view; SELECT with the server's quotes.
  void RunSchemaChecks(const std::string& linesSelect, const std::string& mixedSelect, const std::string& failingView,
                       const std::vector<std::string>& catalogTables, const std::string& schemaCondition) {
    Program& p = Start();
    p.TypeConnection(connection_);
    std::vector<std::string> names, counts, kinds;
    ListTables(ID_LIST_TABLES_COUNT, [&](CTableSelectDlg& d) {
      d.FilterEdit()->clear();
      names = GridColumn(*d.Grid(), 1);
      counts = GridColumn(*d.Grid(), 2);
      kinds = GridColumn(*d.Grid(), 0);
      return int(QDialog::Rejected);
    });
    std::map<std::string, std::pair<std::string, std::string>> byName;
    for (std::size_t i = 0; i < names.size(); ++i) byName[names[i]] = {kinds[i], counts[i]};
    EXPECT_EQ(byName["sb Order Lines"], std::make_pair(std::string("T"), std::string("2")));
    EXPECT_EQ(byName["sb_MixedCase"], std::make_pair(std::string("T"), std::string("1")));
    EXPECT_EQ(byName["sb_totals"], std::make_pair(std::string("V"), std::string("2")));
    EXPECT_EQ(byName[failingView], std::make_pair(std::string("V"), std::string("0")));
    for (const std::string& catalogTable : catalogTables)
      EXPECT_EQ(std::count(names.begin(), names.end(), catalogTable), 0) << catalogTable << " is the server's own";

    PickTable("sb order");
    EXPECT_EQ(QueryText(), linesSelect);
    p.RunCommand(ID_EXECUTE);
    EXPECT_EQ(p.DataRowCount(), 2);
    PickTable("sb_mixed");
    EXPECT_EQ(QueryText(), mixedSelect);
    p.RunCommand(ID_EXECUTE);
    EXPECT_EQ(p.DataRowCount(), 1);
    EXPECT_TRUE(prompts_->Messages().empty()) << prompts_->Messages()[0].text;

    const std::string fields = EnumFieldsText();
    // An integer column: its type and its defined size, as "%4ld".
    EXPECT_NE(fields.find("sb Order Lines\tqty\tadInteger\t   4\r\n"), std::string::npos) << fields;
    std::vector<std::pair<std::string, std::string>> listed;
    for (auto& pair : TableFieldPairs(fields))
      if (pair.first.rfind("sb", 0) == 0) listed.push_back(pair);
    std::stable_sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::pair<std::string, std::string>> expected = CatalogueFields(schemaCondition);
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    EXPECT_EQ(listed, expected);
  }

  std::string connection_;
};

TEST_F(ServerSchemaTest, PostgresListsItsOwnTablesQuotedAsItAcceptsThem) {
  if (!Connect("QELVO_TEST_PG")) GTEST_SKIP() << "QELVO_TEST_PG is not set";
  Run({"DROP VIEW IF EXISTS sb_totals", "DROP VIEW IF EXISTS sb_failing", "DROP TABLE IF EXISTS \"sb Order Lines\"",
       "DROP TABLE IF EXISTS \"sb_MixedCase\"",
       "CREATE TABLE \"sb Order Lines\" (id integer, FIELDXXX integer, qty integer)",
       "INSERT INTO \"sb Order Lines\" VALUES (1, 0, 5), (2, 0, 7)",
       "CREATE TABLE \"sb_MixedCase\" (\"Id\" integer, \"FieldXxx\" integer, \"Full Name\" varchar(30))",
       "INSERT INTO \"sb_MixedCase\" VALUES (1, 0, 'Ann')",
       "CREATE VIEW sb_totals AS SELECT id, qty FROM \"sb Order Lines\"",
       "CREATE VIEW sb_failing AS SELECT id FROM \"sb Order Lines\" WHERE 1 / (qty - qty) = 1"});
  RunSchemaChecks("SELECT id, qty FROM \"sb Order Lines\"", "SELECT \"Id\", \"Full Name\" FROM \"sb_MixedCase\"",
                  "sb_failing", {"pg_class", "pg_type", "pg_tables", "tables", "columns", "schemata"},
                  "c.table_schema = 'public'");
}

TEST_F(ServerSchemaTest, MariaDbListsItsOwnTablesQuotedAsItAcceptsThem) {
  if (!Connect("QELVO_TEST_MARIADB")) GTEST_SKIP() << "QELVO_TEST_MARIADB is not set";
  Run({"DROP VIEW IF EXISTS sb_totals", "DROP VIEW IF EXISTS sb_failing", "DROP TABLE IF EXISTS `sb Order Lines`",
       "DROP TABLE IF EXISTS sb_MixedCase", "DROP TABLE IF EXISTS sb_gone",
       "CREATE TABLE `sb Order Lines` (id integer, FIELDXXX integer, qty integer)",
       "INSERT INTO `sb Order Lines` VALUES (1, 0, 5), (2, 0, 7)",
       "CREATE TABLE sb_MixedCase (Id integer, FieldXxx integer, `Full Name` varchar(30))",
       "INSERT INTO sb_MixedCase VALUES (1, 0, 'Ann')", "CREATE VIEW sb_totals AS SELECT id, qty FROM `sb Order Lines`",
       "CREATE TABLE sb_gone (x integer)", "CREATE VIEW sb_failing AS SELECT x FROM sb_gone", "DROP TABLE sb_gone"});
  RunSchemaChecks("SELECT id, qty FROM `sb Order Lines`", "SELECT Id, `Full Name` FROM sb_MixedCase", "sb_failing",
                  {"user", "db", "proc", "global_status", "sys_config", "host_summary"}, "c.table_schema = DATABASE()");
}

// Connections that invite the server's own tables in: MariaDB with no database named, and
// psqlODBC asked to show its system tables. The lists still hold none of them.
TEST_F(ServerSchemaTest, CataloguesStayOutEvenWhenTheConnectionInvitesThem) {
  const std::vector<std::string> catalogTables = {"user",     "db",      "global_status", "sys_config", "host_summary",
                                                  "pg_class", "pg_type", "pg_tables",     "tables",     "columns"};
  auto listed = [this](const std::string& connection) {
    P().TypeConnection(connection);
    std::vector<std::string> names;
    ListTables(ID_LIST_TABLES, [&](CTableSelectDlg& d) {
      d.FilterEdit()->clear();
      names = GridColumn(*d.Grid(), 1);
      return int(QDialog::Rejected);
    });
    return names;
  };
  bool ran = false;
  if (Connect("QELVO_TEST_MARIADB")) {
    ran = true;
    ado::ConnectionString server = ado::ConnectionString::Parse(connection_);
    server.Remove("DATABASE");
    if (!program_) Start();
    for (const std::string& name : listed(server.ToOdbcString()))
      EXPECT_EQ(std::count(catalogTables.begin(), catalogTables.end(), name), 0) << name;
  }
  if (Connect("QELVO_TEST_PG")) {
    ran = true;
    Run({"CREATE TABLE IF NOT EXISTS sb_own (id integer)"});
    if (!program_) Start();
    std::vector<std::string> names = listed(connection_ + ";ShowSystemTables=1");
    EXPECT_NE(std::count(names.begin(), names.end(), "sb_own"), 0);
    for (const std::string& name : names)
      EXPECT_EQ(std::count(catalogTables.begin(), catalogTables.end(), name), 0) << name;
  }
  if (!ran) GTEST_SKIP() << "neither QELVO_TEST_PG nor QELVO_TEST_MARIADB is set";
  EXPECT_TRUE(prompts_->Messages().empty());
}

}  // namespace
}  // namespace e2e
