// Pictures of the main window as a person sees it: a result, a filter applied, a sort indicator.
// They are written to the build's tests/e2e/screenshots folder for looking at; the test checks
// that the saved pictures show the values, the sort triangle and the filter.
#include <QColor>
#include <QDialog>
#include <QImage>

#include "grid/db/DbGridCtrl.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/support/gui/PictureInk.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"

namespace e2e {
namespace {

using testsupport::InkPixels;

class ScreenshotTest : public ProgramTest {
 protected:
  // Writes the picture and reads it back from the file, so that the checks see what was saved.
  QImage Shot(const std::string& name) {
    QImage image = testsupport::ReadPicture(Screenshot(name));
    EXPECT_FALSE(image.isNull()) << name;
    return image;
  }
  // A grid cell's rectangle in the window's picture, without its grid lines.
  QRect CellInShot(int row, int col) {
    QRect rect;
    EXPECT_TRUE(P().Grid().GetCellRect(row, col, rect)) << row << "," << col;
    return rect.translated(P().Grid().viewport()->mapTo(&P().Frame(), QPoint(0, 0))).adjusted(1, 1, -2, -2);
  }
};

TEST_F(ScreenshotTest, ResultFilterAndSortIndicator) {
  Program& p = Start({1100, 720});
  // The first start offers the sample database and a query over it.
  p.PressExecute();
  ASSERT_GT(p.DataRowCount(), 3);
  const int nameColumn = 2;
  const int first = p.Grid().GetFirstDataRow();
  const QImage result = Shot("result");
  // The values are drawn: text in the first rows' name cells, and in the header.
  for (int row = first; row < first + 3; ++row)
    EXPECT_GT(InkPixels(result, CellInShot(row, nameColumn)), 10) << "row " << row;
  EXPECT_GT(InkPixels(result, CellInShot(0, nameColumn)), 10);

  p.ClickCell(0, nameColumn);
  EXPECT_EQ(p.Grid().GetSortColumn(), nameColumn);
  const QImage sorted = Shot("sorted");
  // The sort triangle adds ink at the right end of the header cell.
  const QRect header = CellInShot(0, nameColumn);
  const QRect headerEnd(header.right() - 14, header.top(), 14, header.height());
  EXPECT_GT(InkPixels(sorted, headerEnd), InkPixels(result, headerEnd) + 5);

  const int cityColumn = 3;
  p.TypeFilter(cityColumn, "M");
  ASSERT_EQ(p.DataRowCount(), 2);
  EXPECT_EQ(p.Column(cityColumn), (std::vector<std::string>{"München", "Milano"}));
  const QImage filtered = Shot("filtered");
  const int filterRow = p.Grid().GetFilterRow();
  // The filter row's own background, the typed "M" in it, and the two rows left.
  const QRect filterCell = CellInShot(filterRow, cityColumn);
  EXPECT_EQ(QColor(filtered.pixel(filterCell.right() - 1, filterCell.bottom() - 1)), QColor(220, 255, 220));
  EXPECT_GT(InkPixels(filtered, filterCell), 5);
  EXPECT_EQ(InkPixels(filtered, CellInShot(filterRow, nameColumn)), 0);
  for (int row = first; row < first + 2; ++row)
    EXPECT_GT(InkPixels(filtered, CellInShot(row, cityColumn)), 10) << "row " << row;
}

TEST_F(ScreenshotTest, DriverSelectionDialog) {
  Program& p = Start();
  p.Workspace().SetConnectionMode(CQelvoView::kModeOdbc);
  std::string path;
  prompts_->AnswerDialog([&path](QDialog& dialog) {
    dialog.show();
    Settle();
    path = std::string(QELVO_E2E_SCREENSHOTS) + "/driver-selection.png";
    dialog.grab().save(QString::fromStdString(path));
    return int(QDialog::Rejected);
  });
  p.RunCommand(CQelvoView::IDC_BUILD_CONNECTION);
  // The saved picture is the dialog as it was drawn, with its list of drivers in it.
  const QImage saved = testsupport::ReadPicture(path);
  ASSERT_FALSE(saved.isNull());
  EXPECT_GT(InkPixels(saved, saved.rect()), 200);
}

}  // namespace
}  // namespace e2e
