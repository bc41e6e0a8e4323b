#include "ui/MenuIconManager.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "platform/framework/CommandActions.h"
#include "ui/MenuShortcutStyle.h"

CMenuIconManager::CMenuIconManager(QObject* parent) : QObject(parent) {}

CMenuIconManager::~CMenuIconManager() {
  // Menus that outlive the manager go back to the application's style before this one goes.
  for (const QPointer<QMenu>& menu : hooked_)
    if (menu) menu->setStyle(nullptr);
}

void CMenuIconManager::AttachToFrame(QMainWindow* frame) {
  frame_ = frame;
  if (!frame) return;
  frame->installEventFilter(this);
  for (QAction* action : frame->menuBar()->actions())
    if (QMenu* menu = action->menu()) HookMenu(menu);
}

void CMenuIconManager::HookMenu(QMenu* menu) {
  if (std::any_of(hooked_.begin(), hooked_.end(), [menu](const QPointer<QMenu>& m) { return m == menu; })) return;
  hooked_.emplace_back(menu);
  if (!style_) style_ = std::make_unique<MenuShortcutStyle>();
  menu->setStyle(style_.get());
  // Connected after the menu's update handlers, so the states are set before the items are dressed.
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { DressMenu(menu); });
  for (QAction* action : menu->actions())
    if (QMenu* sub = action->menu()) HookMenu(sub);
}

bool CMenuIconManager::eventFilter(QObject* watched, QEvent* event) {
  // New colours or a new style: the images are made again, and menus take them as they open.
  // The event type first: the frame's pointer is not read for events sent while it is destroyed.
  if ((event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) && watched == frame_)
    ReloadImages();
  return QObject::eventFilter(watched, event);
}

bool CMenuIconManager::AddToolbarImages(const ToolbarImages& toolbar) {
  const int count =
      static_cast<int>(std::count_if(toolbar.buttons.begin(), toolbar.buttons.end(), [](int id) { return id != 0; }));
  const QSize size = toolbar.imageSize;
  // A strip that does not hold one image of the stated size per button is not a toolbar's.
  if (count == 0 || size.isEmpty() || toolbar.strip.size() != QSize(size.width() * count, size.height())) return false;
  if (imageSize_.isEmpty())
    imageSize_ = size;
  else if (size != imageSize_)
    return false;
  int next = static_cast<int>(images_.size());
  int slot = 0;
  for (int id : toolbar.buttons) {
    if (id == 0) continue;
    images_.push_back(toolbar.strip.copy(slot * size.width(), 0, size.width(), size.height()));
    icons_.emplace_back(QPixmap::fromImage(images_.back()));
    ++slot;
    auto it = commandImage_.find(id);
    if (it == commandImage_.end() || it->second < 0) commandImage_[id] = next;
    ++next;
  }
  toolbars_.push_back(toolbar);
  return true;
}

void CMenuIconManager::ReloadImages() {
  std::vector<ToolbarImages> toolbars;
  toolbars.swap(toolbars_);
  images_.clear();
  icons_.clear();
  commandImage_.clear();
  imageSize_ = QSize();
  for (const ToolbarImages& toolbar : toolbars) AddToolbarImages(toolbar);
}

void CMenuIconManager::SetAccelerators(std::vector<AcceleratorDef> table) {
  accelerators_ = std::move(table);
}

std::vector<int> CMenuIconManager::ToolbarIds() const {
  std::vector<int> ids;
  for (const ToolbarImages& toolbar : toolbars_) ids.push_back(toolbar.id);
  return ids;
}

int CMenuIconManager::ImageIndex(int command) const {
  auto it = commandImage_.find(command);
  return it == commandImage_.end() ? -1 : it->second;
}

QImage CMenuIconManager::Image(int command) const {
  const int index = ImageIndex(command);
  return index >= 0 && index < static_cast<int>(images_.size()) ? images_[index] : QImage();
}

void CMenuIconManager::DressMenu(QMenu* menu) {
  for (QAction* action : menu->actions()) {
    const int command = CommandActions::CommandOf(action);
    if (command == 0 || action->isSeparator() || action->menu()) continue;
    const int index = ImageIndex(command);
    if (index >= 0 && index < static_cast<int>(icons_.size())) {
      // The same action is the toolbar's button, which shows the same image.
      if (action->icon().cacheKey() != icons_[index].cacheKey()) action->setIcon(icons_[index]);
      action->setIconVisibleInMenu(showImages_);
    } else {
      action->setIconVisibleInMenu(false);
    }
    if (shortcutText_) {
      const std::string text = ShortcutText(action->text().toStdString(), command, accelerators_);
      if (text != action->text().toStdString()) action->setText(QString::fromStdString(text));
    }
  }
}

std::string CMenuIconManager::ShortcutText(const std::string& text, int command,
                                           const std::vector<AcceleratorDef>& table) {
  std::string result = text.substr(0, text.find('\t'));
  bool first = true;
  for (auto it = table.rbegin(); it != table.rend(); ++it) {
    if (it->id != command || it->keys.isEmpty()) continue;
    result += first ? "\t" : ", ";
    first = false;
    result += KeyText(it->keys);
  }
  return result;
}

std::string CMenuIconManager::KeyText(const QKeySequence& keys) {
  const QKeyCombination combination = keys[0];
  const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
  std::string text;
  if (modifiers & Qt::AltModifier) text += "Alt+";
  if (modifiers & Qt::ControlModifier) text += "Ctrl+";
  if (modifiers & Qt::ShiftModifier) text += "Shift+";
  return text + KeyName(combination.key());
}

std::string CMenuIconManager::KeyName(int key) {
  if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return "F" + std::to_string(key - Qt::Key_F1 + 1);
  // The names a keyboard's keys carry, where Qt's short forms differ.
  static const std::map<int, std::string> names = {
      {Qt::Key_Insert, "Insert"},      {Qt::Key_Delete, "Delete"},   {Qt::Key_Backspace, "Backspace"},
      {Qt::Key_Return, "Enter"},       {Qt::Key_Enter, "Num Enter"}, {Qt::Key_PageUp, "Page Up"},
      {Qt::Key_PageDown, "Page Down"}, {Qt::Key_Home, "Home"},       {Qt::Key_End, "End"},
      {Qt::Key_Left, "Left"},          {Qt::Key_Right, "Right"},     {Qt::Key_Up, "Up"},
      {Qt::Key_Down, "Down"},          {Qt::Key_Escape, "Esc"},      {Qt::Key_Tab, "Tab"},
      {Qt::Key_Space, "Space"},        {Qt::Key_Pause, "Pause"},     {Qt::Key_Print, "Print Screen"},
  };
  auto it = names.find(key);
  if (it != names.end()) return it->second;
  return QKeySequence(key).toString(QKeySequence::PortableText).toStdString();
}
