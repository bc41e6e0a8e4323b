// The main frame: start and end, placement and splitter height across a restart, the status
// panes, the pane switch and the frame's own commands.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>

#include "grid/db/DbGridCtrl.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ProfileStore.h"
#include "workspace/QSettingsProfileStore.h"
#include "workspace/SettingsStore.h"
#include "workspace/SettingsTable.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/HelpPageDlg.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/WindowPlacement.h"

namespace e2e {
namespace {

class FrameTest : public ProgramTest {
 protected:
  std::string SettingsFile() const { return settings_.Path() + "/Tolvane/Qelvo.conf"; }

  void StorePlacement(const WindowPlacement& placement, int topRowHeight) {
    QSettingsProfileStore store(SettingsFile());
    SaveWindowPlacement(store, placement, topRowHeight);
  }
};

TEST_F(FrameTest, FirstStartWritesEverySettingAndSplitsAt300) {
  Program& p = Start();
  EXPECT_EQ(p.Frame().windowTitle(), "Qelvo");
  EXPECT_TRUE(p.Frame().isVisible());
  EXPECT_EQ(p.Frame().Splitter()->sizes().first(), DefaultTopRowHeight);
  {
    QSettingsProfileStore written(SettingsFile());
    for (const SettingsEntry& entry : SettingsTable)
      EXPECT_TRUE(written.ReadString(entry.section, entry.key).has_value()) << entry.section << "/" << entry.key;
    EXPECT_FALSE(ReadWindowPlacement(written).has_value());
  }
  Stop();
  QSettingsProfileStore written(SettingsFile());
  EXPECT_TRUE(ReadWindowPlacement(written).has_value());
  EXPECT_EQ(ReadTopRowHeight(written), DefaultTopRowHeight);
}

TEST_F(FrameTest, PlacementAndSplitterHeightSurviveARestart) {
  Program& p = Start();
  p.Frame().setGeometry(40, 50, 720, 520);
  p.Frame().Splitter()->setSizes({180, 300});
  Settle();
  Stop();

  Program& again = Start();
  EXPECT_EQ(again.Frame().geometry(), QRect(40, 50, 720, 520));
  EXPECT_FALSE(again.Frame().isMaximized());
  EXPECT_EQ(again.Frame().Splitter()->sizes().first(), 180);
}

TEST_F(FrameTest, AMaximizedWindowComesBackMaximizedWithItsSplitter) {
  Program& p = Start();
  p.Frame().setGeometry(30, 30, 600, 450);
  Settle();
  p.Frame().showMaximized();
  Settle();
  p.Frame().Splitter()->setSizes({220, 200});
  Settle();
  Stop();
  {
    QSettingsProfileStore written(SettingsFile());
    std::optional<WindowPlacement> stored = ReadWindowPlacement(written);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->showCmd, SW_SHOWMAXIMIZED);
    EXPECT_EQ(QRect(stored->left, stored->top, stored->right - stored->left, stored->bottom - stored->top),
              QRect(30, 30, 600, 450));
  }
  Program& again = Start();
  EXPECT_TRUE(again.Frame().isMaximized());
  EXPECT_EQ(again.Frame().Splitter()->sizes().first(), 220);
}

TEST_F(FrameTest, ALeftEdgeBeyondTheScreenIsPulledBack) {
  StorePlacement({0, SW_SHOWNORMAL, 5000, 40, 5600, 440}, 150);
  Program& p = Start();
  const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
  const int icon = p.Frame().style()->pixelMetric(QStyle::PM_LargeIconSize);
  EXPECT_EQ(p.Frame().geometry(), QRect(screen.width() - icon, 40, 600, 400));
  EXPECT_EQ(p.Frame().Splitter()->sizes().first(), 150);
}

TEST_F(FrameTest, AnIncompletePlacementLeavesTheDefault) {
  {
    QSettingsProfileStore store(SettingsFile());
    store.WriteInt(WindowStateSection, "x1", 10);
    store.WriteInt(WindowStateSection, "tvh", 120);
    store.Flush();
  }
  Program& p = Start();
  EXPECT_TRUE(p.Frame().isVisible());
  EXPECT_NE(p.Frame().geometry().left(), 10);
  EXPECT_EQ(p.Frame().Splitter()->sizes().first(), 120);
}

TEST_F(FrameTest, StatusPanesShowTheElapsedTimeFormat) {
  Program& p = Start();
  CMainFrame& frame = p.Frame();
  frame.SetElapsedPane(1234);
  EXPECT_EQ(frame.PaneText(ID_INDICATOR_ELAPSED), "1.23 sec");
  frame.SetElapsedPane(61005);
  EXPECT_EQ(frame.PaneText(ID_INDICATOR_ELAPSED), "61.00 sec");
  frame.SetElapsedPane(999);
  EXPECT_EQ(frame.PaneText(ID_INDICATOR_ELAPSED), "0.99 sec");
  frame.SetRecordCountPane("42");
  frame.ResetStatusPanes();
  EXPECT_EQ(frame.PaneText(ID_INDICATOR_ELAPSED), "");
  EXPECT_EQ(frame.PaneText(ID_INDICATOR_RECORDS), "");
  // The record-count pane is wide enough for its sizing text, so counts are never cut.
  EXPECT_GE(frame.Pane(ID_INDICATOR_RECORDS)->width(),
            frame.Pane(ID_INDICATOR_RECORDS)->fontMetrics().horizontalAdvance("SQL Syntax SQL Syntax"));
}

TEST_F(FrameTest, ShiftF6MovesTheFocusBetweenThePanes) {
  Program& p = Start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&p.Frame()));
  CQelvoView& top = p.Workspace();
  top.ConnectionEditor()->setFocus();
  Settle();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
  Settle();
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_TRUE(focus == &p.Grid() || p.Grid().isAncestorOf(focus));
  EXPECT_EQ(p.Frame().Router().ActiveView(), static_cast<CommandTarget*>(&p.Bottom()));
  QTest::keyClick(focus, Qt::Key_F6, Qt::ShiftModifier);
  Settle();
  // Back to the workspace control that had the focus.
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(top.ConnectionEditor()));
  EXPECT_EQ(p.Frame().Router().ActiveView(), static_cast<CommandTarget*>(&top));
}

