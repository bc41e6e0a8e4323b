// Selection by click, Shift and Ctrl, header clicks, resizing, double clicks, the right button,
// editing by clicking the focus cell, and the wheel.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>

#include "GridTestSupport.h"

using gridtest::ClickCell;
using gridtest::GridWindow;

namespace {

class GridMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    w = std::make_unique<GridWindow>(30, 5, 1, 1, QSize(500, 300));
    w->FillTexts();
    gridtest::ShowActive(&w->window, w->grid);
  }
  CGridCtrl& g() const { return *w->grid; }
  std::unique_ptr<GridWindow> w;
};

}  // namespace

TEST_F(GridMouse, ClickShiftClickAndCtrlClickSelect) {
  gridtest::NotifyLog log(g());
  ClickCell(g(), 2, 1);
  EXPECT_EQ(g().GetFocusCell(), CellId(2, 1));
  EXPECT_EQ(g().GetSelectionRange(), CellRange(2, 1, 2, 1));
  EXPECT_EQ(log.Codes(), (std::vector<int>{kNotifySelChanging, kNotifySelChanged, kNotifyClick}));
  ClickCell(g(), 4, 3, Qt::ShiftModifier);
  EXPECT_EQ(g().GetSelectionRange(), CellRange(2, 1, 4, 3));
  EXPECT_EQ(g().GetSelectedCount(), 9);
  ClickCell(g(), 6, 4, Qt::ControlModifier);
  EXPECT_EQ(g().GetSelectedCount(), 10) << "Ctrl adds to the selection";
  EXPECT_TRUE(g().IsCellSelected(6, 4));
  ClickCell(g(), 3, 3);
  EXPECT_EQ(g().GetSelectedCount(), 1);
}

TEST_F(GridMouse, HeaderAndFixedColumnClicksSelectColumnsAndRows) {
  ClickCell(g(), 0, 2);
  EXPECT_EQ(g().GetSelectionRange(), CellRange(1, 2, 29, 2));
  ClickCell(g(), 0, 3, Qt::ShiftModifier);
  EXPECT_EQ(g().GetSelectionRange(), CellRange(1, 2, 29, 3));
  ClickCell(g(), 5, 0);
  EXPECT_EQ(g().GetSelectionRange(), CellRange(5, 1, 5, 4));
  ClickCell(g(), 0, 0);
  EXPECT_EQ(g().GetSelectionRange(), CellRange(1, 1, 29, 4)) << "the corner selects all";
}

TEST_F(GridMouse, DragSelectsAndTheTimerScrollsBeyondTheEdge) {
  QTest::mousePress(g().viewport(), Qt::LeftButton, Qt::NoModifier, gridtest::CellCentre(g(), 2, 1));
  QTest::mouseMove(g().viewport(), gridtest::CellCentre(g(), 4, 2));
  EXPECT_EQ(g().GetSelectionRange(), CellRange(2, 1, 4, 2));
  const int top = g().GetTopRow();
  // Below the view: each 25 ms tick scrolls a row and extends the selection.
  QMouseEvent below(QEvent::MouseMove, QPointF(60, g().viewport()->height() + 20),
                    g().viewport()->mapToGlobal(QPointF(60, g().viewport()->height() + 20)), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g().viewport(), &below);
  ASSERT_TRUE(QTest::qWaitFor([&] { return g().GetTopRow() > top + 1; }, 5000)) << "the timer scrolls";
  EXPECT_GT(g().GetSelectionRange().maxRow, 4);
  ASSERT_TRUE(g().IsAutoScrolling());
  QTest::mouseRelease(g().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(60, g().viewport()->height() - 2));
  EXPECT_FALSE(g().IsAutoScrolling()) << "the timer stops with the button";
  const int scrolled = g().GetTopRow();
  gridtest::Settle();
  EXPECT_EQ(g().GetTopRow(), scrolled);
}

TEST_F(GridMouse, ClickOnTheFocusCellEditsOnReleaseAndElsewhereOnlyMovesTheFocus) {
  ClickCell(g(), 3, 2);
  EXPECT_EQ(g().GetEditor(), nullptr);
  ClickCell(g(), 3, 2);
  gridtest::Settle();
  auto* editor = qobject_cast<QLineEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "r3c2");
  EXPECT_EQ(g().GetEditCell(), CellId(3, 2));
  ClickCell(g(), 5, 3);  // the editor loses the focus and commits
  gridtest::Settle();
  EXPECT_EQ(g().GetEditor(), nullptr);
  EXPECT_EQ(g().GetFocusCell(), CellId(5, 3));
  EXPECT_EQ(g().GetCellText(3, 2), "r3c2");
}

TEST_F(GridMouse, DoubleClickEditsAndNotifies) {
  gridtest::NotifyLog log(g());
  gridtest::DoubleClickAt(g(), gridtest::CellCentre(g(), 4, 2));
  gridtest::Settle();
  EXPECT_NE(g().GetEditor(), nullptr);
  EXPECT_EQ(log.Count(kNotifyDoubleClick), 1);
  g().StopEdit();
  g().SetEditable(false);
  gridtest::DoubleClickAt(g(), gridtest::CellCentre(g(), 5, 2));
  EXPECT_EQ(g().GetEditor(), nullptr);
  EXPECT_EQ(log.Count(kNotifyDoubleClick), 2) << "sent also when the grid is not editable";
}

