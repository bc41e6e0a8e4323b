// The export commands in the window: the "Export" dialog in both modes (settings, enabling rule,
// All / None, the substring rule, the up-down, "...", OK storing and Cancel not), the four script
// export commands with the viewer started on the file, and Export of the shown result to CSV and
// xlsx, read back with Python's csv module and openpyxl.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/UpDownControl.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/ExportDlg.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/StatusPanes.h"
#include "workspace/ui/WindowExportUi.h"

namespace e2e {
namespace {
using D = ExportDlg;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The rows of a CSV file (csv module) or of the first sheet of a workbook (openpyxl), one line
// per row, cells joined by " | ".
std::string ReadBack(const std::string& path, bool csv, const std::string& separator = ";") {
  const char* script = csv ? R"(
import csv, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    for row in csv.reader(f, delimiter=sys.argv[2], strict=True):
        print(' | '.join(row))
)"
                           : R"(
import openpyxl, sys
sheet = openpyxl.load_workbook(sys.argv[1]).active
print(sheet.title)
for row in sheet.iter_rows(values_only=True):
    print(' | '.join('' if v is None else str(v) for v in row))
)";
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(script),
                                                    QString::fromStdString(path), QString::fromStdString(separator)});
  python.waitForFinished(30000);
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  return python.readAllStandardOutput().toStdString();
}

// A PNG of the dialog beside the other screenshots of the build.
void SaveScreenshot(QWidget& widget, const std::string& name) {
  const std::string folder = QELVO_E2E_SCREENSHOTS;
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(widget.grab().save(QString::fromStdString(folder + "/" + name + ".png")));
}

bool Enabled(const D& dialog, int id) {
  return dialog.Control(id)->isEnabled();
}
bool Checked(const D& dialog, int id) {
  return qobject_cast<QAbstractButton*>(dialog.Control(id))->isChecked();
}
void Click(const D& dialog, int id) {
  QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.Control(id)), Qt::LeftButton);
}
QLineEdit* Edit(const D& dialog, int id) {
  return qobject_cast<QLineEdit*>(dialog.Control(id));
}
std::vector<std::string> CheckedTables(const D& dialog) {
  std::vector<std::string> names;
  for (int i = 0; i < dialog.Tables()->topLevelItemCount(); ++i)
    if (dialog.Tables()->topLevelItem(i)->checkState(0) == Qt::Checked)
      names.push_back(dialog.Tables()->topLevelItem(i)->text(0).toStdString());
  return names;
}

class ExportCommandsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    db_ = data_.File("shop.db");
    MakeSqliteDatabase(db_,
                       {"CREATE TABLE Orders (id INTEGER PRIMARY KEY, city TEXT NOT NULL)",
                        "INSERT INTO Orders VALUES (1, 'Milano'), (2, 'Zürich')", "CREATE TABLE \"Order\" (n INTEGER)",
                        "INSERT INTO \"Order\" VALUES (7)", "CREATE TABLE \"Order Details\" (id INTEGER, qty INTEGER)",
                        "CREATE VIEW BigOrders AS SELECT * FROM Orders WHERE id > 1"});
    output_ = data_.File("out.sql");
  }

  Program& StartOnDatabase() {
    Program& p = Start();
    p.TypeConnection(SqliteConnectionString(db_));
    AppSettings().SetText("Export", "OutputFile", output_);
    AppSettings().SetText("Export", "AppendMode", "0");
    return p;
  }

  std::string db_;
  std::string output_;
};

