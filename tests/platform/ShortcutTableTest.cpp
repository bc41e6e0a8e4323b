// The program's keys taken together: no accelerator is given twice, none is a menu bar mnemonic
// (Qt then fires neither and logs "Ambiguous shortcut overload"), no two menus of the menu bar
// share a mnemonic, and a key shown beside a menu item is the accelerator of that item's command.
#include <gtest/gtest.h>

#include <QKeySequence>
#include <map>
#include <optional>

#include "resources/CommandIds.h"
#include "resources/MainFrameResources.h"

namespace {

// The letter after a single '&' ("&&" is a literal ampersand), upper-cased.
std::optional<QChar> Mnemonic(const std::string& text) {
  const QString label = QString::fromStdString(text.substr(0, text.find('\t')));
  for (qsizetype i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] == '&') {
      ++i;
      continue;
    }
    return label[i + 1].toUpper();
  }
  return std::nullopt;
}

void CollectShownKeys(const std::vector<MenuItemDef>& items, std::vector<std::pair<std::string, int>>& shown) {
  for (const MenuItemDef& item : items) {
    const size_t tab = item.text.find('\t');
    if (item.id && tab != std::string::npos) shown.emplace_back(item.text.substr(tab + 1), item.id);
    CollectShownKeys(item.items, shown);
  }
}

TEST(ShortcutTable, NoKeyIsGivenTwiceOrTakenFromTheMenuBar) {
  std::map<QKeySequence, int> owner;
  for (const AcceleratorDef& accelerator : MainAccelerators()) {
    auto [it, inserted] = owner.emplace(accelerator.keys, accelerator.id);
    EXPECT_TRUE(inserted) << accelerator.keys.toString().toStdString() << " is given to " << it->second << " and "
                          << accelerator.id;
  }
  int menuKeys = 0;
  for (const MenuItemDef& menu : MainMenu()) {
    std::optional<QChar> letter = Mnemonic(menu.text);
    if (!letter) continue;
    ++menuKeys;
    const QKeySequence altLetter(Qt::ALT | Qt::Key(letter->unicode()));
    EXPECT_FALSE(owner.contains(altLetter))
        << altLetter.toString().toStdString() << " opens the menu " << menu.text << " and is also an accelerator";
  }
  EXPECT_GE(menuKeys, 5);
  // Format Query keeps a key of its own.
  EXPECT_EQ(owner.at(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)), ID_FORMAT_QUERY);
}

TEST(ShortcutTable, MenuBarMnemonicsAreDistinct) {
  // Two menus on one letter make Alt+letter cycle between them instead of opening one.
  std::map<QChar, std::string> seen;
  for (const MenuItemDef& menu : MainMenu()) {
    if (std::optional<QChar> key = Mnemonic(menu.text)) {
      auto [it, inserted] = seen.emplace(*key, menu.text);
      EXPECT_TRUE(inserted) << it->second << " and " << menu.text;
    }
  }
  EXPECT_EQ(*Mnemonic("Save &As...\tCtrl+S"), QChar('A'));
  EXPECT_EQ(*Mnemonic("Fish &&&Chips"), QChar('C'));
  EXPECT_FALSE(Mnemonic("Fish && Chips"));
}

TEST(ShortcutTable, KeysShownInTheMenusAreThoseThatRunTheCommand) {
  std::map<QKeySequence, int> owner;
  for (const AcceleratorDef& accelerator : MainAccelerators()) owner.emplace(accelerator.keys, accelerator.id);
  std::vector<std::pair<std::string, int>> shown;
  CollectShownKeys(MainMenu(), shown);
  EXPECT_GE(shown.size(), 10u);
  for (const auto& [text, id] : shown) {
    const QKeySequence keys = QKeySequence::fromString(QString::fromStdString(text), QKeySequence::PortableText);
    ASSERT_FALSE(keys.isEmpty()) << text;
    auto it = owner.find(keys);
    ASSERT_NE(it, owner.end()) << "the menu shows " << text << " but no accelerator has it";
    EXPECT_EQ(it->second, id) << "the menu shows " << text << " for another command";
  }
}

}  // namespace
