// The anchoring rules on real widgets: growth by the change of the client size, 50 % anchors
// moving by half (truncated toward zero), untouched controls, callback items, paint clipping.
#include <gtest/gtest.h>

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <functional>

#include "ui/AnchorLayout.h"

namespace {

class Form : public QWidget, public CAnchorLayout {
 public:
  Form() { resize(200, 100); }
  QWidget* GetLayoutWindow() const override { return const_cast<Form*>(this); }
  void Grow(int dx, int dy) {
    resize(width() + dx, height() + dy);
    LayoutControls();
  }
  std::function<bool(LayoutItem&)> callback;
  bool LayoutCallback(LayoutItem& item) override { return callback ? callback(item) : false; }
};

// Counts the moves and resizes a control receives.
class MoveCounter : public QObject {
 public:
  int moves = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) ++moves;
    return false;
  }
};

TEST(AnchorLayout, TopLeftToBottomRightGrowsByTheClientChange) {
  Form form;
  auto* editor = new QLineEdit(&form);
  editor->setGeometry(3, 12, 150, 40);
  form.AnchorControl(editor, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
  form.Grow(37, 21);
  EXPECT_EQ(editor->geometry(), QRect(3, 12, 187, 61));
  form.Grow(-37, -21);
  EXPECT_EQ(editor->geometry(), QRect(3, 12, 150, 40)) << "and back";
}

TEST(AnchorLayout, RightAnchoredKeepsItsSizeAndItsDistanceToTheRightEdge) {
  Form form;
  auto* button = new QPushButton("...", &form);
  button->setGeometry(160, 2, 30, 14);
  form.AnchorControl(button, ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT);
  form.Grow(55, 40);
  EXPECT_EQ(button->geometry(), QRect(215, 2, 30, 14));
  EXPECT_EQ(form.width() - (button->x() + button->width()), 10);
}

TEST(AnchorLayout, FiftyPercentAnchorsMoveByHalfTheGrowthTruncated) {
  Form form;  // 200 x 100
  auto* label = new QLabel("Query", &form);
  label->setGeometry(8, 52, 60, 10);
  form.AnchorControl(label, ANCHOR_MIDDLE_LEFT, ANCHOR_NONE);  // bottom-right = top-left anchor
  auto* centred = new QPushButton(&form);
  centred->setGeometry(90, 10, 20, 10);
  form.AnchorControl(centred, ANCHOR_TOP_CENTER);
  auto* query = new QLineEdit(&form);
  query->setGeometry(3, 62, 190, 30);
  form.AnchorControl(query, ANCHOR_MIDDLE_LEFT, ANCHOR_BOTTOM_RIGHT);

  form.Grow(5, 5);
  EXPECT_EQ(centred->pos(), QPoint(92, 10)) << "growth 5 moves it by 2";
  EXPECT_EQ(label->geometry(), QRect(8, 54, 60, 10));
  EXPECT_EQ(query->geometry(), QRect(3, 64, 195, 33)) << "top by half, bottom by all of it";
  form.Grow(-10, -10);  // 195 x 95: half of 195 is 97 (truncated), three less than half of 200
  EXPECT_EQ(centred->pos(), QPoint(87, 10));
  EXPECT_EQ(label->pos(), QPoint(8, 49));
}

TEST(AnchorLayout, ControlsThatStayPutAreNotTouched) {
  Form form;
  auto* still = new QPushButton(&form);
  still->setGeometry(5, 5, 20, 10);
  auto* right = new QPushButton(&form);
  right->setGeometry(170, 5, 20, 10);
  form.AnchorControl(still, ANCHOR_TOP_LEFT, ANCHOR_TOP_LEFT);
  form.AnchorControl(right, ANCHOR_TOP_RIGHT);
  form.show();
  MoveCounter stillMoves;
  MoveCounter rightMoves;
  still->installEventFilter(&stillMoves);
  right->installEventFilter(&rightMoves);
  form.Grow(30, 0);
  form.Grow(0, 30);
  EXPECT_EQ(stillMoves.moves, 0);
  EXPECT_EQ(rightMoves.moves, 1) << "moved once, on the width change only";
  EXPECT_EQ(right->size(), QSize(20, 10));
}

TEST(AnchorLayout, ControlsInsideAContainerAreAnchoredInLayoutCoordinates) {
  Form form;
  auto* box = new QWidget(&form);
  box->setGeometry(10, 10, 100, 60);
  auto* inner = new QLineEdit(box);
  inner->setGeometry(5, 5, 50, 20);
  form.AnchorControl(inner, ANCHOR_TOP_LEFT, ANCHOR_TOP_RIGHT);
  form.Grow(40, 0);
  EXPECT_EQ(inner->geometry(), QRect(5, 5, 90, 20));
}

TEST(AnchorLayout, CallbackItemsComeAfterTheAnchoredControls) {
  Form form;
  auto* a = new QPushButton(&form);
  a->setGeometry(0, 0, 10, 10);
  auto* b = new QPushButton(&form);
  b->setGeometry(20, 0, 10, 10);
  form.AddCallback(7);
  form.AnchorControl(a, ANCHOR_TOP_RIGHT);
  ASSERT_EQ(form.Items().size(), 2u);
  EXPECT_EQ(form.Items()[0].window, a);
  EXPECT_EQ(form.Items()[1].callbackId, 7u);
  std::vector<std::uint32_t> asked;
  form.callback = [&](LayoutItem& item) {
    asked.push_back(item.callbackId);
    item.window = b;
    item.topLeft = ANCHOR_TOP_LEFT;
    item.bottomRight = ANCHOR_BOTTOM_RIGHT;
    item.topLeftMargin = QPoint(20, 0);
    item.bottomRightMargin = QPoint(-170, -90);
    return true;
  };
  form.Grow(10, 0);
  EXPECT_EQ(asked, std::vector<std::uint32_t>{7});
  EXPECT_EQ(a->pos(), QPoint(10, 0));
  EXPECT_EQ(b->geometry(), QRect(20, 0, 20, 10));
}

TEST(AnchorLayout, TheItemArrayGrowsByTheStepOrByAnEighth) {
  Form form;
  form.SetGrowStep(3);
  for (int i = 0; i < 4; ++i) form.AnchorControl(new QPushButton(&form), ANCHOR_TOP_LEFT);
  EXPECT_EQ(form.Capacity(), 6u);
  Form other;
  for (int i = 0; i < 5; ++i) other.AnchorControl(new QPushButton(&other), ANCHOR_TOP_LEFT);
  EXPECT_EQ(other.Capacity(), 8u) << "4 at first, then 4 more (an eighth is below 4)";
}

TEST(AnchorLayout, PaintingAroundControls) {
  Form form;
  auto* edit = new QLineEdit(&form);
  edit->setGeometry(10, 10, 50, 20);
  auto* group = new QGroupBox("Options", &form);
  group->setGeometry(100, 10, 80, 60);
  auto* text = new QLabel("Label", &form);
  text->setGeometry(10, 50, 40, 10);
  for (QWidget* control : {static_cast<QWidget*>(edit), static_cast<QWidget*>(group), static_cast<QWidget*>(text)})
    form.AnchorControl(control, ANCHOR_TOP_LEFT);
  form.show();
  const QRegion paint = form.ExcludeChildrenFromPaint(QRegion(0, 0, 90, 100));
  EXPECT_FALSE(paint.contains(QPoint(20, 15))) << "an edit covers its place";
  EXPECT_TRUE(paint.contains(QPoint(120, 30))) << "a group box is painted through";
  EXPECT_TRUE(paint.contains(QPoint(20, 55))) << "a text label is painted through";
  EXPECT_TRUE(form.WantsRepaint(text));
  EXPECT_FALSE(form.WantsRepaint(edit));
  EXPECT_FALSE(form.WantsClipping(group));
  EXPECT_TRUE(form.WantsClipping(new QListWidget(&form)));
}

TEST(AnchorLayout, AListScrolledToItsEndIsRepaintedWhenItGrows) {
  Form form;
  auto* list = new QListWidget(&form);
  list->setGeometry(0, 0, 60, 80);
  list->addItem(QString(200, 'x'));
  form.AnchorControl(list, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
  ASSERT_TRUE(form.Items()[0].adjustHScroll);
  form.show();
  list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
  form.Grow(40, 0);
  EXPECT_EQ(list->width(), 100);
}

}  // namespace