TEST_F(GridMouse, RightClickNotifiesTheCellOrNone) {
  gridtest::NotifyLog log(g());
  ClickCell(g(), 3, 3, Qt::NoModifier, Qt::RightButton);
  ASSERT_EQ(log.entries.size(), 1u);
  EXPECT_EQ(log.entries[0].code, kNotifyRightClick);
  EXPECT_EQ(log.entries[0].row, 3);
  EXPECT_EQ(log.entries[0].col, 3);
  g().SetRowCount(3);
  QTest::mouseClick(g().viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, g().viewport()->height() - 5));
  ASSERT_EQ(log.entries.size(), 2u);
  EXPECT_EQ(log.entries[1].row, -1);
  EXPECT_EQ(log.entries[1].col, -1);
}

TEST_F(GridMouse, EveryLeftReleasePostsTheCommand) {
  g().SetDlgCtrlID(101);
  QSignalSpy spy(&g(), &CGridCtrl::Command);
  ClickCell(g(), 2, 2);
  EXPECT_EQ(spy.count(), 0) << "posted, not sent";
  gridtest::Settle();
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toInt(), 101);
}

TEST_F(GridMouse, DraggingAColumnBorderResizesAndDoubleClickAutoSizes) {
  QRect header;
  ASSERT_TRUE(g().GetCellRect(0, 2, header));
  const int left = header.left();
  const QPoint border(left + g().GetColumnWidth(2) - 1, header.center().y());
  QTest::mousePress(g().viewport(), Qt::LeftButton, Qt::NoModifier, border + QPoint(2, 0));
  QTest::mouseMove(g().viewport(), QPoint(left + 150, border.y()));
  QTest::mouseRelease(g().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(left + 150, border.y()));
  EXPECT_EQ(g().GetColumnWidth(2), 150);
  // Never narrower than the grab distance.
  QTest::mousePress(g().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(left + 150, border.y()));
  QTest::mouseMove(g().viewport(), QPoint(left - 40, border.y()));
  QTest::mouseRelease(g().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(left - 40, border.y()));
  EXPECT_EQ(g().GetColumnWidth(2), 3);
  g().SetCellText(5, 2, "a text wider than three pixels");
  gridtest::DoubleClickAt(g(), QPoint(left + 3, border.y()));
  EXPECT_GT(g().GetColumnWidth(2), 100);
}

TEST_F(GridMouse, WheelScrollsTheConfiguredLines) {
  ASSERT_EQ(g().GetWheelScrollLines(), QApplication::wheelScrollLines());
  g().SetWheelScrollLines(3);
  g().EnsureVisible(20, 1);
  const int top = g().GetTopRow();
  ASSERT_GT(top, 5);
  const QPoint at = gridtest::CellCentre(g(), top + 1, 2);
  QWheelEvent forward(at, g().viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
  QApplication::sendEvent(g().viewport(), &forward);
  EXPECT_EQ(g().GetTopRow(), top - 3) << "one notch forward: three lines up";
  QWheelEvent back(at, g().viewport()->mapToGlobal(at), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(g().viewport(), &back);
  EXPECT_EQ(g().GetTopRow(), top + 3);
  g().SetWheelScrollLines(-1);
  const int before = g().GetTopRow();
  QApplication::sendEvent(g().viewport(), &forward);
  EXPECT_LT(g().GetTopRow(), before - 3) << "-1: a page per notch";
}

TEST_F(GridMouse, TitleTipShowsTheWholeTextOfANarrowCell) {
  g().SetColumnWidth(2, 40);
  g().SetCellText(3, 2, "a text far too long for forty pixels");
  // A plain hover, no button held (QTest's moves carry the buttons it believes pressed).
  auto hoverAndFindTip = [this](int row, int col) {
    const QPointF at = gridtest::CellCentre(g(), row, col);
    QMouseEvent hover(QEvent::MouseMove, at, g().viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(g().viewport(), &hover);
    return g().findChild<QLabel*>(QStringLiteral("QelvoTitleTip"));
  };
  QLabel* tip = hoverAndFindTip(3, 2);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->isVisible());
  EXPECT_TRUE(tip->isWindow());
  EXPECT_EQ(tip->text(), QStringLiteral(" a text far too long for forty pixels "));
  hoverAndFindTip(3, 3);
  EXPECT_FALSE(tip->isVisible()) << "moving out of the cell hides it";
  hoverAndFindTip(3, 2);
  EXPECT_TRUE(tip->isVisible());
  QTest::keyClick(&g(), Qt::Key_Right);
  EXPECT_FALSE(tip->isVisible()) << "a key hides it";
  hoverAndFindTip(4, 3);
  EXPECT_FALSE(tip->isVisible()) << "a text that fits has none";
}

TEST_F(GridMouse, DroppedTextIsPastedOnAnEditableCell) {
  gridtest::NotifyLog log(g());
  g().EnableDragAndDrop(true);
  QMimeData data;
  data.setText(QStringLiteral("x,y"));
  const QPoint at = gridtest::CellCentre(g(), 4, 2);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g().viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g().viewport(), &move);
  EXPECT_TRUE(g().GetCellState(4, 2) & kCellDropTarget) << "highlighted as the drop target";
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g().viewport(), &drop);
  EXPECT_EQ(g().GetCellText(4, 2), "x");
  EXPECT_EQ(g().GetCellText(4, 3), "y");
  EXPECT_FALSE(g().GetCellState(4, 2) & kCellDropTarget);
  EXPECT_EQ(log.Count(kNotifyEndEdit), 2);
  g().SetCellState(6, 2, kCellReadOnly);
  const QPoint readOnly = gridtest::CellCentre(g(), 6, 2);
  QDragMoveEvent refused(readOnly, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g().viewport(), &refused);
  EXPECT_FALSE(refused.isAccepted());
}
