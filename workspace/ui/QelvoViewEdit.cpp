// The workspace's edit commands, Find and Clear history.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "platform/FindDialog.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/StatusPanes.h"

namespace {
// The edit commands act on the focused widget when it is a text editor of any kind.
QWidget* FocusedEditor() {
  QWidget* focus = QApplication::focusWidget();
  if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus))
    return focus;
  return nullptr;
}

bool HasSelection(QWidget* editor) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->hasSelectedText();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) return plain->textCursor().hasSelection();
  if (auto* rich = qobject_cast<QTextEdit*>(editor)) return rich->textCursor().hasSelection();
  return false;
}

bool IsReadOnly(QWidget* editor) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->isReadOnly();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) return plain->isReadOnly();
  if (auto* rich = qobject_cast<QTextEdit*>(editor)) return rich->isReadOnly();
  return true;
}

bool CanUndo(QWidget* editor) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->isUndoAvailable();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) return plain->document()->isUndoAvailable();
  if (auto* rich = qobject_cast<QTextEdit*>(editor)) return rich->document()->isUndoAvailable();
  return false;
}

bool IsEmpty(QWidget* editor) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->text().isEmpty();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) return plain->document()->isEmpty();
  if (auto* rich = qobject_cast<QTextEdit*>(editor)) return rich->document()->isEmpty();
  return true;
}

bool ClipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasText();
}

template <class Fn>
void OnEditor(QWidget* editor, Fn fn) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) fn(line);
  if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) fn(plain);
  if (auto* rich = qobject_cast<QTextEdit*>(editor)) fn(rich);
}

void SelectAll(QWidget* editor) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) line->selectAll();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
    plain->selectAll();
    plain->ensureCursorVisible();
  }
  if (auto* rich = qobject_cast<QTextEdit*>(editor)) {
    rich->selectAll();
    rich->ensureCursorVisible();
  }
}
}  // namespace

void CQelvoView::RegisterEditCommands() {
  CommandMap& map = Commands();
  map.On(ID_EDIT_COPY, [] { OnEditor(FocusedEditor(), [](auto* e) { e->copy(); }); });
  map.On(ID_EDIT_CUT, [] { OnEditor(FocusedEditor(), [](auto* e) { e->cut(); }); });
  map.On(ID_EDIT_PASTE, [] { OnEditor(FocusedEditor(), [](auto* e) { e->paste(); }); });
  map.On(ID_EDIT_UNDO, [] { OnEditor(FocusedEditor(), [](auto* e) { e->undo(); }); });
  map.On(ID_EDIT_SELECT_ALL, [] { SelectAll(FocusedEditor()); });

  map.OnUpdate(ID_EDIT_COPY, [](CommandUi& ui) {
    QWidget* editor = FocusedEditor();
    ui.Enable(editor && HasSelection(editor));
  });
  map.OnUpdate(ID_EDIT_CUT, [](CommandUi& ui) {
    QWidget* editor = FocusedEditor();
    ui.Enable(editor && HasSelection(editor));
  });
  map.OnUpdate(ID_EDIT_PASTE, [](CommandUi& ui) {
    QWidget* editor = FocusedEditor();
    ui.Enable(editor && !IsReadOnly(editor) && ClipboardHasText());
  });
  map.OnUpdate(ID_EDIT_UNDO, [](CommandUi& ui) {
    QWidget* editor = FocusedEditor();
    ui.Enable(editor && CanUndo(editor));
  });
  map.OnUpdate(ID_EDIT_SELECT_ALL, [](CommandUi& ui) {
    QWidget* editor = FocusedEditor();
    ui.Enable(editor && !IsEmpty(editor));
  });
}

void CQelvoView::Find() {
  QString selected = QueryEditor()->textCursor().selectedText();
  selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  std::string text = selected.toStdString();
  if (text.empty()) text = lastSearch_;
  lastSearch_ = text;
  // One dialog at a time: a second Find brings the open one forward with the new text.
  if (find_) {
    find_->FindEdit()->setText(QString::fromStdString(text));
  } else {
    find_ = new FindDialog(QString::fromStdString(text), this);
    connect(find_, &FindDialog::FindNext, this, &CQelvoView::OnFindNext);
    connect(find_, &FindDialog::Closing, this, [this] { find_ = nullptr; });
  }
  find_->show();
  find_->raise();
  find_->activateWindow();
}

void CQelvoView::OnFindNext() {
  if (!find_) return;
  QPlainTextEdit* editor = QueryEditor();
  QTextCursor cursor = editor->textCursor();
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  const QString what = find_->FindString();
  lastSearch_ = what.toStdString();
  const QString text = editor->toPlainText();
  const qsizetype from = start != end ? start + 1 : 0;
  const qsizetype found = what.isEmpty() ? -1 : text.indexOf(what, from, Qt::CaseInsensitive);
  if (found < 0) {
    MessageBeep(MB_ICONHAND);
    // The beep alone is easy to miss (or silent): the status bar says it in words. The next
    // Find Next starts again from the top.
    const bool elsewhere = !what.isEmpty() && text.indexOf(what, 0, Qt::CaseInsensitive) >= 0;
    if (panes_)
      panes_->ShowStatusMessage(elsewhere
                                    ? "No further match for \"" + lastSearch_ + "\"; the next search starts at the top."
                                    : "Cannot find \"" + lastSearch_ + "\".");
    cursor.setPosition(start);
    editor->setTextCursor(cursor);
    return;
  }
  cursor.setPosition(static_cast<int>(found));
  cursor.setPosition(static_cast<int>(found + what.size()), QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
}

void CQelvoView::ClearHistory() {
  if (QelvoMessageBox("Clear history", MB_YESNO | MB_ICONQUESTION, this) != IDYES) return;
  connections_.Clear();
  queries_.Clear();
  UpdateHistoryButtons();
}
