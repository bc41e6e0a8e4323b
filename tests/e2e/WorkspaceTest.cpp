// The workspace's commands on its editors: Find, the edit commands, script files, Format Query,
// the connection-string builders, and Print of the result.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/OdbcDrivers.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/DataLinkDialog.h"
#include "platform/FindDialog.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/SelectListDlg.h"

namespace e2e {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class WorkspaceTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    db_ = data_.File("w.db");
    MakeSqliteDatabase(db_, {"CREATE TABLE Items (ID INTEGER PRIMARY KEY, Name VARCHAR(40))",
                             "INSERT INTO Items VALUES (1, 'Apple'), (2, 'Banana')"});
  }

  // Selects [from, to) of the query editor.
  void Select(int from, int to) {
    QPlainTextEdit* editor = P().Workspace().QueryEditor();
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
  }
  std::pair<int, int> Selection() {
    QTextCursor cursor = P().Workspace().QueryEditor()->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
  }

  std::string db_;
};

TEST_F(WorkspaceTest, FindWalksTheMatchesBeepsAfterTheLastAndStartsAgain) {
  Program& p = Start();
  p.TypeQuery("xa ya ZA");
  Select(8, 8);
  p.RunCommand(ID_EDIT_FIND);
  FindDialog* find = p.Workspace().OpenFindDialog();
  ASSERT_NE(find, nullptr);
  // Nothing selected and no earlier search: an empty search text, "Down" set.
  EXPECT_EQ(find->FindString(), "");
  EXPECT_TRUE(find->SearchDown());

  find->FindEdit()->setText("A");
  find->FindNextButton()->click();
  EXPECT_EQ(Selection(), std::make_pair(1, 2));
  find->FindNextButton()->click();
  EXPECT_EQ(Selection(), std::make_pair(4, 5));
  find->FindNextButton()->click();
  EXPECT_EQ(Selection(), std::make_pair(7, 8));  // case does not matter
  EXPECT_TRUE(prompts_->Beeps().empty());
  find->FindNextButton()->click();
  ASSERT_EQ(prompts_->Beeps().size(), 1u);
  EXPECT_EQ(prompts_->Beeps()[0], MB_ICONHAND);
  EXPECT_EQ(Selection().first, Selection().second);
  EXPECT_EQ(p.Frame().statusBar()->currentMessage().toStdString(),
            "No further match for \"A\"; the next search starts at the top.");
  find->FindNextButton()->click();
  EXPECT_EQ(Selection(), std::make_pair(1, 2));
  EXPECT_EQ(p.Workspace().LastSearchText(), "A");
  find->FindEdit()->setText("nowhere");
  find->FindNextButton()->click();
  EXPECT_EQ(p.Frame().statusBar()->currentMessage().toStdString(), "Cannot find \"nowhere\".");

  find->close();
  Settle();
  EXPECT_EQ(p.Workspace().OpenFindDialog(), nullptr);
  // A selection becomes the next search text.
  Select(3, 5);
  p.RunCommand(ID_EDIT_FIND);
  ASSERT_NE(p.Workspace().OpenFindDialog(), nullptr);
  EXPECT_EQ(p.Workspace().OpenFindDialog()->FindString(), "ya");
}

TEST_F(WorkspaceTest, EditCommandsFollowTheFocusedEditor) {
  Program& p = Start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&p.Frame()));
  p.TypeQuery("SELECT 1");
  QPlainTextEdit* editor = p.Workspace().QueryEditor();
  editor->setFocus();
  Select(8, 8);
  Settle();
  EXPECT_FALSE(p.IsEnabled(ID_EDIT_COPY));
  EXPECT_FALSE(p.IsEnabled(ID_EDIT_CUT));
  EXPECT_TRUE(p.IsEnabled(ID_EDIT_SELECT_ALL));
  EXPECT_TRUE(p.IsEnabled(ID_EDIT_UNDO));

  p.RunCommand(ID_EDIT_SELECT_ALL);
  EXPECT_EQ(Selection(), std::make_pair(0, 8));
  ASSERT_TRUE(p.IsEnabled(ID_EDIT_COPY));
  p.RunCommand(ID_EDIT_CUT);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "SELECT 1");
  EXPECT_EQ(p.Workspace().QueryText(), "");
  EXPECT_FALSE(p.IsEnabled(ID_EDIT_SELECT_ALL));
  ASSERT_TRUE(p.IsEnabled(ID_EDIT_PASTE));
  p.RunCommand(ID_EDIT_PASTE);
  p.RunCommand(ID_EDIT_PASTE);
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT 1SELECT 1");
  p.RunCommand(ID_EDIT_UNDO);
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT 1");

  // A read-only editor refuses Paste.
  editor->setReadOnly(true);
  EXPECT_FALSE(p.IsEnabled(ID_EDIT_PASTE));
  editor->setReadOnly(false);

  // With the grid focused, Copy is the grid's.
  p.TypeConnection(SqliteConnectionString(db_));
  p.TypeQuery("SELECT Name FROM Items ORDER BY ID");
  p.PressExecute();
  p.ClickCell(p.Grid().GetFirstDataRow(), 1);
  ASSERT_TRUE(p.Grid().hasFocus());
  ASSERT_TRUE(p.IsEnabled(ID_EDIT_COPY));
  p.RunCommand(ID_EDIT_COPY);
  EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Apple"));
}

