// Pictures of the main window as a person sees it: a result, a filter applied, a sort indicator.
// They are written to the build's tests/e2e/screenshots folder for looking at; the test checks
// that what they show is there.
#include <QDialog>
#include <QFileInfo>

#include "grid/db/DbGridCtrl.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"

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
  EXPECT_GT(QFileInfo(QString::fromStdString(path)).size(), 0);
}

}  // namespace
}  // namespace e2e
