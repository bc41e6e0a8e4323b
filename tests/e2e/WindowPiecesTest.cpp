// The window half's small parts on their own: placement memory and clamping,
// the selection list, and the workspace's layout rules.
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>

#include "tests/e2e/E2eSupport.h"
#include "workspace/MemoryProfileStore.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/SelectListDlg.h"
#include "workspace/ui/WindowPlacement.h"

namespace e2e {
namespace {

TEST(WindowPlacementTest, ClampKeepsAnIconWidthOnScreenAndTheWindowSize) {
  // Beyond the right and bottom ends: pulled back, size kept.
  EXPECT_EQ(ClampToScreen({0, 1, 2000, 1500, 2600, 1900}, 1920, 1080, 32, 32),
            (WindowPlacement{0, 1, 1888, 1048, 2488, 1448}));
  // Exactly at the limit counts as beyond.
  EXPECT_EQ(ClampToScreen({0, 1, 1888, 10, 1900, 20}, 1920, 1080, 32, 32).left, 1888);
  EXPECT_EQ(ClampToScreen({0, 1, 1887, 10, 1900, 20}, 1920, 1080, 32, 32).left, 1887);
  // A negative left edge stays as stored.
  EXPECT_EQ(ClampToScreen({0, 3, -300, -8, 500, 600}, 1920, 1080, 32, 32), (WindowPlacement{0, 3, -300, -8, 500, 600}));
}

TEST(WindowPlacementTest, OnlyACompleteSectionIsRestored) {
  MemoryProfileStore profile;
  EXPECT_FALSE(ReadWindowPlacement(profile));
  EXPECT_EQ(ReadTopRowHeight(profile), 300);
  SaveWindowPlacement(profile, {2, 3, 10, 20, 810, 620}, 144);
  EXPECT_EQ(ReadWindowPlacement(profile), (WindowPlacement{2, 3, 10, 20, 810, 620}));
  EXPECT_EQ(ReadTopRowHeight(profile), 144);
  // A value of -1 stands for a missing one.
  profile.WriteInt(WindowStateSection, "y2", -1);
  EXPECT_FALSE(ReadWindowPlacement(profile));
  // An empty rectangle would make an invisible window.
  SaveWindowPlacement(profile, {0, 1, 100, 100, 100, 300}, 0);
  EXPECT_FALSE(ReadWindowPlacement(profile));
  EXPECT_EQ(ReadTopRowHeight(profile), 0);
}

TEST(SelectListDlgTest, PreselectsTheLastEqualItemAndReturnsTheChoice) {
  EnsureApp();
  CSelectListDlg dialog;
  dialog.title = "Pick";
  dialog.prompt = "Choose :";
  dialog.items = {"alpha", "Beta", "BETA", "gamma"};
  dialog.preselect = "beta";
  dialog.Prepare();
  EXPECT_EQ(dialog.windowTitle(), "Pick");
  ASSERT_EQ(dialog.List()->count(), 4);
  EXPECT_EQ(dialog.List()->currentRow(), 2);
  dialog.List()->setCurrentRow(3);
  dialog.accept();
  EXPECT_EQ(dialog.Result(), "gamma");

  CSelectListDlg empty;
  empty.Prepare();
  empty.accept();
  EXPECT_EQ(empty.Result(), "");
  EXPECT_EQ(empty.result(), QDialog::Accepted);
}

class WorkspaceLayoutTest : public ProgramTest {};

TEST_F(WorkspaceLayoutTest, TheQueryEditorKeepsItsBottomMarginEqualToItsLeftMargin) {
  Program& p = Start({900, 700});
  CQelvoView& view = p.Workspace();
  auto check = [&view] {
    const QRect editor(view.QueryEditor()->mapTo(&view, QPoint(0, 0)), view.QueryEditor()->size());
    EXPECT_EQ(view.height() - (editor.top() + editor.height()), editor.left());
  };
  check();
  p.Frame().Splitter()->setSizes({420, 200});
  Settle();
  check();
  p.Frame().resize(1200, 800);
  Settle();
  check();
}

TEST_F(WorkspaceLayoutTest, ControlsFollowTheirAnchors) {
  Program& p = Start({900, 700});
  CQelvoView& view = p.Workspace();
  p.Frame().Splitter()->setSizes({300, 300});
  Settle();
  QWidget* execute = view.Control(CQelvoView::IDC_EXECUTE);
  QWidget* build = view.Control(CQelvoView::IDC_BUILD_CONNECTION);
  QWidget* connection = view.ConnectionEditor();
  const QRect executeBefore = execute->geometry();
  const QRect buildBefore = build->geometry();
  const QRect connectionBefore = connection->geometry();
  const QSize before = view.size();

  p.Frame().resize(p.Frame().width() + 100, p.Frame().height());
  p.Frame().Splitter()->setSizes({341, 300});
  Settle();
  const int dx = view.width() - before.width();
  const int dy = view.height() - before.height();
  ASSERT_EQ(dx, 100);
  ASSERT_EQ(dy, 41);
  // Top-right anchors: the same distance to the right edge, the same size.
  EXPECT_EQ(build->geometry(), buildBefore.translated(dx, 0));
  // Middle-right anchors: right by the growth, down by half of it, truncated.
  EXPECT_EQ(execute->geometry(), executeBefore.translated(dx, dy / 2));
  // The connection editor grows to the right and by half the height.
  EXPECT_EQ(connection->geometry(), connectionBefore.adjusted(0, 0, dx, dy / 2));
}

}  // namespace
}  // namespace e2e