TEST_F(WorkspaceTest, SaveAsAndOpenScriptFiles) {
  Program& p = Start();
  p.TypeQuery("");
  EXPECT_FALSE(p.IsEnabled(ID_FILE_SAVE_AS));
  p.TypeQuery("SELECT 1\nFROM t");
  ASSERT_TRUE(p.IsEnabled(ID_FILE_SAVE_AS));
  const std::string script = data_.File("saved.sql");
  prompts_->AnswerFile(script);
  p.RunCommand(ID_FILE_SAVE_AS);
  ASSERT_EQ(prompts_->Files().size(), 1u);
  EXPECT_EQ(prompts_->Files()[0].mode, FileDialogRequest::Mode::Save);
  EXPECT_EQ(prompts_->Files()[0].filter, "Script files (*.sql)|*.sql|All files (*.*)|*.*||");
  EXPECT_EQ(prompts_->Files()[0].defaultExtension, "sql");
  EXPECT_TRUE(prompts_->Files()[0].overwritePrompt);
  EXPECT_EQ(ReadFile(script), "SELECT 1\r\nFROM t");

  {
    std::ofstream other(data_.File("other.sql"), std::ios::binary);
    other << "SELECT a\r\nFROM b";
  }
  prompts_->AnswerFile(data_.File("other.sql"));
  p.RunCommand(ID_FILE_OPEN);
  EXPECT_TRUE(prompts_->Files()[1].fileMustExist);
  // Every line, the last one too, ends with a line break.
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT a\nFROM b\n");
  // Opening touches neither the connection nor the histories.
  EXPECT_TRUE(started_->empty());

  // Files that cannot be used are reported, and the editor keeps its text.
  prompts_->AnswerFile(data_.Path());  // a folder cannot be read as a script
  p.RunCommand(ID_FILE_OPEN);
  ASSERT_EQ(prompts_->Messages().size(), 1u);
  EXPECT_EQ(prompts_->Messages()[0].text, "Unable to read file \"" + data_.Path() + "\"");
  EXPECT_EQ(prompts_->Messages()[0].type, MB_OK | MB_ICONSTOP);
  const std::string nowhere = data_.File("missing/folder/x.sql");
  prompts_->AnswerFile(nowhere);
  p.RunCommand(ID_FILE_SAVE_AS);
  ASSERT_EQ(prompts_->Messages().size(), 2u);
  EXPECT_EQ(prompts_->Messages()[1].text, "Unable to write to file \"" + nowhere + "\"");
  EXPECT_EQ(p.Workspace().QueryText(), "SELECT a\nFROM b\n");
}

TEST_F(WorkspaceTest, FormatQueryBreaksBeforeTheSplitWords) {
  Program& p = Start();
  p.TypeQuery("select a,b from t\n   where x=1 order by a");
  p.RunCommand(ID_FORMAT_QUERY);
  EXPECT_EQ(p.Workspace().QueryText(), "select a,b\nfrom t\nwhere x=1\norder by a");
  p.RunCommand(ID_FORMAT_QUERY);
  EXPECT_EQ(p.Workspace().QueryText(), "select a,b\nfrom t\nwhere x=1\norder by a");
}

TEST_F(WorkspaceTest, TheDataLinkDialogBuildsTheConnectionString) {
  Program& p = Start();
  p.Workspace().SetConnectionMode(CQelvoView::kModeOleDb);
  p.TypeConnection("");
  const std::string file = db_;
  prompts_->AnswerDialog([file](QDialog& dialog) {
    auto& link = dynamic_cast<DataLinkDialog&>(dialog);
    link.SetProvider(DataLinkDialog::kSqliteProvider);
    qobject_cast<QLineEdit*>(link.Control(DataLinkDialog::kSqliteFile))->setText(QString::fromStdString(file));
    link.accept();
    return ScriptedPrompts::kUseDialogResult;
  });
  p.RunCommand(CQelvoView::IDC_BUILD_CONNECTION);
  EXPECT_EQ(p.Workspace().ConnectionText(), SqliteConnectionString(db_));

  // Cancel keeps the text.
  prompts_->AnswerDialog([](QDialog&) { return QDialog::Rejected; });
  p.RunCommand(CQelvoView::IDC_BUILD_CONNECTION);
  EXPECT_EQ(p.Workspace().ConnectionText(), SqliteConnectionString(db_));
  EXPECT_TRUE(prompts_->Unanswered().empty());
}

