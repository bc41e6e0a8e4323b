#pragma once
// CMenuIconManager: the one place that dresses the main window's menus from its toolbars and its
// accelerator table. Each menu item whose command has a toolbar button shows that button's image,
// and each item shows every key of its command in the shortcut column, right-aligned, in the form
// "Ctrl+S, F12". It works on Qt's own menus: just before a menu opens (after the command update
// handlers have set enabled and checked states) it sets the items' icons and shortcut texts; the
// menus draw the keys right-aligned (MenuShortcutStyle).
//
//   CMenuIconManager icons;
//   icons.AttachToFrame(mainWindow);
//   icons.AddToolbarImages({IDR_MAINFRAME, {16, 15}, MainToolbar(), ToolbarStrip()});
//   icons.SetAccelerators(MainAccelerators());
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/MenuDefs.h"

class QMainWindow;
class QMenu;
class MenuShortcutStyle;

// A toolbar as the manager reads it: the size of one image, its buttons (0 a separator) and its
// images side by side in button order, separators taking no image.
struct ToolbarImages {
  int id = 0;
  QSize imageSize;
  ToolbarDef buttons;
  QImage strip;
};

class CMenuIconManager : public QObject {
  Q_OBJECT
 public:
  explicit CMenuIconManager(QObject* parent = nullptr);
  ~CMenuIconManager() override;

  // Remembers the frame and dresses each menu of its menu bar (submenus too) as it opens.
  void AttachToFrame(QMainWindow* frame);
  // Adds a toolbar's images. The first toolbar sets the image size; a toolbar whose images have
  // another size, or whose strip does not hold one image per button, is refused (false). A
  // command keeps the image it got from an earlier toolbar.
  bool AddToolbarImages(const ToolbarImages& toolbar);
  // Drops every image and adds the toolbars again, in the order they were added; done by itself
  // when the frame's colours or style change.
  void ReloadImages();
  // The table the shortcut texts are made from; a changed table is read at the next opening.
  void SetAccelerators(std::vector<AcceleratorDef> table);

  void SetShowImages(bool on) { showImages_ = on; }
  void SetShortcutText(bool on) { shortcutText_ = on; }

  // What happens just before a menu opens: icons and shortcut texts of its items.
  void DressMenu(QMenu* menu);

  // The image index of a command, -1 when no toolbar has it.
  int ImageIndex(int command) const;
  QImage Image(int command) const;
  QSize ImageSize() const { return imageSize_; }
  QSize ButtonSize() const { return imageSize_.isEmpty() ? QSize() : imageSize_ + QSize(4, 4); }
  std::vector<int> ToolbarIds() const;

  // The item text with its shortcut part: the text up to its first tab, then a tab and every key
  // of the command, the last entry of the table first, joined by ", "; the text alone when the
  // command has no key.
  static std::string ShortcutText(const std::string& text, int command, const std::vector<AcceleratorDef>& table);
  // One key combination: "Alt+", "Ctrl+", "Shift+" in that order, then the key's name.
  static std::string KeyText(const QKeySequence& keys);
  // The name of a key without modifiers ("Insert", "Page Up", "F12", "N").
  static std::string KeyName(int key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void HookMenu(QMenu* menu);

  QPointer<QMainWindow> frame_;
  bool showImages_ = true;
  bool shortcutText_ = true;
  std::vector<ToolbarImages> toolbars_;
  std::vector<QImage> images_;
  std::vector<QIcon> icons_;
  QSize imageSize_;
  std::map<int, int> commandImage_;
  std::vector<AcceleratorDef> accelerators_;
  std::vector<QPointer<QMenu>> hooked_;
  // Shared by the hooked menus; a menu whose style goes falls back to the application's.
  std::unique_ptr<MenuShortcutStyle> style_;
};
