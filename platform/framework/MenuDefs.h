#pragma once
// Plain descriptions of menus, the toolbar and accelerators, filled by resources/ and turned
// into widgets by CommandActions.
#include <QKeySequence>
#include <string>
#include <vector>

// One menu entry: a command (id > 0, text with an optional "\t" and shortcut text), a popup
// (items not empty), or a separator (id 0, no text, no items).
struct MenuItemDef {
  std::string text;
  int id = 0;
  std::vector<MenuItemDef> items;

  bool IsSeparator() const { return id == 0 && text.empty() && items.empty(); }
  bool IsPopup() const { return !items.empty(); }

  static MenuItemDef Command(std::string text, int id) { return {std::move(text), id, {}}; }
  static MenuItemDef Popup(std::string text, std::vector<MenuItemDef> items) {
    return {std::move(text), 0, std::move(items)};
  }
  static MenuItemDef Separator() { return {}; }
};

struct AcceleratorDef {
  QKeySequence keys;
  int id;
};

// The toolbar's buttons in order; 0 stands for a separator.
using ToolbarDef = std::vector<int>;