TEST_F(ExportCommandsTest, FirstStartShowsStructOnlyAndTheRadioButtonsDriveTheEnabling) {
  Program& p = Start();
  D dialog(&p.Workspace());
  dialog.Prepare();
  EXPECT_EQ(dialog.windowTitle(), "Export");
  EXPECT_TRUE(Checked(dialog, D::IDC_STRUCT_ONLY));
  EXPECT_TRUE(Checked(dialog, D::IDC_APPEND));
  EXPECT_TRUE(Checked(dialog, D::IDC_AUTONUMBERS));
  EXPECT_TRUE(Checked(dialog, D::IDC_DROP_OR_ZAP));
  EXPECT_EQ(Edit(dialog, D::IDC_OUTPUT_FILE)->text().toStdString(), AppSettings().GetString("Export", "OutputFile"));
  EXPECT_EQ(Edit(dialog, D::IDC_MAX_RECORDS)->text(), "0");
  EXPECT_FALSE(Enabled(dialog, D::IDC_AUTONUMBERS));
  EXPECT_FALSE(Enabled(dialog, D::IDC_MAX_RECORDS));
  EXPECT_FALSE(Enabled(dialog, D::IDC_MAX_RECORDS_LABEL));
  EXPECT_TRUE(dialog.MaxRecordsSpin()->isEnabled());
  EXPECT_TRUE(Enabled(dialog, D::IDC_DROP_OR_ZAP));
  // Query mode: the target name instead of the list.
  EXPECT_FALSE(dialog.Tables()->isVisibleTo(&dialog));
  EXPECT_FALSE(dialog.Control(D::IDC_ALL)->isVisibleTo(&dialog));
  EXPECT_TRUE(dialog.Control(D::IDC_TARGET_NAME)->isVisibleTo(&dialog));
  EXPECT_TRUE(dialog.Control(D::IDC_TARGET_LABEL)->isVisibleTo(&dialog));

  dialog.show();
  Click(dialog, D::IDC_DATA_ONLY);
  EXPECT_TRUE(Enabled(dialog, D::IDC_AUTONUMBERS));
  EXPECT_TRUE(Enabled(dialog, D::IDC_MAX_RECORDS));
  EXPECT_TRUE(Enabled(dialog, D::IDC_MAX_RECORDS_LABEL));
  Click(dialog, D::IDC_STRUCT_ONLY);
  EXPECT_FALSE(Enabled(dialog, D::IDC_AUTONUMBERS));
  Click(dialog, D::IDC_STRUCT_AND_DATA);
  EXPECT_TRUE(Enabled(dialog, D::IDC_MAX_RECORDS));
  dialog.reject();
}

TEST_F(ExportCommandsTest, UpDownStepsWithinItsRangeButNeverClampsTypedText) {
  Program& p = Start();
  AppSettings().SetText("Export", "ExportMode", "1");
  D dialog(&p.Workspace());
  dialog.show();
  QLineEdit* edit = Edit(dialog, D::IDC_MAX_RECORDS);
  edit->setText("9999");
  QTest::mouseClick(dialog.MaxRecordsSpin()->UpButton(), Qt::LeftButton);
  EXPECT_EQ(edit->text(), "10000");
  QTest::mouseClick(dialog.MaxRecordsSpin()->UpButton(), Qt::LeftButton);
  EXPECT_EQ(edit->text(), "10000");
  edit->clear();
  edit->setFocus();
  QTest::keyClicks(edit, "2500a0x0");
  EXPECT_EQ(edit->text(), "250000");
  QTest::keyClick(edit, Qt::Key_Down);
  EXPECT_EQ(edit->text(), "9999");
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(edit->text(), "10000");
  edit->setText("0");
  QTest::mouseClick(dialog.MaxRecordsSpin()->DownButton(), Qt::LeftButton);
  EXPECT_EQ(edit->text(), "0");
  // Typed beyond the range, stored as typed.
  edit->setText("25000");
  dialog.accept();
  EXPECT_EQ(AppSettings().GetString("Export", "MaxRecords"), "25000");
}

TEST_F(ExportCommandsTest, BrowseAsksBeforeOverwritingOnlyWithoutAppend) {
  Program& p = Start();
  D dialog(&p.Workspace());
  dialog.show();
  Edit(dialog, D::IDC_OUTPUT_FILE)->setText("/tmp/first.sql");
  prompts_->AnswerFile(std::string("/tmp/chosen.sql"));
  Click(dialog, D::IDC_BROWSE);  // append is on
  prompts_->AnswerFile(std::nullopt);
  Click(dialog, D::IDC_APPEND);
  Click(dialog, D::IDC_BROWSE);
  ASSERT_EQ(prompts_->Files().size(), 2u);
  const FileDialogRequest& withAppend = prompts_->Files()[0];
  EXPECT_EQ(withAppend.mode, FileDialogRequest::Mode::Save);
  EXPECT_EQ(withAppend.initialName, "/tmp/first.sql");
  EXPECT_EQ(withAppend.defaultExtension, "sql");
  EXPECT_EQ(withAppend.filter, "Script files (*.sql)|*.sql|All files (*.*)|*.*||");
  EXPECT_TRUE(withAppend.noReadOnlyReturn);
  EXPECT_FALSE(withAppend.overwritePrompt);
  EXPECT_TRUE(prompts_->Files()[1].overwritePrompt);
  EXPECT_EQ(prompts_->Files()[1].initialName, "/tmp/chosen.sql");
  // Cancel in the file dialog keeps the chosen path.
  EXPECT_EQ(Edit(dialog, D::IDC_OUTPUT_FILE)->text(), "/tmp/chosen.sql");
  dialog.reject();
}