TEST_F(WorkspaceTest, TheOdbcBuilderOffersTheInstalledDrivers) {
  Program& p = Start();
  p.Workspace().SetConnectionMode(CQelvoView::kModeOdbc);
  p.TypeConnection("untouched");
  std::vector<std::string> drivers;
  ASSERT_TRUE(ListOdbcDrivers(drivers));
  std::vector<std::string> offered;
  std::string prompt;
  prompts_->AnswerDialog([&](QDialog& dialog) {
    auto& select = dynamic_cast<CSelectListDlg&>(dialog);
    for (int i = 0; i < select.List()->count(); ++i) offered.push_back(select.List()->item(i)->text().toStdString());
    prompt = qobject_cast<QLabel*>(select.Control(CSelectListDlg::kPrompt))->text().toStdString();
    select.accept();  // OK with nothing selected
    return ScriptedPrompts::kUseDialogResult;
  });
  p.RunCommand(CQelvoView::IDC_BUILD_CONNECTION);
  ASSERT_EQ(prompts_->Dialogs().size(), 1u);
  EXPECT_EQ(prompts_->Dialogs()[0].title, "ODBC Driver selection");
  EXPECT_EQ(prompt, "Please select an ODBC driver :");
  EXPECT_EQ(offered, drivers);
  EXPECT_EQ(p.Workspace().ConnectionText(), "untouched");

  if (drivers.empty()) return;
  // A chosen driver opens its prompt; cancelling it changes nothing.
  prompts_->AnswerDialog([](QDialog& dialog) {
    auto& select = dynamic_cast<CSelectListDlg&>(dialog);
    select.List()->setCurrentRow(0);
    select.accept();
    return ScriptedPrompts::kUseDialogResult;
  });
  prompts_->AnswerDialog([](QDialog&) { return QDialog::Rejected; });
  p.RunCommand(CQelvoView::IDC_BUILD_CONNECTION);
  ASSERT_EQ(prompts_->Dialogs().size(), 3u);
  EXPECT_EQ(prompts_->Dialogs()[2].className, "OdbcDriverPromptDialog");
  EXPECT_EQ(p.Workspace().ConnectionText(), "untouched");
}

TEST_F(WorkspaceTest, PrintWritesTheGridThroughThePrintDialog) {
  Program& p = Start();
  p.TypeConnection(SqliteConnectionString(db_));
  p.TypeQuery("SELECT Name FROM Items WHERE 0");
  p.PressExecute();
  EXPECT_FALSE(p.IsEnabled(ID_FILE_PRINT));
  p.TypeQuery("SELECT Name FROM Items ORDER BY ID");
  p.PressExecute();
  ASSERT_TRUE(p.IsEnabled(ID_FILE_PRINT));

  const std::string pdf = data_.File("grid.pdf");
  prompts_->AnswerDialog([pdf](QDialog& dialog) {
    auto& print = dynamic_cast<QPrintDialog&>(dialog);
    print.printer()->setOutputFormat(QPrinter::PdfFormat);
    print.printer()->setOutputFileName(QString::fromStdString(pdf));
    return QDialog::Accepted;
  });
  p.RunCommand(ID_FILE_PRINT);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(10000));
  const QString printed = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(printed.contains(QStringLiteral("Apple"))) << printed.toStdString();
  EXPECT_TRUE(printed.contains(QStringLiteral("Name")));
}

TEST_F(WorkspaceTest, PrintPreviewShowsThePagesPrintWouldPrint) {
  Program& p = Start();
  p.TypeConnection(SqliteConnectionString(db_));
  p.TypeQuery("SELECT Name FROM Items WHERE 0");
  p.PressExecute();
  EXPECT_FALSE(p.IsEnabled(ID_FILE_PRINT_PREVIEW));
  p.TypeQuery("SELECT Name FROM Items ORDER BY ID");
  p.PressExecute();
  ASSERT_TRUE(p.IsEnabled(ID_FILE_PRINT_PREVIEW));

  int pages = -1;
  prompts_->AnswerDialog([&pages](QDialog& dialog) {
    auto* preview = dynamic_cast<QPrintPreviewDialog&>(dialog).findChild<QPrintPreviewWidget*>();
    if (!preview) return int(QDialog::Rejected);
    dialog.resize(700, 500);
    dialog.show();
    preview->updatePreview();
    Settle();
    pages = preview->pageCount();
    std::filesystem::create_directories(QELVO_E2E_SCREENSHOTS);
    dialog.grab().save(QStringLiteral(QELVO_E2E_SCREENSHOTS "/print-preview.png"));
    return int(QDialog::Rejected);
  });
  p.RunCommand(ID_FILE_PRINT_PREVIEW);
  EXPECT_TRUE(prompts_->Unanswered().empty());
  EXPECT_EQ(pages, 1);
}

}  // namespace
}  // namespace e2e
