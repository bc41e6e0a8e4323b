// CMenuIconManager on its own: images of several toolbars, the shortcut texts and key names, and
// a menu dressed before it opens.
#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

#include "platform/framework/CommandActions.h"
#include "platform/framework/CommandRouter.h"
#include "tests/platform/QtTestEnvironment.h"
#include "ui/MenuIconManager.h"

namespace {

// A strip of `count` images of the given size, image i filled with grey level 10 * (i + 1).
QImage Strip(int count, QSize size) {
  QImage strip(size.width() * count, size.height(), QImage::Format_ARGB32);
  for (int i = 0; i < count; ++i) {
    QPainter painter(&strip);
    painter.fillRect(i * size.width(), 0, size.width(), size.height(), QColor(10 * (i + 1), 0, 0));
  }
  return strip;
}

int RedOf(const QImage& image) {
  return image.isNull() ? -1 : qRed(image.pixel(0, 0));
}

TEST(MenuIconManager, ToolbarsShareOneImageSizeAndCommandsKeepTheirFirstImage) {
  CMenuIconManager icons;
  EXPECT_FALSE(icons.AddToolbarImages({1, {16, 15}, {10, 11}, Strip(3, {16, 15})})) << "one image per button";
  EXPECT_TRUE(icons.AddToolbarImages({128, {16, 15}, {10, 0, 11, 12}, Strip(3, {16, 15})}));
  EXPECT_EQ(icons.ImageSize(), QSize(16, 15));
  EXPECT_EQ(icons.ButtonSize(), QSize(20, 19));
  EXPECT_EQ(icons.ImageIndex(10), 0);
  EXPECT_EQ(icons.ImageIndex(11), 1) << "a separator takes no image";
  EXPECT_EQ(RedOf(icons.Image(12)), 30);
  EXPECT_EQ(icons.ImageIndex(99), -1);
  EXPECT_TRUE(icons.Image(99).isNull());

  EXPECT_FALSE(icons.AddToolbarImages({200, {24, 24}, {20}, Strip(1, {24, 24})})) << "another image size";
  EXPECT_EQ(icons.ImageIndex(20), -1);
  EXPECT_TRUE(icons.AddToolbarImages({300, {16, 15}, {12, 13}, Strip(2, {16, 15})}));
  EXPECT_EQ(icons.ImageIndex(12), 2) << "kept from the first toolbar";
  EXPECT_EQ(icons.ImageIndex(13), 4);
  EXPECT_EQ(RedOf(icons.Image(13)), 20);
  EXPECT_EQ(icons.ToolbarIds(), (std::vector<int>{128, 300}));

  icons.ReloadImages();
  EXPECT_EQ(icons.ToolbarIds(), (std::vector<int>{128, 300}));
  EXPECT_EQ(icons.ImageIndex(13), 4);
  EXPECT_EQ(RedOf(icons.Image(10)), 10);
}

TEST(MenuIconManager, ShortcutTextsListEveryKeyLastEntryFirst) {
  const std::vector<AcceleratorDef> table = {
      {QKeySequence(Qt::CTRL | Qt::Key_N), 1},       {QKeySequence(Qt::Key_Insert), 1},
      {QKeySequence(Qt::CTRL | Qt::Key_S), 2},       {QKeySequence(Qt::SHIFT | Qt::ALT | Qt::CTRL | Qt::Key_F12), 3},
      {QKeySequence(Qt::SHIFT | Qt::Key_Delete), 4}, {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 5},
  };
  EXPECT_EQ(CMenuIconManager::ShortcutText("&New", 1, table), "&New\tInsert, Ctrl+N");
  EXPECT_EQ(CMenuIconManager::ShortcutText("Save &As...\tCtrl+Q", 2, table), "Save &As...\tCtrl+S")
      << "the old shortcut part is replaced";
  EXPECT_EQ(CMenuIconManager::ShortcutText("Odd", 3, table), "Odd\tAlt+Ctrl+Shift+F12");
  EXPECT_EQ(CMenuIconManager::ShortcutText("Cut", 4, table), "Cut\tShift+Delete");
  EXPECT_EQ(CMenuIconManager::ShortcutText("Next", 5, table), "Next\tCtrl+Page Down");
  EXPECT_EQ(CMenuIconManager::ShortcutText("None\tF9", 6, table), "None");
  EXPECT_EQ(CMenuIconManager::KeyName(Qt::Key_Backspace), "Backspace");
  EXPECT_EQ(CMenuIconManager::KeyName(Qt::Key_Return), "Enter");
  EXPECT_EQ(CMenuIconManager::KeyName(Qt::Key_A), "A");
  EXPECT_EQ(CMenuIconManager::KeyName(Qt::Key_F1), "F1");
}

TEST(MenuIconManager, AMenuIsDressedAfterItsUpdateHandlersAsItOpens) {
  QMainWindow frame;
  CommandRouter router;
  CommandActions actions(router, &frame);
  CommandTarget target;
  bool pasteEnabled = false;
  target.Commands().On(10, [] {});
  target.Commands().On(11, [] {});
  target.Commands().OnUpdate(11, [&](CommandUi& ui) {
    ui.Enable(pasteEnabled);
    ui.SetText("Paste &now");
  });
  router.SetFrame(&target);
  actions.BuildMenuBar(frame.menuBar(), {MenuItemDef::Popup("&Edit", {MenuItemDef::Command("&Copy\tCtrl+C", 10),
                                                                      MenuItemDef::Command("&Paste", 11),
                                                                      MenuItemDef::Command("&Other", 12)})});
  CMenuIconManager icons;
  icons.AttachToFrame(&frame);
  ASSERT_TRUE(icons.AddToolbarImages({128, {16, 15}, {10, 11}, Strip(2, {16, 15})}));
  icons.SetAccelerators({{QKeySequence(Qt::CTRL | Qt::Key_C), 10},
                         {QKeySequence(Qt::CTRL | Qt::Key_Insert), 10},
                         {QKeySequence(Qt::SHIFT | Qt::Key_Insert), 11}});
  QMenu* menu = frame.menuBar()->actions().first()->menu();
  emit menu->aboutToShow();
  EXPECT_EQ(actions.Action(10)->text(), "&Copy\tCtrl+Insert, Ctrl+C");
  EXPECT_EQ(actions.Action(11)->text(), "Paste &now\tShift+Insert") << "the handler's text, then the keys";
  EXPECT_EQ(actions.Action(12)->text(), "&Other");
  EXPECT_FALSE(actions.Action(11)->isEnabled());
  EXPECT_FALSE(actions.Action(12)->isEnabled()) << "a command nobody handles";
  EXPECT_EQ(RedOf(actions.Action(11)->icon().pixmap(QSize(16, 15)).toImage()), 20);
  EXPECT_TRUE(actions.Action(11)->isIconVisibleInMenu());
  EXPECT_FALSE(actions.Action(12)->isIconVisibleInMenu());

  // Images off: the items show none, the keys stay.
  icons.SetShowImages(false);
  pasteEnabled = true;
  emit menu->aboutToShow();
  EXPECT_FALSE(actions.Action(10)->isIconVisibleInMenu());
  EXPECT_TRUE(actions.Action(11)->isEnabled());
  EXPECT_EQ(actions.Action(10)->text(), "&Copy\tCtrl+Insert, Ctrl+C");
}

}  // namespace
