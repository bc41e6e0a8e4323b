#include "ui/MenuShortcutStyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

MenuShortcutStyle::MenuShortcutStyle() : QProxyStyle() {}

void MenuShortcutStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  const qsizetype tab = item && element == CE_MenuItem ? item->text.indexOf('\t') : -1;
  if (tab < 0) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  QStyleOptionMenuItem left(*item);
  left.text = item->text.left(tab);
  QProxyStyle::drawControl(element, &left, painter, widget);

  const bool enabled = item->state & State_Enabled;
  const bool selected = item->state & State_Selected;
  const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
  painter->save();
  painter->setFont(item->font);
  painter->setPen(item->palette.color(group, selected && enabled ? QPalette::HighlightedText : QPalette::Text));
  const QRect keys = item->rect.adjusted(0, 0, -kRightMargin, 0);
  painter->drawText(keys, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, item->text.mid(tab + 1));
  painter->restore();
}
