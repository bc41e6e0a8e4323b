// Pictures of the main window as a person sees it: a result, a filter applied, a sort indicator.
// They are written to the build's tests/e2e/screenshots folder for looking at; the test checks
// that what they show is there.
#include <QFileInfo>

#include "grid/db/DbGridCtrl.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"

namespace e2e {
namespace {

class ScreenshotTest : public ProgramTest {};

TEST_F(ScreenshotTest, ResultFilterAndSortIndicator) {
  Program& p = Start({1100, 720});
  // The first start offers the sample database and a query over it.
  p.PressExecute();
  ASSERT_GT(p.DataRowCount(), 3);
  EXPECT_TRUE(QFileInfo(QString::fromStdString(Screenshot("result"))).size() > 0);

  const int nameColumn = 2;
  p.ClickCell(0, nameColumn);
  EXPECT_EQ(p.Grid().GetSortColumn(), nameColumn);
  EXPECT_TRUE(QFileInfo(QString::fromStdString(Screenshot("sorted"))).size() > 0);

  const int cityColumn = 3;
  p.TypeFilter(cityColumn, "M");
  ASSERT_EQ(p.DataRowCount(), 2);
  EXPECT_EQ(p.Column(cityColumn), (std::vector<std::string>{"München", "Milano"}));
  EXPECT_TRUE(QFileInfo(QString::fromStdString(Screenshot("filtered"))).size() > 0);
}

}  // namespace
}  // namespace e2e
