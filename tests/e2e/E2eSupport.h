#pragma once
// The whole program under test: the real main window (CQelvoApp's start) in the offscreen
// platform, with a temporary settings folder (XDG_CONFIG_HOME), every modal question answered
// through the prompt seam and every started program recorded instead of run.
#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/ScriptedPrompts.h"
#include "tests/support/gui/OffscreenApp.h"
#include "workspace/ProgramStart.h"
#include "workspace/ui/QelvoApp.h"

class CBottomView;
class CDbGridCtrl;
class CMainFrame;
class CQelvoView;
class QWidget;

namespace e2e {

void EnsureApp();
using testsupport::Settle;

// Records the programs the run would start.
class RecordingStarter : public ProcessStarter {
 public:
  bool Start(const std::vector<std::string>& arguments, bool wait) override;
  std::shared_ptr<std::vector<std::vector<std::string>>> started =
      std::make_shared<std::vector<std::vector<std::string>>>();
};

// A folder removed with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A SQLite database file made with the statements given.
void MakeSqliteDatabase(const std::string& path, const std::vector<std::string>& statements);
// One statement on a SQLite file, behind the program's back.
void RunSqlite(const std::string& path, const std::string& statement);

// The program, started with the settings folder `configHome`.
class Program {
 public:
  // `arguments`: the command line after the program's name.
  explicit Program(const std::string& configHome, QSize size = {1000, 700},
                   const std::vector<std::string>& arguments = {});
  ~Program();

  CQelvoApp& App() { return *app_; }
  CMainFrame& Frame();
  CQelvoView& Workspace();
  CBottomView& Bottom();
  CDbGridCtrl& Grid();

  // Replaces an editor's text by typing it (lines joined by Return).
  void TypeConnection(const std::string& text);
  void TypeQuery(const std::string& text);
  // Ctrl+Enter in the query editor, then the rows' arrival awaited.
  void PressExecute();
  // Ctrl+Enter alone: the rows may still be arriving when it returns.
  void StartExecute();
  // Until no rows are arriving any more.
  void WaitForFetchEnd();
  // A command through the frame's routing, as a menu item or button raises it; rows a run
  // fetches are awaited.
  bool RunCommand(int id);
  bool IsEnabled(int id);
  std::optional<int> CheckOf(int id);

  std::string Cell(int row, int col);
  // Texts of a data column, top to bottom.
  std::vector<std::string> Column(int col);
  int DataRowCount();
  std::string Pane(int id);
  // A left click in the middle of a grid cell.
  void ClickCell(int row, int col);
  // Types a filter text into the filter cell of `col` as a person does, ending with Enter.
  void TypeFilter(int col, const std::string& text);

  // Closes the window (the placement is saved) and ends the program.
  void Close();

 private:
  void TypeInto(QWidget* editor, const std::string& text);
  std::unique_ptr<CQelvoApp> app_;
};

// Each test: a settings folder, prompts, the starter, and a program started on demand.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts (or restarts after Close) the program on the test's settings folder.
  Program& Start(QSize size = {1000, 700});
  Program& StartWithArguments(const std::vector<std::string>& arguments);
  Program& P() { return *program_; }
  void Stop();

  // Writes a PNG of the main window into the build's screenshots folder.
  std::string Screenshot(const std::string& name);

  TempFolder settings_;
  TempFolder data_;
  std::shared_ptr<ScriptedPrompts> prompts_;
  std::shared_ptr<std::vector<std::vector<std::string>>> started_;
  std::unique_ptr<Program> program_;
};

}  // namespace e2e
