#include "tests/support/dbgrid/GridDriving.h"

#include <gtest/gtest.h>

#include <QTest>

#include "grid/db/DbGridCtrl.h"
#include "tests/support/gui/OffscreenApp.h"

namespace testsupport {

void ClickGridCell(CDbGridCtrl& grid, int row, int col) {
  grid.EnsureVisible(row, col);
  Settle();
  QRect rect;
  if (!grid.GetCellRect(row, col, rect)) {
    ADD_FAILURE() << "cell (" << row << "," << col << ") is not on screen";
    return;
  }
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
  Settle();
}

void TypeGridFilter(CDbGridCtrl& grid, int col, const std::string& text) {
  const int row = grid.GetFilterRow();
  if (grid.GetFocusCell() != CellId(row, col)) ClickGridCell(grid, row, col);
  // A click on the focus cell opens its editor.
  ClickGridCell(grid, row, col);
  QWidget* editor = grid.GetEditor();
  if (!editor) {
    ADD_FAILURE() << "no editor opened on the filter cell of column " << col;
    return;
  }
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_Delete);
  QTest::keyClicks(editor, QString::fromStdString(text));
  QTest::keyClick(editor, Qt::Key_Return);
  Settle();
}

}  // namespace testsupport
