// Menus, toolbar, accelerators and form buttons over the router: update handlers before a menu
// opens and on idle, shortcuts running routed commands, the real menu and toolbar descriptions.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include "platform/framework/CommandActions.h"
#include "resources/CommandIds.h"
#include "resources/MainFrameResources.h"
#include "tests/platform/QtTestEnvironment.h"

namespace {

QMenu* FindMenu(QMenuBar* bar, const QString& title) {
  for (QAction* action : bar->actions())
    if (action->menu() && action->text() == title) return action->menu();
  return nullptr;
}

QAction* FindAction(QMenu* menu, int id) {
  for (QAction* action : menu->actions())
    if (CommandActions::CommandOf(action) == id) return action;
  return nullptr;
}

struct Window {
  QMainWindow window;
  CommandRouter router;
  CommandTarget frame;
  CommandActions actions{router, &window};
  QToolBar* toolbar = window.addToolBar("Standard");

  Window() {
    router.SetFrame(&frame);
    ApplyMainFrameResources(actions);
    actions.BuildMenuBar(window.menuBar(), MainMenu());
    actions.BuildToolBar(toolbar, MainToolbar());
  }
};

TEST(CommandActions, MenusCarryTheTextsIdsAndShortcutTexts) {
  Window w;
  QMenu* file = FindMenu(w.window.menuBar(), "&File");
  ASSERT_NE(file, nullptr);
  QAction* open = FindAction(file, ID_FILE_OPEN);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->text(), "&Open...\tCtrl+O");
  EXPECT_EQ(open->statusTip(), "Open a script file into the query editor");
  EXPECT_FALSE(open->icon().isNull()) << "menus show the toolbar image";
  QMenu* tools = FindMenu(w.window.menuBar(), "&Tools");
  ASSERT_NE(tools, nullptr);
  QStringList titles;
  for (QAction* action : w.window.menuBar()->actions()) titles << action->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "Database", "&View", "&Tools", "&Help"}));
  // The script generator's nested submenus.
  QAction* generator = nullptr;
  for (QAction* action : tools->actions())
    if (action->text() == "Script generator") generator = action;
  ASSERT_TRUE(generator && generator->menu());
  ASSERT_EQ(generator->menu()->actions().size(), 2);
  QMenu* mysql = generator->menu()->actions()[1]->menu();
  ASSERT_NE(mysql, nullptr);
  EXPECT_EQ(FindAction(mysql, ID_EXPORT_MYSQL_QUERY)->text(), "Export current query\tCtrl+F5");
}

TEST(CommandActions, AMenuRunsItsUpdateHandlersBeforeItOpens) {
  Window w;
  bool inPlace = true;
  w.frame.Commands().On(ID_IN_PLACE_EDIT, [&] { inPlace = !inPlace; });
  w.frame.Commands().OnUpdate(ID_IN_PLACE_EDIT, [&](CommandUi& ui) { ui.SetCheck(inPlace ? 1 : 0); });
  w.frame.Commands().On(ID_TEST_GRID, nullptr);
  QMenu* tools = FindMenu(w.window.menuBar(), "&Tools");
  QMenu* edit = FindMenu(w.window.menuBar(), "&Edit");
  emit tools->aboutToShow();
  emit edit->aboutToShow();
  EXPECT_TRUE(FindAction(tools, ID_TEST_GRID)->isEnabled()) << "empty handler: enabled";
  EXPECT_FALSE(FindAction(tools, ID_CONFIGURATION)->isEnabled()) << "no handler here: disabled";
  EXPECT_FALSE(FindAction(edit, ID_EDIT_COPY)->isEnabled());

  inPlace = false;
  QAction* toggle = w.actions.Action(ID_IN_PLACE_EDIT);
  w.actions.UpdateMenu(tools);  // not in this menu: nothing changes
  w.actions.UpdateIdle();
  EXPECT_TRUE(toggle->isCheckable());
  EXPECT_FALSE(toggle->isChecked());
  toggle->trigger();
  EXPECT_TRUE(inPlace);
}

TEST(CommandActions, IdleUpdatesFollowUserInputForToolbarAndFormButtons) {
  Window w;
  bool canSave = false;
  int executed = 0;
  w.frame.Commands().On(ID_FILE_SAVE_AS, [] {});
  w.frame.Commands().OnUpdate(ID_FILE_SAVE_AS, [&](CommandUi& ui) { ui.Enable(canSave); });
  w.frame.Commands().On(IDC_EXECUTE_BUTTON, [&] { ++executed; });
  w.frame.Commands().OnUpdate(IDC_EXECUTE_BUTTON, [&](CommandUi& ui) { ui.Enable(canSave); });
  auto* button = new QPushButton("!", &w.window);
  w.actions.AddButton(button, IDC_EXECUTE_BUTTON);
  ASSERT_TRUE(qtest_env::ShowActive(w.window));
  QApplication::processEvents();
  EXPECT_FALSE(w.actions.Action(ID_FILE_SAVE_AS)->isEnabled());
  EXPECT_FALSE(button->isEnabled());

  canSave = true;
  // A key press is user input: the idle update runs once it is processed.
  QTest::keyClick(&w.window, Qt::Key_Shift);
  QApplication::processEvents();
  EXPECT_TRUE(w.actions.Action(ID_FILE_SAVE_AS)->isEnabled());
  ASSERT_TRUE(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(executed, 1);
}

TEST(CommandActions, AcceleratorsRunRoutedCommandsAndSkipDisabledOnes) {
  Window w;
  int testGrid = 0;
  int execute = 0;
  int history = 0;
  w.frame.Commands().On(ID_TEST_GRID, [&] { ++testGrid; });
  w.frame.Commands().On(ID_EXECUTE, [&] { ++execute; });
  w.frame.Commands().On(ID_QUERY_HISTORY_BACK, [&] { ++history; });
  ASSERT_TRUE(qtest_env::ShowActive(w.window));
  w.actions.UpdateIdle();
  QTest::keyClick(&w.window, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(&w.window, Qt::Key_Return, Qt::ControlModifier);
  QTest::keyClick(&w.window, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
  QTest::keyClick(&w.window, Qt::Key_PageUp, Qt::ControlModifier);
  QTest::keyClick(&w.window, Qt::Key_N, Qt::ControlModifier);  // New: no handler, nothing happens
  EXPECT_EQ(testGrid, 1);
  EXPECT_EQ(execute, 2);
  EXPECT_EQ(history, 1);
  EXPECT_FALSE(w.actions.Action(ID_FILE_NEW)->isEnabled());
}

TEST(CommandActions, TheToolbarHasTheButtonsInOrderWithImagesAndTips) {
  Window w;
  QStringList tips;
  int separators = 0;
  for (QAction* action : w.toolbar->actions()) {
    if (action->isSeparator()) {
      ++separators;
      continue;
    }
    EXPECT_FALSE(action->icon().isNull()) << CommandActions::CommandOf(action);
    tips << action->toolTip();
  }
  EXPECT_EQ(separators, 6);
  EXPECT_EQ(tips.size(), 20);
  EXPECT_EQ(tips.front(), "Open");
  EXPECT_EQ(tips[2], "Tables");
  EXPECT_EQ(tips[4], "Stop (Esc)");
  EXPECT_EQ(tips[16], "Filter");
  EXPECT_EQ(tips.back(), "SQL Syntax");
}

}  // namespace
