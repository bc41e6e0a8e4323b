// The one seam for message boxes, file dialogs and modal dialogs: what the program asks is what
// a test reads, and the real seam shows real boxes with the right caption, icon and buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "platform/framework/MessageBox.h"
#include "platform/framework/ScriptedPrompts.h"
#include "platform/framework/WaitCursor.h"

namespace {

struct Scripted : ::testing::Test {
  std::shared_ptr<ScriptedPrompts> prompts = std::make_shared<ScriptedPrompts>();
  void SetUp() override { SetPromptSeam(prompts); }
  void TearDown() override { SetPromptSeam(nullptr); }
};

TEST_F(Scripted, MessageBoxesAreCaptionedQelvoAndAnsweredInOrder) {
  prompts->AnswerMessage(IDYES);
  prompts->AnswerMessage(IDNO);
  EXPECT_EQ(QelvoMessageBox("Clear history", MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(QelvoMessageBox("Execute list of 2 queries ?", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(ShowMessageBox(nullptr, "Si prega di verificare l'istallazione di Excel", "ERROR", MB_ICONEXCLAMATION),
            IDOK);
  ASSERT_EQ(prompts->Messages().size(), 3u);
  EXPECT_EQ(prompts->Messages()[0].caption, "Qelvo");
  EXPECT_EQ(prompts->Messages()[0].text, "Clear history");
  EXPECT_EQ(prompts->Messages()[1].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(prompts->Messages()[2].caption, "ERROR");
  EXPECT_EQ(prompts->Unanswered().size(), 1u) << "the lone OK box had no queued answer";
}

TEST_F(Scripted, UnansweredQuestionsGetTheCautiousAnswer) {
  EXPECT_EQ(QelvoMessageBox("Really?", MB_YESNO), IDNO);
  EXPECT_EQ(QelvoMessageBox("Go on?", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(QelvoMessageBox("Done", MB_OK), IDOK);
  FileDialogRequest request;
  EXPECT_FALSE(Prompts().FileDialog(request).has_value());
  QDialog dialog;
  EXPECT_EQ(Prompts().ExecDialog(dialog), QDialog::Rejected);
  EXPECT_EQ(prompts->Unanswered().size(), 5u);
}

TEST_F(Scripted, DialogsAreAnsweredByWorkingOnTheRealDialog) {
  QDialog dialog;
  dialog.setWindowTitle("Selection list dialog");
  auto* ok = new QPushButton("OK", &dialog);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  prompts->AnswerDialog([](QDialog& d) {
    d.findChild<QPushButton*>()->click();
    return ScriptedPrompts::kUseDialogResult;
  });
  EXPECT_EQ(Prompts().ExecDialog(dialog), QDialog::Accepted);
  ASSERT_EQ(prompts->Dialogs().size(), 1u);
  EXPECT_EQ(prompts->Dialogs()[0].title, "Selection list dialog");
  EXPECT_EQ(prompts->Dialogs()[0].className, std::string("QDialog"));
}

TEST_F(Scripted, FilesOpenedDocumentsAndBeepsAreRecorded) {
  prompts->AnswerFile(std::string("/tmp/query.sql"));
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::Save;
  request.filter = "Script files (*.sql)|*.sql|All files (*.*)|*.*||";
  request.defaultExtension = "sql";
  EXPECT_EQ(Prompts().FileDialog(request), "/tmp/query.sql");
  EXPECT_EQ(prompts->Files().at(0).defaultExtension, "sql");
  EXPECT_TRUE(Prompts().OpenDocument("/opt/qelvo/Qelvo.html"));
  MessageBeep(MB_ICONHAND);
  EXPECT_EQ(prompts->Opened(), std::vector<std::string>{"/opt/qelvo/Qelvo.html"});
  EXPECT_EQ(prompts->Beeps(), std::vector<unsigned>{MB_ICONHAND});
}

TEST(PromptSeam, ClassicFiltersBecomeQtFilters) {
  EXPECT_EQ(FilterToQt("Script files (*.sql)|*.sql|All files (*.*)|*.*||"), "Script files (*.sql);;All files (*)");
  EXPECT_EQ(FilterToQt("Csv files (*.csv)|*.csv|All files (*.*)|*.*||"), "Csv files (*.csv);;All files (*)");
  EXPECT_EQ(FilterToQt("Databases|*.db;*.sqlite||"), "Databases (*.db *.sqlite)");
  EXPECT_EQ(FilterToQt(""), "");
}

// The real seam: a timer answers the box the way a person would, after checking what it shows.
struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QString defaultButton;
  Qt::CursorShape cursor = Qt::BitmapCursor;
};

TEST(WidgetPrompts, RealBoxesShowCaptionIconButtonsAndReturnThePressedButton) {
  SetPromptSeam(nullptr);
  struct Case {
    unsigned type;
    QMessageBox::Icon icon;
    QString press;
    int result;
  } cases[] = {
      {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, "Yes", IDYES},
      {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Warning, "OK", IDOK},
      {MB_OKCANCEL | MB_ICONHAND, QMessageBox::Critical, "Cancel", IDCANCEL},
      {MB_YESNOCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2, QMessageBox::Information, "No", IDNO},
  };
  for (const Case& c : cases) {
    auto seen = std::make_shared<SeenBox>();
    QTimer::singleShot(0, [seen, press = c.press] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen->title = box->windowTitle();
      seen->text = box->text();
      seen->icon = box->icon();
      for (QAbstractButton* button : box->buttons()) seen->buttons << button->text().remove('&');
      if (box->defaultButton()) seen->defaultButton = box->defaultButton()->text().remove('&');
      if (QApplication::overrideCursor()) seen->cursor = QApplication::overrideCursor()->shape();
      for (QAbstractButton* button : box->buttons())
        if (button->text().remove('&') == press) button->click();
    });
    WaitCursor wait;
    const int result = QelvoMessageBox("Queries : 2\r\nErrors : 1", c.type);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(seen->title, "Qelvo");
    EXPECT_EQ(seen->text, "Queries : 2\nErrors : 1");
    EXPECT_EQ(seen->icon, c.icon);
    EXPECT_EQ(seen->cursor, Qt::ArrowCursor) << "the box gets an arrow under the wait cursor";
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor) << "and the wait cursor is back after";
    if (c.type & MB_DEFBUTTON2) {
      EXPECT_EQ(seen->defaultButton, "No");
    }
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(WaitCursor, GuardsNestAndEndEarly) {
  EXPECT_FALSE(WaitCursor::Active());
  {
    WaitCursor outer;
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
      WaitCursor inner;
      inner.End();
      EXPECT_TRUE(WaitCursor::Active());
      EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_TRUE(WaitCursor::Active());
  }
  EXPECT_FALSE(WaitCursor::Active());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
