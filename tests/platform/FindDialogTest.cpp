// The modeless find dialog: find only, "Down" set, Find Next by button or Return, closing by
// Cancel or Escape with one Closing signal, and it deletes itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "platform/FindDialog.h"
#include "tests/platform/QtTestEnvironment.h"

namespace {

TEST(FindDialog, OpensModelessWithTheTextAndDownSet) {
  QWidget owner;
  QPointer<FindDialog> dialog = new FindDialog("SELECT", &owner);
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(dialog->FindString(), "SELECT");
  EXPECT_TRUE(dialog->SearchDown());
  EXPECT_FALSE(dialog->MatchCase());
  EXPECT_FALSE(dialog->MatchWholeWord());
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    EXPECT_FALSE(button->text().contains("Replace")) << "find only";
  ASSERT_TRUE(qtest_env::ShowActive(*dialog));
  qtest_env::Screenshot(*dialog, "find-dialog");
  delete dialog;
}

TEST(FindDialog, FindNextByButtonAndReturnKeepsItOpen) {
  QWidget owner;
  QPointer<FindDialog> dialog = new FindDialog("", &owner);
  QSignalSpy findNext(dialog.data(), &FindDialog::FindNext);
  ASSERT_TRUE(qtest_env::ShowActive(*dialog));
  EXPECT_FALSE(dialog->FindNextButton()->isEnabled()) << "nothing to find yet";
  QTest::keyClicks(dialog->FindEdit(), "from");
  EXPECT_TRUE(dialog->FindNextButton()->isEnabled());
  QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
  QTest::keyClick(dialog->FindEdit(), Qt::Key_Return);
  EXPECT_EQ(findNext.count(), 2);
  EXPECT_EQ(dialog->FindString(), "from");
  EXPECT_TRUE(dialog->isVisible());
  dialog->findChildren<QRadioButton*>().at(0)->click();  // Up
  EXPECT_FALSE(dialog->SearchDown());
  delete dialog;
}

TEST(FindDialog, CancelAndEscapeCloseItOnceAndItDeletesItself) {
  for (bool escape : {false, true}) {
    QWidget owner;
    QPointer<FindDialog> dialog = new FindDialog("x", &owner);
    QSignalSpy closing(dialog.data(), &FindDialog::Closing);
    ASSERT_TRUE(qtest_env::ShowActive(*dialog));
    if (escape) {
      QTest::keyClick(dialog->FindEdit(), Qt::Key_Escape);
    } else {
      for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == "Cancel") QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_EQ(closing.count(), 1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull()) << (escape ? "escape" : "cancel");
  }
}

TEST(FindDialog, TheCloseBoxClosesItToo) {
  QWidget owner;
  QPointer<FindDialog> dialog = new FindDialog("x", &owner);
  QSignalSpy closing(dialog.data(), &FindDialog::Closing);
  dialog->show();
  dialog->close();
  EXPECT_EQ(closing.count(), 1);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(dialog.isNull());
}

}  // namespace
