#pragma once
// The style of the dressed menus: the keys after an item's tab are drawn right-aligned at the
// item's right edge, the rest of the item as the application's style draws it.
#include <QProxyStyle>

class MenuShortcutStyle : public QProxyStyle {
  Q_OBJECT
 public:
  MenuShortcutStyle();

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;

  // The room left free at an item's right edge (where a submenu shows its arrow).
  static constexpr int kRightMargin = 15;
};
