#include "ui/AnchorLayout.h"

#include <QAbstractScrollArea>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QToolBar>
#include <algorithm>

namespace {

// Exclusive right and bottom edges, as the anchor arithmetic counts them.
struct Edges {
  int left, top, right, bottom;
  bool operator==(const Edges&) const = default;
};

Edges EdgesOf(const QRect& rect) {
  return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

bool IsPictureLabel(const QLabel* label) {
  return !label->pixmap().isNull() || label->movie() != nullptr || !label->picture().isNull();
}

bool IsCentred(const QLabel* label) {
  return (label->alignment() & Qt::AlignCenter) == Qt::AlignCenter;
}

}  // namespace

void CAnchorLayout::Grow() {
  if (items_.size() < items_.capacity()) return;
  const std::size_t step =
      growStep_ > 0 ? static_cast<std::size_t>(growStep_) : std::clamp<std::size_t>(items_.size() / 8, 4, 1024);
  items_.reserve(items_.size() + step);
}

QRect CAnchorLayout::RectInLayoutWindow(const QWidget* control) const {
  const QWidget* window = GetLayoutWindow();
  if (!window || control->parentWidget() == window || !window->isAncestorOf(control)) return control->geometry();
  return QRect(control->mapTo(window, QPoint(0, 0)), control->size());
}

void CAnchorLayout::AnchorControl(QWidget* control, AnchorPoint topLeft, AnchorPoint bottomRight) {
  if (!control) return;
  // Group boxes need nothing here: Qt always clips siblings.
  LayoutItem item;
  item.window = control;
  item.adjustHScroll = qobject_cast<QListView*>(control) != nullptr;
  item.needsRepaint = WantsRepaint(control);
  const QRect area = GetLayoutRect();
  const int width = area.width();
  const int height = area.height();
  const Edges c = EdgesOf(RectInLayoutWindow(control));
  if (bottomRight == ANCHOR_NONE) bottomRight = topLeft;
  item.topLeft = topLeft;
  item.bottomRight = bottomRight;
  item.topLeftMargin = QPoint(c.left - topLeft.x * width / 100, c.top - topLeft.y * height / 100);
  item.bottomRightMargin = QPoint(c.right - bottomRight.x * width / 100, c.bottom - bottomRight.y * height / 100);
  Grow();
  items_.insert(items_.begin() + anchored_, item);
  ++anchored_;
}

void CAnchorLayout::AddCallback(std::uint32_t callbackId) {
  LayoutItem item;
  item.callbackId = callbackId;
  Grow();
  items_.push_back(item);
}

void CAnchorLayout::RemoveAllAnchors() {
  items_.clear();
  anchored_ = 0;
}

void CAnchorLayout::LayoutControls() {
  QWidget* window = GetLayoutWindow();
  if (!window) return;
  const QRect area = GetLayoutRect();
  const int width = area.width();
  const int height = area.height();
  // Moves are batched: nothing is painted until every control has its new place.
  const bool updates = window->updatesEnabled();
  window->setUpdatesEnabled(false);
  for (std::size_t index = 0; index < items_.size(); ++index) {
    LayoutItem* item = &items_[index];
    LayoutItem filled;
    if (item->callbackId != 0 || !item->window) {
      if (static_cast<int>(index) == anchored_) {
        // Callback items form a batch of their own, after the anchored controls have moved.
        window->setUpdatesEnabled(updates);
        window->setUpdatesEnabled(false);
      }
      filled = *item;
      if (item->callbackId == 0 || !LayoutCallback(filled) || !filled.window) continue;
      item = &filled;
    }
    QWidget* control = item->window;
    const Edges old = EdgesOf(RectInLayoutWindow(control));
    const Edges now{item->topLeftMargin.x() + width * item->topLeft.x / 100,
                    item->topLeftMargin.y() + height * item->topLeft.y / 100,
                    item->bottomRightMargin.x() + width * item->bottomRight.x / 100,
                    item->bottomRightMargin.y() + height * item->bottomRight.y / 100};
    if (now == old) continue;
    bool repaint = item->needsRepaint;
    if (item->adjustHScroll) {
      const QScrollBar* bar = static_cast<QAbstractScrollArea*>(control)->horizontalScrollBar();
      const int growth = (now.right - now.left) - (old.right - old.left);
      repaint = bar->maximum() > 0 && bar->value() > bar->maximum() - growth;
    }
    const QPoint topLeft(now.left, now.top);
    const QSize size(now.right - now.left, now.bottom - now.top);
    const QPoint offset = control->parentWidget() == window || !control->parentWidget()
                              ? QPoint()
                              : control->parentWidget()->mapTo(window, QPoint(0, 0));
    const bool moved = now.left != old.left || now.top != old.top;
    const bool sized = size != QSize(old.right - old.left, old.bottom - old.top);
    if (moved && sized)
      control->setGeometry(QRect(topLeft - offset, size));
    else if (moved)
      control->move(topLeft - offset);
    else
      control->resize(size);
    if (repaint) control->update();
  }
  window->setUpdatesEnabled(updates);
}

QRegion CAnchorLayout::ExcludeChildrenFromPaint(const QRegion& area) const {
  QRegion result = area;
  for (const LayoutItem& item : items_) {
    QWidget* control = item.window;
    if (!control || !control->isVisible()) continue;
    const QRect rect = RectInLayoutWindow(control);
    const QRegion shape = control->mask().isEmpty() ? QRegion(rect) : control->mask().translated(rect.topLeft());
    if (WantsClipping(control))
      result -= shape;
    else
      result += shape;
  }
  return result;
}

void CAnchorLayout::ExcludeChildrenFromPaint(QPainter& painter) const {
  const QWidget* window = GetLayoutWindow();
  if (!window) return;
  const QRegion base = painter.hasClipping() ? painter.clipRegion() : QRegion(window->rect());
  painter.setClipRegion(ExcludeChildrenFromPaint(base));
}

bool CAnchorLayout::WantsClipping(QWidget* child) const {
  if (qobject_cast<QToolBar*>(child) || qobject_cast<QGroupBox*>(child)) return false;
  if (const auto* label = qobject_cast<QLabel*>(child)) {
    // Pictures cover their place unless centred in it; text labels paint on the parent's
    // background.
    return IsPictureLabel(label) && !IsCentred(label);
  }
  if (child->metaObject() == &QFrame::staticMetaObject) {
    // A plain frame: rectangles and etched lines cover their place, an empty frame does not.
    return static_cast<QFrame*>(child)->frameShape() != QFrame::NoFrame;
  }
  return true;
}

bool CAnchorLayout::WantsRepaint(QWidget* child) const {
  // Labels place their text or picture by alignment inside their rectangle, so a new size moves
  // what they show; frames and other controls repaint themselves as needed.
  return qobject_cast<QLabel*>(child) != nullptr;
}

QRect CAnchorLayout::GetLayoutRect() const {
  const QWidget* window = GetLayoutWindow();
  return window ? window->rect() : QRect();
}

bool CAnchorLayout::LayoutCallback(LayoutItem&) {
  return false;
}
