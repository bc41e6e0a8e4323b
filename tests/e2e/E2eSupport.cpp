#include "tests/e2e/E2eSupport.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>

#include "grid/db/DbGridCtrl.h"
#include "platform/framework/PromptSeam.h"
#include "tests/support/dbgrid/GridDriving.h"
#include "workspace/ProfileStore.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/WindowPlacement.h"

namespace e2e {

void EnsureApp() {
  testsupport::EnsureOffscreenApp("tests_e2e");
}

bool RecordingStarter::Start(const std::vector<std::string>& arguments, bool) {
  started->push_back(arguments);
  return true;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qelvo-e2e-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

void RunSqlite(const std::string& path, const std::string& statement) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  int rc = sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &message);
  EXPECT_EQ(rc, SQLITE_OK) << (message ? message : "") << " in " << statement;
  sqlite3_free(message);
  sqlite3_close(db);
}

void MakeSqliteDatabase(const std::string& path, const std::vector<std::string>& statements) {
  for (const std::string& statement : statements) RunSqlite(path, statement);
}

Program::Program(const std::string& configHome, QSize size, const std::vector<std::string>& arguments) {
  EnsureApp();
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome));
  app_ = std::make_unique<CQelvoApp>();
  if (!app_->InitInstance(arguments)) throw std::runtime_error("the program did not start");
  // Without a saved placement the window takes a share of the screen; tests want a known size.
  if (!ReadWindowPlacement(AppProfile()) && size.isValid()) Frame().resize(size);
  Frame().activateWindow();
  Settle();
}

Program::~Program() {
  Close();
}

CMainFrame& Program::Frame() {
  return *app_->MainFrame();
}
CQelvoView& Program::Workspace() {
  return *Frame().TopView();
}
CBottomView& Program::Bottom() {
  return *Frame().BottomView();
}
CDbGridCtrl& Program::Grid() {
  return *Bottom().Grid();
}

void Program::TypeInto(QWidget* editor, const std::string& text) {
  editor->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_Delete);
  const QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, lines[i]);
  }
  Settle();
}

void Program::TypeConnection(const std::string& text) {
  TypeInto(Workspace().ConnectionEditor(), text);
}
void Program::TypeQuery(const std::string& text) {
  TypeInto(Workspace().QueryEditor(), text);
}

void Program::StartExecute() {
  QPlainTextEdit* editor = Workspace().QueryEditor();
  if (!editor->hasFocus()) editor->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
}

void Program::WaitForFetchEnd() {
  auto fetching = [this] {
    CMainFrame* frame = app_ ? app_->MainFrame() : nullptr;
    return frame && frame->BottomView() && frame->BottomView()->IsFetching();
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return !fetching(); }, 60000)) << "the rows never stopped coming";
  Settle();
}

void Program::PressExecute() {
  StartExecute();
  WaitForFetchEnd();
}

bool Program::RunCommand(int id) {
  const bool ran = Frame().Router().Execute(id);
  WaitForFetchEnd();
  return ran;
}

bool Program::IsEnabled(int id) {
  return Frame().Router().StateOf(id).Enabled().value_or(false);
}

std::optional<int> Program::CheckOf(int id) {
  return Frame().Router().StateOf(id).Check();
}

std::string Program::Cell(int row, int col) {
  return Grid().GetCellText(row, col);
}

std::vector<std::string> Program::Column(int col) {
  std::vector<std::string> texts;
  for (int row = Grid().GetFirstDataRow(); row < Grid().GetRowCount(); ++row) texts.push_back(Cell(row, col));
  return texts;
}

int Program::DataRowCount() {
  return Grid().GetRowCount() - Grid().GetFirstDataRow();
}

std::string Program::Pane(int id) {
  return Frame().PaneText(id);
}

void Program::ClickCell(int row, int col) {
  testsupport::ClickGridCell(Grid(), row, col);
}

void Program::TypeFilter(int col, const std::string& text) {
  testsupport::TypeGridFilter(Grid(), col, text);
}

void Program::Close() {
  if (!app_) return;
  app_->ExitInstance();
  app_.reset();
  Settle();
}

void ProgramTest::SetUp() {
  EnsureApp();
  prompts_ = std::make_shared<ScriptedPrompts>();
  SetPromptSeam(prompts_);
  auto starter = std::make_unique<RecordingStarter>();
  started_ = starter->started;
  SetAppProcessStarter(std::move(starter));
}

void ProgramTest::TearDown() {
  Stop();
  SetPromptSeam(nullptr);
}

Program& ProgramTest::Start(QSize size) {
  program_.reset();
  program_ = std::make_unique<Program>(settings_.Path(), size);
  return *program_;
}

Program& ProgramTest::StartWithArguments(const std::vector<std::string>& arguments) {
  program_.reset();
  program_ = std::make_unique<Program>(settings_.Path(), QSize(1000, 700), arguments);
  return *program_;
}

void ProgramTest::Stop() {
  if (program_) program_->Close();
  program_.reset();
}

std::string ProgramTest::Screenshot(const std::string& name) {
  const std::string folder = QELVO_E2E_SCREENSHOTS;
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/" + name + ".png";
  P().Frame().grab().save(QString::fromStdString(path));
  return path;
}

}  // namespace e2e