TEST_F(ExportCommandsTest, TableExportChecksBySubstringAndStoresTheCheckedTablesOnOk) {
  Program& p = StartOnDatabase();
  AppSettings().SetText("Export", "SelectedTableList", "Orders|");
  std::vector<std::string> listed;
  std::vector<std::string> checkedAtStart;
  std::vector<std::string> afterAll;
  std::vector<std::string> afterNone;
  bool imagesShown = true;
  prompts_->AnswerDialog([&](QDialog& d) {
    auto& dialog = dynamic_cast<D&>(d);
    dialog.show();
    EXPECT_TRUE(dialog.Tables()->isVisible());
    EXPECT_FALSE(dialog.Control(D::IDC_TARGET_NAME)->isVisible());
    EXPECT_EQ(dialog.Tables()->headerItem()->text(0), "Tables");
    for (int i = 0; i < dialog.Tables()->topLevelItemCount(); ++i) {
      listed.push_back(dialog.Tables()->topLevelItem(i)->text(0).toStdString());
      imagesShown = imagesShown && !dialog.Tables()->topLevelItem(i)->icon(0).isNull();
    }
    checkedAtStart = CheckedTables(dialog);
    SaveScreenshot(dialog, "export-dialog-tables");
    Click(dialog, D::IDC_ALL);
    afterAll = CheckedTables(dialog);
    Click(dialog, D::IDC_NONE);
    afterNone = CheckedTables(dialog);
    // Orders and the view, in list order; structure and data.
    for (int i = 0; i < dialog.Tables()->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = dialog.Tables()->topLevelItem(i);
      if (item->text(0) == "Orders" || item->text(0) == "BigOrders") item->setCheckState(0, Qt::Checked);
    }
    Click(dialog, D::IDC_STRUCT_AND_DATA);
    Click(dialog, 1);
    return ScriptedPrompts::kUseDialogResult;
  });
  ASSERT_TRUE(p.RunCommand(ID_EXPORT_MYSQL_TABLES));
  EXPECT_TRUE(prompts_->Unanswered().empty());
  const std::vector<std::string> all = {"BigOrders", "Order", "Order Details", "Orders"};
  std::vector<std::string> sorted = listed;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, all);
  EXPECT_TRUE(imagesShown);
  // A saved "Orders|" checks Orders and Order, not Order Details.
  std::sort(checkedAtStart.begin(), checkedAtStart.end());
  EXPECT_EQ(checkedAtStart, (std::vector<std::string>{"Order", "Orders"}));
  EXPECT_EQ(afterAll.size(), 4u);
  EXPECT_TRUE(afterNone.empty());

  std::string stored;
  for (const std::string& name : listed)
    if (name == "Orders" || name == "BigOrders") stored += name + "|";
  EXPECT_EQ(AppSettings().GetString("Export", "SelectedTableList"), stored);
  EXPECT_EQ(AppSettings().GetString("Export", "ExportMode"), "1");
  const std::string script = ReadFile(output_);
  EXPECT_NE(script.find("CREATE TABLE Orders ("), std::string::npos) << script;
  EXPECT_NE(script.find("CREATE TABLE BigOrders ("), std::string::npos) << script;
  EXPECT_NE(script.find("INSERT INTO Orders (id,city) VALUES (2,'Zürich');"), std::string::npos) << script;
  EXPECT_EQ(script.find("CREATE TABLE `Order`"), std::string::npos) << script;
  // The viewer is started on the file.
  ASSERT_EQ(started_->size(), 1u);
  EXPECT_EQ(started_->back().back(), output_);
}

