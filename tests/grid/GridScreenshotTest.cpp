// Screenshots of the demonstration window (written next to the test binary for a person to
// look at), with checks of what must be visible: raised fixed cells, the focus frame, the sort
// triangle and the check boxes.
#include <gtest/gtest.h>
#include <QDir>
#include <QImage>

#include "GridTestSupport.h"
#include "grid/GridCellCheck.h"
#include "grid/GridCellCheckEx.h"
#include "grid/demo/GridDemoWindow.h"

namespace {

int Luma(QRgb c) {
  return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

QImage Grab(QWidget& w, const char* name) {
  const QImage image = w.grab().toImage();
  QDir().mkpath(QStringLiteral(QELVO_GRID_SCREENSHOT_DIR));
  image.save(QStringLiteral(QELVO_GRID_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name)));
  return image;
}

// Distinct colours inside a rectangle.
int Colours(const QImage& image, const QRect& rect) {
  QSet<QRgb> seen;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) seen.insert(image.pixel(x, y));
  return static_cast<int>(seen.size());
}

}  // namespace

TEST(GridScreenshot, DemoWindowShowsEveryCellClass) {
  gridtest::EnsureApp();
  GridDemoWindow window;
  window.resize(900, 360);
  gridtest::ShowActive(&window, window.Grid());
  CGridCtrlEx& g = *window.Grid();
  const QImage image = Grab(window, "grid_demo");
  const QPoint offset = g.viewport()->mapTo(&window, QPoint(0, 0));

  // A raised header: lighter at its top edge than at its bottom edge.
  QRect header;
  ASSERT_TRUE(g.GetCellRect(0, GridDemoWindow::kColInteger, header));
  header.translate(offset);
  const int x = header.center().x();
  // The fixed cell's bevel covers its whole height, the grid line's pixel included.
  EXPECT_GT(Luma(image.pixel(x, header.top())), Luma(image.pixel(x, header.bottom() + 1)) + 30);

  // The focus frame: the border of the focus cell differs from its inside.
  QRect focus;
  ASSERT_TRUE(g.GetCellRect(2, GridDemoWindow::kColText, focus));
  focus.translate(offset);
  EXPECT_NE(image.pixel(focus.left(), focus.center().y()), image.pixel(focus.left() + 3, focus.center().y()));

  // The sort triangle at the right of the sorted column's header.
  QRect sorted;
  ASSERT_TRUE(g.GetCellRect(0, GridDemoWindow::kColText, sorted));
  sorted.translate(offset);
  const QRect triangle(sorted.right() - 20, sorted.top() + 3, 18, sorted.height() - 6);
  EXPECT_GT(Colours(image, triangle), 2);

  // Check boxes of both kinds: more than the background in their areas.
  QRect checkEx, check;
  ASSERT_TRUE(g.GetCellRect(1, GridDemoWindow::kColCheckEx, checkEx));
  ASSERT_TRUE(g.GetCellRect(1, GridDemoWindow::kColCheck, check));
  const auto* checkCell = dynamic_cast<const CGridCellCheck*>(g.GetCellObject(1, GridDemoWindow::kColCheck));
  ASSERT_NE(checkCell, nullptr);
  EXPECT_GT(Colours(image, CGridCellCheckEx::CheckArea(checkEx).translated(offset)), 2);
  EXPECT_GT(Colours(image, checkCell->CheckArea(check).translated(offset)), 2);

  // The same window while a cell is edited, and while the combo list is down.
  g.SetFocusCell(3, GridDemoWindow::kColNumeric);
  g.StartEdit(3, GridDemoWindow::kColNumeric, QPoint(-1, -1), Qt::Key_F2);
  Grab(window, "grid_demo_editing");
  g.StopEdit();
  g.SetFocusCell(3, GridDemoWindow::kColCombo);
  g.StartEdit(3, GridDemoWindow::kColCombo, QPoint(-1, -1), Qt::Key_F2);
  Grab(window, "grid_demo_combo");
  g.StopEdit();
  gridtest::Settle();
}
