#include "platform/framework/CommandActions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

namespace {
constexpr const char* kCommandProperty = "command";
}

CommandActions::CommandActions(CommandRouter& router, QWidget* owner) : QObject(owner), router_(router), owner_(owner) {
  if (qApp) {
    qApp->installEventFilter(this);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
      connect(clipboard, &QClipboard::dataChanged, this, &CommandActions::RequestIdleUpdate);
  }
  connect(&router_, &CommandRouter::CommandExecuted, this, &CommandActions::RequestIdleUpdate);
}

CommandActions::~CommandActions() {
  if (qApp) qApp->removeEventFilter(this);
}

QAction* CommandActions::Action(int id) {
  auto it = actions_.find(id);
  if (it != actions_.end()) return it->second;
  auto* action = new QAction(owner_ ? static_cast<QObject*>(owner_.data()) : this);
  action->setProperty(kCommandProperty, id);
  // Shortcuts must work without the menu being open; the owner carries them.
  if (owner_) owner_->addAction(action);
  connect(action, &QAction::triggered, this, [this, id] { router_.Execute(id); });
  actions_.emplace(id, action);
  return action;
}

int CommandActions::CommandOf(const QAction* action) {
  return action ? action->property(kCommandProperty).toInt() : 0;
}

void CommandActions::SetPrompt(int id, const std::string& promptAndTip) {
  QAction* action = Action(id);
  const QString text = QString::fromStdString(promptAndTip);
  const qsizetype newline = text.indexOf('\n');
  action->setStatusTip(newline < 0 ? text : text.left(newline));
  if (newline >= 0) action->setToolTip(text.mid(newline + 1));
}

void CommandActions::SetIcon(int id, const QIcon& icon) {
  Action(id)->setIcon(icon);
}

void CommandActions::AddShortcut(int id, const QKeySequence& keys) {
  QAction* action = Action(id);
  QList<QKeySequence> all = action->shortcuts();
  if (!all.contains(keys)) all.append(keys);
  action->setShortcuts(all);
}

void CommandActions::AddAccelerators(const std::vector<AcceleratorDef>& table) {
  for (const AcceleratorDef& entry : table) AddShortcut(entry.id, entry.keys);
}

void CommandActions::BuildMenuBar(QMenuBar* bar, const std::vector<MenuItemDef>& menus) {
  for (const MenuItemDef& def : menus) {
    if (def.IsPopup()) {
      QMenu* menu = bar->addMenu(QString::fromStdString(def.text));
      FillMenu(menu, def.items);
    } else if (!def.IsSeparator()) {
      QAction* action = Action(def.id);
      action->setText(QString::fromStdString(def.text));
      bar->addAction(action);
    }
  }
}

void CommandActions::FillMenu(QMenu* menu, const std::vector<MenuItemDef>& items) {
  for (const MenuItemDef& def : items) {
    if (def.IsSeparator()) {
      menu->addSeparator();
    } else if (def.IsPopup()) {
      FillMenu(menu->addMenu(QString::fromStdString(def.text)), def.items);
    } else {
      QAction* action = Action(def.id);
      // The text keeps its "\t" shortcut part: the menu shows it right-aligned, as written.
      action->setText(QString::fromStdString(def.text));
      menu->addAction(action);
    }
  }
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
}

void CommandActions::BuildToolBar(QToolBar* toolbar, const ToolbarDef& buttons) {
  for (int id : buttons) {
    if (id == 0)
      toolbar->addSeparator();
    else
      toolbar->addAction(Action(id));
  }
}

void CommandActions::AddButton(QAbstractButton* button, int id) {
  buttons_.emplace_back(button, id);
  connect(button, &QAbstractButton::clicked, this, [this, id] { router_.Execute(id); });
}

void CommandActions::Apply(int id, QAction* action) {
  CommandUi ui(id);
  router_.Update(ui);
  action->setEnabled(ui.Enabled().value_or(false));
  if (ui.Check()) {
    action->setCheckable(true);
    action->setChecked(*ui.Check() != 0);
  }
  if (ui.Text()) action->setText(QString::fromStdString(*ui.Text()));
}

void CommandActions::UpdateMenu(QMenu* menu) {
  for (QAction* action : menu->actions())
    if (int id = CommandOf(action)) Apply(id, action);
}

void CommandActions::UpdateIdle() {
  idlePending_ = false;
  // Every action, not just the toolbar's: a shortcut of a stale, disabled action would not fire.
  for (auto& [id, action] : actions_) Apply(id, action);
  std::erase_if(buttons_, [](const auto& entry) { return entry.first.isNull(); });
  for (auto& [button, id] : buttons_) {
    CommandUi ui(id);
    router_.Update(ui);
    button->setEnabled(ui.Enabled().value_or(false));
    if (ui.Check() && button->isCheckable()) button->setChecked(*ui.Check() != 0);
    if (ui.Text()) button->setText(QString::fromStdString(*ui.Text()));
  }
}

void CommandActions::RequestIdleUpdate() {
  if (idlePending_) return;
  idlePending_ = true;
  QTimer::singleShot(0, this, &CommandActions::UpdateIdle);
}

bool CommandActions::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
      RequestIdleUpdate();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}
