#pragma once
// The widgets side of commands: one QAction per command id, shared by the menu, the toolbar and
// the accelerators, every trigger going through the CommandRouter. Update handlers run
//  - for the items of a menu just before it opens, and
//  - "on idle" (once the events of a user action are processed) for the toolbar's actions, the
//    actions bound to keys only, and the form buttons registered with AddButton.
// Only what a handler set (enabled, check, text) is applied.
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <map>
#include <string>
#include <vector>

#include "platform/framework/CommandRouter.h"
#include "platform/framework/MenuDefs.h"

class QAbstractButton;
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

class CommandActions : public QObject {
  Q_OBJECT
 public:
  // Actions are added to `owner` (normally the main window) so their shortcuts work while any
  // of its children has the focus.
  CommandActions(CommandRouter& router, QWidget* owner);
  ~CommandActions() override;

  // The action of a command, made on first use. Its "command" property holds the id.
  QAction* Action(int id);
  // The id of an action made here; 0 for others.
  static int CommandOf(const QAction* action);

  // The status-bar prompt and the tool tip: "prompt\ntip" (either part may be missing).
  void SetPrompt(int id, const std::string& promptAndTip);
  void SetIcon(int id, const QIcon& icon);
  void AddShortcut(int id, const QKeySequence& keys);
  void AddAccelerators(const std::vector<AcceleratorDef>& table);

  // Fills a menu bar from the description; every popup updates its items before it opens.
  void BuildMenuBar(QMenuBar* bar, const std::vector<MenuItemDef>& menus);
  void FillMenu(QMenu* menu, const std::vector<MenuItemDef>& items);
  void BuildToolBar(QToolBar* toolbar, const ToolbarDef& buttons);

  // A form button that raises command `id` when clicked and follows its update state on idle.
  void AddButton(QAbstractButton* button, int id);

  // Runs the update handlers of one menu's items now (what happens before it opens).
  void UpdateMenu(QMenu* menu);
  // Runs the idle updates now: toolbar and key-only actions, and the form buttons.
  void UpdateIdle();
  // Asks for an idle update once the current events are processed.
  void RequestIdleUpdate();

  CommandRouter& Router() { return router_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Apply(int id, QAction* action);

  CommandRouter& router_;
  QPointer<QWidget> owner_;
  std::map<int, QAction*> actions_;
  std::vector<std::pair<QPointer<QAbstractButton>, int>> buttons_;
  bool idlePending_ = false;
};
