#pragma once
// Driving the record form as a person does, for the record command tests: the next form is
// answered by showing it and letting the test work on it; values are typed with F2, the text
// replaced and Enter; OK and Cancel are clicked.
#include <QPushButton>
#include <QTest>
#include <functional>
#include <string>

#include "grid/GridCtrlEx.h"
#include "grid/db/RecordFormDialog.h"
#include "platform/framework/ScriptedPrompts.h"

namespace e2e {

inline void AnswerForm(ScriptedPrompts& prompts, std::function<void(CRecordFormDialog&)> work) {
  prompts.AnswerDialog([work = std::move(work)](QDialog& dialog) {
    auto& form = dynamic_cast<CRecordFormDialog&>(dialog);
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    work(form);
    return ScriptedPrompts::kUseDialogResult;
  });
}

inline void TypeInForm(CRecordFormDialog& form, int row, const std::string& text) {
  CGridCtrlEx* grid = form.Grid();
  grid->SetFocusCell(row, 1);
  QTest::keyClick(grid, Qt::Key_F2);
  QWidget* editor = grid->GetEditor();
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, QString::fromStdString(text));
  QTest::keyClick(editor, Qt::Key_Return);
}

inline void ClickFormButton(CRecordFormDialog& form, int id) {
  QTest::mouseClick(qobject_cast<QPushButton*>(form.Control(id)), Qt::LeftButton);
}

}  // namespace e2e