TEST_F(FrameTest, SqlSyntaxOpensTheHelpPage) {
  Program& p = Start();
  ASSERT_TRUE(p.IsEnabled(ID_SQL_SYNTAX));
  EXPECT_TRUE(p.RunCommand(ID_SQL_SYNTAX));
  ASSERT_EQ(prompts_->Opened().size(), 1u);
  EXPECT_EQ(std::filesystem::path(prompts_->Opened()[0]).filename(), "Qelvo.html");
  EXPECT_TRUE(std::filesystem::exists(prompts_->Opened()[0]));
}

TEST_F(FrameTest, SqlSyntaxShowsTheHelpPageInAWindowOfItsOwnWhenNoBrowserStarts) {
  Program& p = Start();
  prompts_->SetOpenDocumentResult(false);
  std::string shown;
  prompts_->AnswerDialog([&](QDialog& dialog) {
    auto& page = dynamic_cast<HelpPageDlg&>(dialog);
    page.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&page));
    shown = page.Browser()->toPlainText().toStdString();
    const std::string folder = QELVO_E2E_SCREENSHOTS;
    std::filesystem::create_directories(folder);
    page.grab().save(QString::fromStdString(folder + "/help_page.png"));
    return int(QDialog::Rejected);
  });
  EXPECT_TRUE(p.RunCommand(ID_SQL_SYNTAX));
  ASSERT_EQ(prompts_->Opened().size(), 1u) << "the desktop was asked first";
  ASSERT_EQ(prompts_->Dialogs().size(), 1u);
  EXPECT_EQ(prompts_->Dialogs()[0].className, "HelpPageDlg");
  EXPECT_NE(shown.find("SELECT"), std::string::npos) << shown.substr(0, 200);
}

TEST_F(FrameTest, TestGridIsEnabledAndDoesNothing) {
  Program& p = Start();
  EXPECT_TRUE(p.IsEnabled(ID_TEST_GRID));
  const std::string before = p.Workspace().QueryText();
  EXPECT_TRUE(p.RunCommand(ID_TEST_GRID));
  EXPECT_EQ(p.Workspace().QueryText(), before);
  EXPECT_TRUE(prompts_->Messages().empty());
  EXPECT_TRUE(prompts_->Dialogs().empty());
  // A command without a handler stays disabled.
  EXPECT_FALSE(p.IsEnabled(ID_FILE_NEW));
}

}  // namespace
}  // namespace e2e
