// The main window's menus as a person sees them (toolbar images, every key of a command,
// mnemonics, disabled and checked items), the About box, and `qelvo --version`.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <set>

#include "grid/db/DbGridCtrl.h"
#include "platform/framework/CommandActions.h"
#include "resources/Art.h"
#include "resources/CommandIds.h"
#include "resources/MainFrameResources.h"
#include "tests/e2e/E2eSupport.h"
#include "ui/AboutDlg.h"
#include "ui/Link.h"
#include "ui/MenuIconManager.h"
#include "ui/ModuleVersion.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"

namespace e2e {
namespace {

QMenu* TopMenu(CMainFrame& frame, const QString& title) {
  for (QAction* action : frame.menuBar()->actions())
    if (action->text().remove('&') == title) return action->menu();
  return nullptr;
}

// Opens a menu as a click on the menu bar does, so its update and dressing run.
void Open(QMenu* menu) {
  menu->popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
}

// The keys of the shortcut column, one per ", "-separated part after the tab.
std::multiset<std::string> ShownKeys(const QAction* action) {
  std::multiset<std::string> keys;
  const QString text = action->text();
  const qsizetype tab = text.indexOf('\t');
  if (tab < 0) return keys;
  for (const QString& part : text.mid(tab + 1).split(QStringLiteral(", "))) keys.insert(part.toStdString());
  return keys;
}

// The x of the rightmost pixel in a row's rectangle that differs from the row's background (read
// at its left edge), or -1.
int RightmostInk(const QImage& picture, const QRect& row) {
  const QRgb background = picture.pixel(row.left() + 1, row.center().y());
  int rightmost = -1;
  for (int y = row.top() + 2; y < row.bottom() - 1; ++y)
    for (int x = row.left(); x <= row.right() && x < picture.width(); ++x)
      if (picture.pixel(x, y) != background) rightmost = std::max(rightmost, x);
  return rightmost;
}

class MenusTest : public ProgramTest {};

TEST_F(MenusTest, ItemsShowTheirToolbarImageAndEveryKeyOfTheirCommand) {
  Program& p = Start();
  const ToolbarDef toolbar = MainToolbar();
  const std::vector<AcceleratorDef> accelerators = MainAccelerators();
  int checkedItems = 0;
  for (const char* title : {"File", "Edit", "Database", "Tools"}) {
    QMenu* menu = TopMenu(p.Frame(), title);
    ASSERT_NE(menu, nullptr) << title;
    Open(menu);
    for (QAction* action : menu->actions()) {
      const int id = CommandActions::CommandOf(action);
      if (id == 0) continue;
      ++checkedItems;
      const std::string label = action->text().toStdString();
      // Keys: exactly the accelerator table's entries for the command.
      std::multiset<std::string> expected;
      for (const AcceleratorDef& entry : accelerators)
        if (entry.id == id) expected.insert(entry.keys.toString(QKeySequence::PortableText).toStdString());
      std::multiset<std::string> shown;
      for (const std::string& key : ShownKeys(action)) {
        // The keyboard's names, where Qt's portable text abbreviates.
        QString portable = QString::fromStdString(key);
        portable.replace("Insert", "Ins").replace("Delete", "Del");
        shown.insert(
            QKeySequence(portable, QKeySequence::PortableText).toString(QKeySequence::PortableText).toStdString());
      }
      EXPECT_EQ(shown, expected) << label;
      // Image: the toolbar's, exactly when the command has a button.
      const bool onToolbar = std::find(toolbar.begin(), toolbar.end(), id) != toolbar.end();
      EXPECT_EQ(action->isIconVisibleInMenu() && !action->icon().isNull(), onToolbar) << label;
      if (onToolbar) {
        EXPECT_EQ(action->icon()
                      .pixmap(QSize(kToolbarImageWidth, kToolbarImageHeight))
                      .toImage()
                      .convertToFormat(QImage::Format_ARGB32),
                  ToolbarImage(id).convertToFormat(QImage::Format_ARGB32))
            << label;
      }
    }
    menu->hide();
  }
  EXPECT_GT(checkedItems, 20);

  // The texts as they read, a command's last key first.
  QMenu* edit = TopMenu(p.Frame(), "Edit");
  Open(edit);
  EXPECT_EQ(p.Frame().Actions().Action(ID_EDIT_COPY)->text(), "&Copy\tCtrl+Insert, Ctrl+C");
  EXPECT_EQ(p.Frame().Actions().Action(ID_EDIT_UNDO)->text(), "&Undo\tAlt+Backspace, Ctrl+Z");
  EXPECT_EQ(p.Frame().Actions().Action(ID_EDIT_CUT)->text(), "Cu&t\tShift+Delete, Ctrl+X");
  EXPECT_EQ(p.Frame().Actions().Action(ID_EDIT_FIND)->text(), "Find\tCtrl+F");
  edit->setActiveAction(p.Frame().Actions().Action(ID_EDIT_COPY));
  Screenshot("menus");
  const QImage picture = edit->grab().toImage();
  picture.save(QString::fromStdString(std::string(QELVO_E2E_SCREENSHOTS) + "/menu_edit.png"));
  // The keys end at the same right edge, however long they are.
  const int undoEnd = RightmostInk(picture, edit->actionGeometry(p.Frame().Actions().Action(ID_EDIT_UNDO)));
  const int findEnd = RightmostInk(picture, edit->actionGeometry(p.Frame().Actions().Action(ID_EDIT_FIND)));
  const int selectAllEnd = RightmostInk(picture, edit->actionGeometry(p.Frame().Actions().Action(ID_EDIT_SELECT_ALL)));
  EXPECT_NEAR(undoEnd, findEnd, 2);
  EXPECT_NEAR(selectAllEnd, findEnd, 2);
  EXPECT_GT(findEnd, picture.width() - 30);
  edit->hide();
  QMenu* tools = TopMenu(p.Frame(), "Tools");
  Open(tools);
  EXPECT_EQ(p.Frame().Actions().Action(ID_CONFIGURATION)->text(), "Configuration\tAlt+C");
  EXPECT_EQ(p.Frame().Actions().Action(ID_TEST_GRID)->text(), "Test Grid\tCtrl+Shift+T");
  EXPECT_EQ(p.Frame().Actions().Action(ID_LIST_TABLES)->text(), "Enum Tables\tCtrl+T");
  tools->grab().save(QString::fromStdString(std::string(QELVO_E2E_SCREENSHOTS) + "/menu_tools.png"));
  tools->hide();
}

TEST_F(MenusTest, ItemsShowTheirStatesAndAUniqueMnemonicRunsItsItem) {
  Program& p = Start();
  // Each item is enabled exactly when its command is.
  for (const char* title : {"File", "Edit", "Database", "Tools", "View"}) {
    QMenu* menu = TopMenu(p.Frame(), title);
    Open(menu);
    for (QAction* action : menu->actions())
      if (int id = CommandActions::CommandOf(action)) {
        EXPECT_EQ(action->isEnabled(), p.IsEnabled(id)) << action->text().toStdString();
      }
    menu->hide();
  }
  EXPECT_FALSE(p.Frame().Actions().Action(ID_FILE_NEW)->isEnabled());

  QMenu* view = TopMenu(p.Frame(), "View");
  Open(view);
  QAction* toolbar = p.Frame().Actions().Action(ID_VIEW_TOOLBAR);
  EXPECT_TRUE(toolbar->isCheckable() && toolbar->isChecked());
  QAction* statusBar = p.Frame().Actions().Action(ID_VIEW_STATUS_BAR);
  EXPECT_TRUE(statusBar->isCheckable() && statusBar->isChecked());
  // "&Status Bar" is the only S: the letter runs it.
  QTest::keyClick(view, Qt::Key_S);
  Settle();
  EXPECT_FALSE(view->isVisible());
  EXPECT_TRUE(p.Frame().statusBar()->isHidden());
  Open(view);
  EXPECT_FALSE(statusBar->isChecked());
  view->hide();
}

TEST_F(MenusTest, ASharedMnemonicSelectsItsItemsInTurn) {
  // The record commands are available with a result in the grid and a row selected.
  const std::string db = data_.File("m.db");
  MakeSqliteDatabase(db, {"CREATE TABLE t (id INTEGER PRIMARY KEY, a TEXT)", "INSERT INTO t VALUES (1, 'x')"});
  Program& p = Start();
  p.TypeConnection(SqliteConnectionString(db));
  p.TypeQuery("SELECT * FROM t");
  p.PressExecute();
  p.ClickCell(p.Grid().GetFirstDataRow(), 1);
  ASSERT_TRUE(p.IsEnabled(ID_RECORD_DELETE));
  ASSERT_TRUE(p.IsEnabled(ID_RECORD_DUPLICATE));
  QMenu* database = TopMenu(p.Frame(), "Database");
  Open(database);
  // "&Delete Record" and "&Duplicate Record" share D.
  QTest::keyClick(database, Qt::Key_D);
  EXPECT_EQ(database->activeAction(), p.Frame().Actions().Action(ID_RECORD_DELETE));
  QTest::keyClick(database, Qt::Key_D);
  EXPECT_EQ(database->activeAction(), p.Frame().Actions().Action(ID_RECORD_DUPLICATE));
  QTest::keyClick(database, Qt::Key_D);
  EXPECT_EQ(database->activeAction(), p.Frame().Actions().Action(ID_RECORD_DELETE));
  database->hide();
}

TEST_F(MenusTest, AboutShowsTheVersionRecordAndOpensTheWebAddress) {
  Program& p = Start();
  tvapi::ModuleVersion version;
  ASSERT_TRUE(version.LoadVersionInfo());
  std::string shownVersion, shownLegal;
  bool purple = false;
  prompts_->AnswerDialog([&](QDialog& dialog) {
    auto& about = dynamic_cast<AboutDlg&>(dialog);
    about.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.windowTitle(), "About Qelvo");
    shownVersion = static_cast<QLabel*>(about.Control(AboutDlg::kVersion))->text().toStdString();
    shownLegal = static_cast<QLabel*>(about.Control(AboutDlg::kLegal))->text().toStdString();
    EXPECT_EQ(about.TextLink()->TextColour(), QColor(0, 0, 255));
    EXPECT_EQ(about.TextLink()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(about.IconLink()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(about.TextLink()->font().underline());
    QTest::mouseClick(about.TextLink(), Qt::LeftButton);
    purple = about.TextLink()->TextColour() == QColor(128, 0, 128) &&
             about.TextLink()->palette().color(QPalette::WindowText) == QColor(128, 0, 128);
    // The icon opens the same address, and keeps its look.
    QTest::mouseClick(about.IconLink(), Qt::LeftButton);
    EXPECT_FALSE(about.IconLink()->pixmap().isNull());
    about.grab().save(QString::fromStdString(std::string(QELVO_E2E_SCREENSHOTS) + "/about.png"));
    QTest::mouseClick(static_cast<QWidget*>(about.Control(AboutDlg::kOk)), Qt::LeftButton);
    return ScriptedPrompts::kUseDialogResult;
  });
  EXPECT_TRUE(p.RunCommand(ID_APP_ABOUT));
  EXPECT_EQ(shownVersion, "Qelvo - Version " QELVO_PROJECT_VERSION);
  EXPECT_EQ(shownLegal, version.GetVersionString("LegalCopyright") + " - " + version.GetVersionString("CompanyName"));
  EXPECT_FALSE(version.GetVersionString("CompanyName").empty());
  EXPECT_EQ(prompts_->Opened(), std::vector<std::string>(2, tvapi::ProgramWebAddress()));
  EXPECT_TRUE(purple);
}

TEST(ProgramVersion, VersionOptionPrintsTheAboutLine) {
  QProcess program;
  program.start(QStringLiteral(QELVO_PROGRAM), {QStringLiteral("--version")});
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_EQ(program.readAllStandardOutput().toStdString(), "Qelvo - Version " QELVO_PROJECT_VERSION "\n");
}

}  // namespace
}  // namespace e2e
