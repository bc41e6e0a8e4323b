// The size grip, the resizable dialog and the anchored form view on real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "platform/framework/ControlTable.h"
#include "tests/platform/QtTestEnvironment.h"
#include "ui/AnchoredFormView.h"
#include "ui/CornerGrip.h"
#include "ui/SizableDialog.h"

namespace {

TEST(CornerGrip, KeepsOnlyTheLowerRightTriangle) {
  const QRegion triangle = CCornerGrip::TriangleRegion(QSize(4, 4));
  // Row r keeps the pixels from x = 4 - r on.
  EXPECT_FALSE(triangle.contains(QPoint(3, 0)));
  EXPECT_TRUE(triangle.contains(QPoint(3, 1)));
  EXPECT_FALSE(triangle.contains(QPoint(2, 1)));
  EXPECT_TRUE(triangle.contains(QPoint(1, 3)));
  EXPECT_FALSE(triangle.contains(QPoint(0, 3)));
  int pixels = 0;
  for (const QRect& rect : triangle) pixels += rect.width() * rect.height();
  EXPECT_EQ(pixels, 1 + 2 + 3);
}

TEST(CornerGrip, SitsInTheCornerBehindSiblingsAndTakesNoClicksBesideItsTriangle) {
  QWidget parent;
  parent.resize(300, 200);
  auto* sibling = new QPushButton("OK", &parent);
  CCornerGrip grip;
  ASSERT_TRUE(grip.CreateGrip(&parent));
  sibling->setGeometry(QRect(QPoint(300 - grip.Size().width() - 5, 200 - grip.Size().height() - 5), QSize(8, 8)));
  ASSERT_TRUE(qtest_env::ShowActive(parent));
  QWidget* widget = grip.Widget();
  EXPECT_EQ(widget->geometry().bottomRight(), QPoint(299, 199));
  EXPECT_EQ(parent.childAt(QPoint(298, 198)), widget) << "inside the triangle";
  const QPoint besideTriangle = widget->geometry().topLeft() + QPoint(1, 1);
  EXPECT_NE(parent.childAt(besideTriangle), widget);
  EXPECT_LT(parent.children().indexOf(widget), parent.children().indexOf(sibling)) << "behind the sibling";
  parent.resize(400, 260);
  grip.PlaceGrip();
  EXPECT_EQ(widget->geometry().bottomRight(), QPoint(399, 259));
  parent.showMaximized();
  QApplication::processEvents();
  grip.PlaceGrip();
  EXPECT_FALSE(widget->isEnabled()) << "no grip on a maximized window";
}

// A dialog like the table selection: a filter edit, OK at the top right, a list that fills it.
class TableDialog : public CSizableDialog {
 public:
  TableDialog() {
    static const ControlDef controls[] = {
        {32790, ControlKind::Edit, "", 7, 24, 176, 14},
        {1, ControlKind::DefPushButton, "OK", 291, 7, 50, 14},
        {2, ControlKind::PushButton, "Cancel", 291, 24, 50, 14},
        {1007, ControlKind::ListBox, "", 7, 45, 332, 183},
    };
    const DialogUnits units(6, 13);
    table_.Create(this, controls, units);
    resize(units.ToPixels(QSize(348, 234)));
  }
  bool OnInitDialog() override {
    CSizableDialog::OnInitDialog();
    AnchorControl(table_.Get(1), ANCHOR_TOP_RIGHT);
    AnchorControl(table_.Get(2), ANCHOR_TOP_RIGHT);
    AnchorControl(table_.Get(32790), ANCHOR_TOP_LEFT, ANCHOR_TOP_RIGHT);
    AnchorControl(table_.Get(1007), ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    return true;
  }
  ControlTable table_;
};

TEST(SizableDialog, FollowsItsAnchorsAndCannotShrinkBelowItsFirstSize) {
  TableDialog dialog;
  const QSize designed = dialog.size();
  ASSERT_TRUE(qtest_env::ShowActive(dialog));
  ASSERT_TRUE(dialog.IsInitialized());
  EXPECT_EQ(dialog.MinimumTrackingSize(), designed);
  EXPECT_EQ(dialog.minimumSize(), designed);
  const QRect list = dialog.table_.Get(1007)->geometry();
  const QRect ok = dialog.table_.Get(1)->geometry();
  dialog.resize(designed + QSize(120, 80));
  QApplication::processEvents();
  EXPECT_EQ(dialog.table_.Get(1007)->geometry(), list.adjusted(0, 0, 120, 80));
  EXPECT_EQ(dialog.table_.Get(1)->geometry(), ok.translated(120, 0));
  EXPECT_EQ(dialog.Grip().Widget()->geometry().bottomRight(), dialog.rect().bottomRight());
  qtest_env::Screenshot(dialog, "sizable-dialog");
  dialog.resize(designed - QSize(50, 50));
  QApplication::processEvents();
  EXPECT_GE(dialog.width(), designed.width());
  EXPECT_GE(dialog.height(), designed.height());
}

class QueryForm : public CAnchoredFormView {
 public:
  QueryForm() : CAnchoredFormView(QSize(400, 200)) {
    editor = new QLineEdit(Form());
    editor->setGeometry(5, 20, 390, 50);
    button = new QPushButton("!", Form());
    button->setGeometry(360, 2, 30, 15);
    AnchorControl(editor, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    AnchorControl(button, ANCHOR_TOP_RIGHT);
  }
  QLineEdit* editor;
  QPushButton* button;
};

TEST(AnchoredFormView, ControlsFollowTheViewButNeverShrinkBelowTheForm) {
  QueryForm view;
  view.resize(600, 300);
  ASSERT_TRUE(qtest_env::ShowActive(view));
  EXPECT_EQ(view.GetLayoutRect(), QRect(0, 0, 400, 200)) << "before the first update: the designed form";
  view.OnInitialUpdate();
  EXPECT_EQ(view.editor->geometry(), QRect(5, 20, 590, 150));
  EXPECT_EQ(view.button->pos(), QPoint(560, 2));

  view.resize(300, 150);  // smaller than the form: it keeps its size and the view scrolls
  QApplication::processEvents();
  EXPECT_EQ(view.Form()->size(), QSize(400, 200));
  EXPECT_EQ(view.editor->geometry(), QRect(5, 20, 390, 50));
  EXPECT_EQ(view.button->pos(), QPoint(360, 2));
  EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(view.verticalScrollBar()->maximum(), 0);
}

TEST(AnchoredFormView, WithoutScrollSizesTheFormAlwaysFillsTheView) {
  QueryForm view;
  view.resize(500, 250);
  ASSERT_TRUE(qtest_env::ShowActive(view));
  view.OnInitialUpdate();
  view.SetScrollSizes(QSize(0, 0));
  view.resize(300, 150);
  QApplication::processEvents();
  EXPECT_EQ(view.Form()->size(), view.viewport()->size());
  EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(view.button->pos(), QPoint(view.viewport()->width() - 40, 2));
}

}  // namespace
