// Every command a person can raise from the menu bar, the toolbar or a shortcut of the running
// main window has a handler somewhere on the routing chain, except the few listed below with
// the reason each has none.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <map>
#include <set>

#include "platform/framework/CommandActions.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/MainFrame.h"

namespace e2e {
namespace {

// Commands that have no handler on purpose: they stay disabled.
const std::map<int, const char*> kCommandsWithoutHandler = {
    {ID_RECORD_SEARCH, "Search Record has no handler and is always disabled"},
    {ID_FILE_NEW, "Ctrl+N: one document per window, New has no handler and stays disabled"},
    {ID_FILE_MRU_FILE1, "the recent-file list: nothing adds to it, so its entry stays greyed"},
};

void CollectMenu(const QMenu* menu, std::map<int, std::string>& commands) {
  for (QAction* action : menu->actions()) {
    if (action->menu()) CollectMenu(action->menu(), commands);
    if (int id = CommandActions::CommandOf(action)) commands.emplace(id, "menu " + action->text().toStdString());
  }
}

// Every command of the menu bar, the toolbar and the shortcuts, with where it was found.
std::map<int, std::string> CommandsOfTheWindow(CMainFrame& frame) {
  std::map<int, std::string> commands;
  for (QAction* top : frame.menuBar()->actions())
    if (top->menu()) CollectMenu(top->menu(), commands);
  for (QAction* action : frame.ToolBar()->actions())
    if (int id = CommandActions::CommandOf(action)) commands.emplace(id, "toolbar button");
  for (QAction* action : frame.findChildren<QAction*>())
    if (int id = CommandActions::CommandOf(action); id && !action->shortcuts().isEmpty())
      commands.emplace(id, "shortcut " + action->shortcut().toString().toStdString());
  return commands;
}

bool HasHandler(CMainFrame& frame, int id) {
  for (CommandTarget* target : frame.Router().Chain())
    if (target->HasCommandHandler(id)) return true;
  return false;
}

class CommandHandlersTest : public ProgramTest {};

TEST_F(CommandHandlersTest, EveryMenuToolbarAndShortcutCommandHasAHandler) {
  Program& p = Start();
  const std::map<int, std::string> commands = CommandsOfTheWindow(p.Frame());
  // The walk itself found the window's commands: one of each kind at least.
  ASSERT_TRUE(commands.count(ID_APP_EXIT) && commands.count(ID_FILTER_ROW) && commands.count(ID_PREV_PANE));
  for (const auto& [id, where] : commands) {
    if (kCommandsWithoutHandler.count(id)) continue;
    EXPECT_TRUE(HasHandler(p.Frame(), id)) << "command " << id << " (" << where << ") has no handler";
  }
}

TEST_F(CommandHandlersTest, TheCommandsWithoutHandlerStayDisabled) {
  Program& p = Start();
  for (const auto& [id, why] : kCommandsWithoutHandler) {
    EXPECT_FALSE(HasHandler(p.Frame(), id)) << id << " now has a handler: remove it from the list (" << why << ")";
    EXPECT_FALSE(p.IsEnabled(id)) << id;
  }
}

}  // namespace
}  // namespace e2e
