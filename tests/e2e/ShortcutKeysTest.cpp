// Keys pressed in the real main window: Alt+F opens the File menu, and Format Query's own key
// formats the query (before, both were Alt+F and Qt fired neither).
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"

namespace e2e {
namespace {

class ShortcutKeysTest : public ProgramTest {};

TEST_F(ShortcutKeysTest, AltFOpensFileAndFormatQueryHasItsOwnKey) {
  Program& p = Start();
  p.TypeQuery("select a from t where b = 1");
  QPlainTextEdit* editor = p.Workspace().QueryEditor();
  QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  Settle();
  EXPECT_EQ(p.Workspace().QueryText(), "select a\nfrom t\nwhere b = 1");

  QTest::keyClick(editor, Qt::Key_F, Qt::AltModifier);
  QMenu* open = nullptr;
  QTRY_VERIFY((open = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
  EXPECT_EQ(open->title(), "&File");
  open->close();
  Settle();
  // The editor's text is untouched by the menu key.
  EXPECT_EQ(p.Workspace().QueryText(), "select a\nfrom t\nwhere b = 1");
}

}  // namespace
}  // namespace e2e