TEST_F(ExportCommandsTest, AFailedListingIsShownAndTheDialogOpensAllTheSame) {
  Program& p = Start();
  p.TypeConnection("Provider=SQLite;Data Source=" + data_.File("missing/folder/none.db"));
  prompts_->AnswerMessage(IDOK);
  int listed = -1;
  prompts_->AnswerDialog([&](QDialog& d) {
    auto& dialog = dynamic_cast<D&>(d);
    dialog.show();
    listed = dialog.Tables()->topLevelItemCount();
    return QDialog::Rejected;
  });
  ASSERT_TRUE(p.RunCommand(ID_EXPORT_SQLSERVER_TABLES));
  ASSERT_EQ(prompts_->Messages().size(), 1u);
  EXPECT_EQ(prompts_->Messages()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_FALSE(prompts_->Messages()[0].text.empty());
  EXPECT_EQ(listed, 0);
  EXPECT_TRUE(started_->empty());
}

TEST_F(ExportCommandsTest, CancelStoresNothingAndExportsNothing) {
  Program& p = StartOnDatabase();
  AppSettings().SetText("Export", "SelectedTableList", "Orders|");
  prompts_->AnswerDialog([](QDialog& d) {
    auto& dialog = dynamic_cast<D&>(d);
    dialog.show();
    Click(dialog, D::IDC_NONE);
    Click(dialog, D::IDC_DATA_ONLY);
    Edit(dialog, D::IDC_OUTPUT_FILE)->setText("/tmp/elsewhere.sql");
    Click(dialog, 2);
    return ScriptedPrompts::kUseDialogResult;
  });
  ASSERT_TRUE(p.RunCommand(ID_EXPORT_SQLSERVER_TABLES));
  EXPECT_EQ(AppSettings().GetString("Export", "SelectedTableList"), "Orders|");
  EXPECT_EQ(AppSettings().GetString("Export", "ExportMode"), "2");
  EXPECT_EQ(AppSettings().GetString("Export", "OutputFile"), output_);
  EXPECT_FALSE(std::filesystem::exists(output_));
  EXPECT_TRUE(started_->empty());
}

TEST_F(ExportCommandsTest, QueryExportTakesTheSelectionUnderTheTypedName) {
  Program& p = StartOnDatabase();
  p.TypeQuery("");
  EXPECT_FALSE(p.IsEnabled(ID_EXPORT_MYSQL_QUERY));
  EXPECT_FALSE(p.IsEnabled(ID_EXPORT_SQLSERVER_QUERY));
  EXPECT_TRUE(p.IsEnabled(ID_EXPORT_MYSQL_TABLES));
  const std::string first = "SELECT * FROM \"Order\"";
  p.TypeQuery(first + "\nSELECT city FROM Orders WHERE id = 2");
  EXPECT_TRUE(p.IsEnabled(ID_EXPORT_MYSQL_QUERY));
  QPlainTextEdit* editor = p.Workspace().QueryEditor();
  QTextCursor cursor = editor->textCursor();
  cursor.setPosition(static_cast<int>(first.size()) + 1);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
  EXPECT_EQ(p.Workspace().CurrentQueryText(), "SELECT city FROM Orders WHERE id = 2");

  AppSettings().SetText("Export", "TargetTableName", "Old Name");
  std::string shownName;
  prompts_->AnswerDialog([&](QDialog& d) {
    auto& dialog = dynamic_cast<D&>(d);
    dialog.show();
    shownName = Edit(dialog, D::IDC_TARGET_NAME)->text().toStdString();
    SaveScreenshot(dialog, "export-dialog-query");
    Edit(dialog, D::IDC_TARGET_NAME)->setText("Cities");
    Click(dialog, D::IDC_STRUCT_AND_DATA);
    Click(dialog, 1);
    return ScriptedPrompts::kUseDialogResult;
  });
  ASSERT_TRUE(p.RunCommand(ID_EXPORT_MYSQL_QUERY));
  EXPECT_EQ(shownName, "Old Name");
  EXPECT_EQ(AppSettings().GetString("Export", "TargetTableName"), "Cities");
  const std::string script = ReadFile(output_);
  EXPECT_NE(script.find("CREATE TABLE Cities (\r\n    city                 mediumtext NOT NULL\r\n);"),
            std::string::npos)
      << script;
  EXPECT_NE(script.find("INSERT INTO Cities (city) VALUES ('Zürich');\r\n"), std::string::npos) << script;
  EXPECT_EQ(script.find("Milano"), std::string::npos) << script;
  EXPECT_EQ(started_->size(), 1u);
}

// The window's side of a long export: the progress in the record-count pane, Esc seen, and every
// other input dropped while the export looks at the events.
TEST_F(ExportCommandsTest, ProgressIsShownAndOnlyEscGetsThroughDuringAnExport) {
  struct Panes : StatusPanes {
    void SetRecordCountPane(const std::string& text) override { records = text; }
    void SetElapsedPane(long) override {}
    void ResetStatusPanes() override { records.clear(); }
    std::string records;
  } panes;
  QLineEdit edit;
  edit.show();
  WindowExportUi ui(&panes, nullptr);
  QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
  EXPECT_TRUE(ui.Progress("Orders", 0));
  EXPECT_EQ(panes.records, "Orders: 0 rows");
  EXPECT_TRUE(edit.text().isEmpty());
  EXPECT_FALSE(ui.Canceled());
  // Esc stops the export, and it stays stopped.
  WindowExportUi next(&panes, nullptr);
  QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  EXPECT_FALSE(next.Progress("Orders", 128));
  EXPECT_TRUE(next.Canceled());
  EXPECT_FALSE(next.Progress("Orders", 192));
  EXPECT_EQ(panes.records, "Orders: 128 rows");
  EXPECT_TRUE(edit.text().isEmpty());
}

class ResultExportTest : public ExportCommandsTest {
 protected:
  Program& ShowResult(const std::string& query) {
    Program& p = StartOnDatabase();
    p.TypeQuery(query);
    p.PressExecute();
    return p;
  }
};

TEST_F(ResultExportTest, CsvIsWrittenWithTheSeparatorAndOpened) {
  Program& p = ShowResult("SELECT id, city, 'a;b' AS odd FROM Orders");
  AppSettings().SetText("Excel", "EnableCsv", "1");
  AppSettings().SetText("Excel", "CsvSeparator", ";x");
  ASSERT_TRUE(p.IsEnabled(ID_EXPORT));
  const std::string path = data_.File("result.csv");
  prompts_->AnswerFile(path);
  ASSERT_TRUE(p.RunCommand(ID_EXPORT));
  ASSERT_EQ(prompts_->Files().size(), 1u);
  const FileDialogRequest& request = prompts_->Files()[0];
  EXPECT_EQ(request.initialName, "export.csv");
  EXPECT_EQ(request.defaultExtension, "csv");
  EXPECT_EQ(request.filter, "Csv files (*.csv)|*.csv|All files (*.*)|*.*||");
  EXPECT_TRUE(request.overwritePrompt);
  EXPECT_TRUE(request.noReadOnlyReturn);
  EXPECT_EQ(ReadBack(path, true), "id | city | odd\n1 | Milano | a;b\n2 | Zürich | a;b\n");
  EXPECT_EQ(prompts_->Opened(), (std::vector<std::string>{path}));
  EXPECT_TRUE(prompts_->Messages().empty());
}

TEST_F(ResultExportTest, XlsxIsAWorkbookNamedExport) {
  Program& p = ShowResult("SELECT id, city FROM Orders");
  AppSettings().SetText("Excel", "EnableCsv", "0");
  const std::string path = data_.File("result.xlsx");
  prompts_->AnswerFile(path);
  ASSERT_TRUE(p.RunCommand(ID_EXPORT));
  const FileDialogRequest& request = prompts_->Files().at(0);
  EXPECT_EQ(request.initialName, "export.xlsx");
  EXPECT_EQ(request.defaultExtension, "xlsx");
  EXPECT_EQ(request.filter, "Excel files (*.xlsx)|*.xlsx|All files (*.*)|*.*||");
  EXPECT_EQ(ReadBack(path, false), "Export\nid | city\n1 | Milano\n2 | Zürich\n");
  EXPECT_EQ(prompts_->Opened(), (std::vector<std::string>{path}));
}

TEST_F(ResultExportTest, EmptyResultOrCancelWritesAndOpensNothing) {
  Program& p = ShowResult("SELECT * FROM Orders WHERE id < 0");
  AppSettings().SetText("Excel", "EnableCsv", "1");
  const std::string path = data_.File("none.csv");
  prompts_->AnswerFile(path);
  prompts_->AnswerMessage(IDOK);
  ASSERT_TRUE(p.RunCommand(ID_EXPORT));
  ASSERT_EQ(prompts_->Messages().size(), 1u);
  EXPECT_EQ(prompts_->Messages()[0].text, "No data available for export");
  EXPECT_EQ(prompts_->Messages()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_FALSE(std::filesystem::exists(path));
  prompts_->AnswerFile(std::nullopt);
  ASSERT_TRUE(p.RunCommand(ID_EXPORT));
  EXPECT_TRUE(prompts_->Opened().empty());
  EXPECT_EQ(prompts_->Messages().size(), 1u);
}

TEST_F(ResultExportTest, EscStopsAnExportAfterTheLastWholeRowAndNothingOpens) {
  RunSqlite(db_, "CREATE TABLE Many (n INTEGER, t TEXT)");
  RunSqlite(db_,
            "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 5000) "
            "INSERT INTO Many SELECT i, 'row ' || i FROM c");
  Program& p = ShowResult("SELECT * FROM Many");
  AppSettings().SetText("Excel", "EnableCsv", "1");
  const std::string path = data_.File("many.csv");
  prompts_->AnswerFile(path);
  // Esc waiting in the queue: the export sees it the first time it looks at the events.
  QCoreApplication::postEvent(&p.Frame(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  ASSERT_TRUE(p.RunCommand(ID_EXPORT));
  const std::string text = ReadFile(path);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_LT(std::count(text.begin(), text.end(), '\n'), 5001);
  EXPECT_TRUE(prompts_->Opened().empty());
  EXPECT_TRUE(prompts_->Messages().empty());
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "Canceled");

  // The same for a script export: no viewer.
  AppSettings().SetText("Export", "ExportMode", "3");
  prompts_->AnswerDialog([](QDialog& d) {
    auto& dialog = dynamic_cast<D&>(d);
    dialog.show();
    Click(dialog, 1);
    return ScriptedPrompts::kUseDialogResult;
  });
  p.TypeQuery("SELECT * FROM Many");
  QCoreApplication::postEvent(&p.Frame(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  ASSERT_TRUE(p.RunCommand(ID_EXPORT_MYSQL_QUERY));
  const std::string script = ReadFile(output_);
  EXPECT_EQ(script.find("INSERT INTO"), std::string::npos) << script.substr(0, 200);
  EXPECT_TRUE(started_->empty());
  EXPECT_EQ(p.Pane(ID_INDICATOR_RECORDS), "Canceled");
}
}  // namespace
}  // namespace e2e

namespace e2e {
namespace {
// The whole way a new user goes: MySQL target > Export tables, All, OK; the script loads into
// MariaDB (the client stops at the first error) with every row of every table.
TEST_F(ExportCommandsTest, EveryTableOfTheSampleDatabaseLoadsIntoMariaDb) {
  const char* port = std::getenv("QELVO_MARIADB_PORT");
  if (!port || !*port) GTEST_SKIP() << "No MariaDB server: the test command starts one with scripts/servers.sh";
  const std::string sample = FindSampleDatabase();
  ASSERT_FALSE(sample.empty());
  Program& p = Start();
  p.TypeConnection(SqliteConnectionString(sample));
  AppSettings().SetText("Export", "OutputFile", output_);
  AppSettings().SetText("Export", "AppendMode", "0");
  std::vector<std::string> tables;
  prompts_->AnswerDialog([&](QDialog& d) {
    auto& dialog = dynamic_cast<D&>(d);
    dialog.show();
    Click(dialog, D::IDC_ALL);
    Click(dialog, D::IDC_STRUCT_AND_DATA);
    tables = CheckedTables(dialog);
    Click(dialog, 1);
    return ScriptedPrompts::kUseDialogResult;
  });
  ASSERT_TRUE(p.RunCommand(ID_EXPORT_MYSQL_TABLES));
  ASSERT_GE(tables.size(), 5u);
  const QString client = QStringLiteral("mariadb");
  const QStringList login = {
      QStringLiteral("--no-defaults"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-P"),
      QString::fromUtf8(port),         QStringLiteral("-u"), QStringLiteral("tester"),    QStringLiteral("-psecret"),
      QStringLiteral("e2edb")};
  QProcess load;
  load.setStandardInputFile(QString::fromStdString(output_));
  load.start(client, login);
  ASSERT_TRUE(load.waitForFinished(60000));
  ASSERT_EQ(load.exitCode(), 0) << load.readAllStandardError().toStdString();
  for (const std::string& table : tables) {
    QProcess count;
    QStringList arguments = login;
    arguments << QStringLiteral("-B") << QStringLiteral("-N") << QStringLiteral("-e")
              << QString::fromStdString("SELECT COUNT(*) FROM `" + table + "`");
    count.start(client, arguments);
    ASSERT_TRUE(count.waitForFinished(30000));
    QProcess source;
    source.start(QStringLiteral("sqlite3"),
                 {QString::fromStdString(sample), QString::fromStdString("SELECT COUNT(*) FROM \"" + table + "\"")});
    ASSERT_TRUE(source.waitForFinished(30000));
    EXPECT_EQ(count.readAllStandardOutput().trimmed().toStdString(),
              source.readAllStandardOutput().trimmed().toStdString())
        << table;
  }
}
}  // namespace
}  // namespace e2e
