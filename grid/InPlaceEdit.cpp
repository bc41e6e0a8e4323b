#include "grid/InPlaceEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <climits>

#include "grid/GridCtrl.h"

namespace {

bool IsTypedCharacter(int key) {
  return key >= 0x20 && key < 0x110000 && key != 0x7F;
}

// What an editor does with a key before the control sees it.
enum class KeyAction { Pass, End, Cancel, Swallow };

KeyAction ClassifyKey(const QKeyEvent* e, bool exitOnArrows, bool multiLine) {
  const Qt::KeyboardModifiers mods = e->modifiers();
  if (mods & Qt::AltModifier) return KeyAction::Swallow;
  switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return KeyAction::End;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return multiLine ? KeyAction::Pass : KeyAction::End;
    case Qt::Key_Escape:
      return KeyAction::Cancel;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return (exitOnArrows || (mods & Qt::ControlModifier)) ? KeyAction::End : KeyAction::Pass;
    default:
      return KeyAction::Pass;
  }
}

int EndKeyOf(const QKeyEvent* e) {
  if (e->key() == Qt::Key_Tab && (e->modifiers() & Qt::ShiftModifier)) return Qt::Key_Backtab;
  if (e->key() == Qt::Key_Enter) return Qt::Key_Return;
  return e->key();
}

Qt::Alignment AlignmentOf(unsigned format) {
  if (format & DT_RIGHT) return Qt::AlignRight | Qt::AlignVCenter;
  if (format & DT_CENTER) return Qt::AlignHCenter | Qt::AlignVCenter;
  return Qt::AlignLeft | Qt::AlignVCenter;
}

bool EndsEditOnFocusLoss(const QFocusEvent* e) {
  // A context menu or another application's window taking the focus does not end the edit.
  return e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason;
}

}  // namespace

InPlaceEdit::InPlaceEdit(CGridCtrl* grid, int row, int col, const QRect& rect, const InPlaceEditOptions& options,
                         int id, const QString& text, int openKey)
    : QLineEdit(grid->viewport()),
      InPlaceEditorBase(grid, row, col, openKey),
      m_initialText(text),
      m_id(id),
      m_exitOnArrows(OpenedByTypedKey()) {
  setObjectName(QStringLiteral("InPlaceEdit"));
  setFrame(true);
  setFont(options.font);
  setAlignment(AlignmentOf(options.format));
  setMaxLength(options.maxLength > 0 && options.maxLength < INT_MAX ? static_cast<int>(options.maxLength) : INT_MAX);
  setText(text);
  setGeometry(rect);
  Attach();
}

void InPlaceEdit::Open() {
  show();
  setFocus(Qt::OtherFocusReason);
  const int key = m_openKey;
  if (key == kEditKeyMouse || key == Qt::Key_F2 || key == Qt::Key_Return || key == Qt::Key_Enter) {
    end(false);
  } else if (key == Qt::Key_Backspace) {
    end(false);
    backspace();
  } else if (key == Qt::Key_Tab || key == ' ' || IsNavigationKey(key)) {
    selectAll();
  } else if (IsTypedCharacter(key)) {
    selectAll();
    TypeChar(QChar(static_cast<char16_t>(key)), true);
  } else {
    end(false);
  }
  Widen();
}

namespace {
// Tab must reach keyPressEvent instead of moving the focus to the next widget.
template <class Deliver>
bool SendTabToKeyPress(QEvent* e, Deliver deliver) {
  if (e->type() != QEvent::KeyPress) return false;
  auto* ke = static_cast<QKeyEvent*>(e);
  if (ke->key() != Qt::Key_Tab && ke->key() != Qt::Key_Backtab) return false;
  deliver(ke);
  return true;
}

// The keys both text editors share; true when the key ended, cancelled or was swallowed.
template <class Editor, class Restore>
bool TakeSharedKey(Editor* editor, QKeyEvent* e, bool exitOnArrows, bool multiLine, Restore restore) {
  switch (ClassifyKey(e, exitOnArrows, multiLine)) {
    case KeyAction::Swallow:
      e->accept();
      return true;
    case KeyAction::End:
      e->accept();
      editor->EndEdit(EndKeyOf(e));
      return true;
    case KeyAction::Cancel:
      e->accept();
      restore();
      editor->EndEdit(Qt::Key_Escape);
      return true;
    case KeyAction::Pass:
      break;
  }
  return false;
}
}  // namespace

bool InPlaceEdit::event(QEvent* e) {
  return SendTabToKeyPress(e, [this](QKeyEvent* k) { keyPressEvent(k); }) || QLineEdit::event(e);
}

void InPlaceEdit::keyPressEvent(QKeyEvent* e) {
  if (TakeSharedKey(this, e, m_exitOnArrows, false, [this] { setText(m_initialText); })) return;
  const QString typed = e->text();
  if (!(e->modifiers() & Qt::ControlModifier) && typed.size() == 1 && typed.at(0).isPrint()) {
    TypeChar(typed.at(0), false);
    e->accept();
    return;
  }
  QLineEdit::keyPressEvent(e);
  e->accept();  // keys the line edit ignores (Up, Down) must not reach the grid
}

bool InPlaceEdit::TypeChar(QChar ch, bool firstKey) {
  if (!FilterChar(ch, firstKey)) return false;
  insert(QString(ch));
  Widen();
  return true;
}

bool InPlaceEdit::FilterChar(QChar&, bool) {
  return true;
}

void InPlaceEdit::Widen() {
  const QFontMetrics fm(font());
  const int wanted = fm.horizontalAdvance(text() + QStringLiteral("  ")) + 8;  // 8: frame and text margins
  if (wanted <= width()) return;
  const int room = m_grid->viewport()->width() - x();
  const int newWidth = std::min(wanted, std::max(room, width()));
  if (newWidth > width()) resize(newWidth, height());
}

void InPlaceEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  if (EndsEditOnFocusLoss(e)) EndEdit(0);
}

void InPlaceEdit::Commit() {
  m_grid->CommitCellText(m_row, m_col, text().toStdString());
}

InPlaceMultiEdit::InPlaceMultiEdit(CGridCtrl* grid, int row, int col, const QRect& rect,
                                   const InPlaceEditOptions& options, int id, const QString& text, int openKey)
    : QPlainTextEdit(grid->viewport()),
      InPlaceEditorBase(grid, row, col, openKey),
      m_initialText(text),
      m_id(id),
      m_maxLength(options.maxLength),
      m_exitOnArrows(OpenedByTypedKey()) {
  setObjectName(QStringLiteral("InPlaceEdit"));
  setFont(options.font);
  setFrameShape(QFrame::Box);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(false);
  setPlainText(text);
  setGeometry(rect);
  connect(this, &QPlainTextEdit::textChanged, this, &InPlaceMultiEdit::EnforceLimit);
  Attach();
}

void InPlaceMultiEdit::Open() {
  show();
  setFocus(Qt::OtherFocusReason);
  const int key = m_openKey;
  QTextCursor cursor = textCursor();
  if (key == Qt::Key_Tab || key == ' ' || IsNavigationKey(key)) {
    selectAll();
    return;
  }
  cursor.movePosition(QTextCursor::End);
  setTextCursor(cursor);
  if (key == Qt::Key_Backspace) {
    cursor.deletePreviousChar();
  } else if (IsTypedCharacter(key)) {
    selectAll();
    insertPlainText(QString(QChar(static_cast<char16_t>(key))));
  }
}

bool InPlaceMultiEdit::event(QEvent* e) {
  return SendTabToKeyPress(e, [this](QKeyEvent* k) { keyPressEvent(k); }) || QPlainTextEdit::event(e);
}

void InPlaceMultiEdit::keyPressEvent(QKeyEvent* e) {
  if (TakeSharedKey(this, e, m_exitOnArrows, true, [this] { setPlainText(m_initialText); })) return;
  QPlainTextEdit::keyPressEvent(e);
  e->accept();
}

void InPlaceMultiEdit::EnforceLimit() {
  if (m_maxLength == 0) return;
  const QString text = toPlainText();
  if (static_cast<unsigned>(text.size()) <= m_maxLength) return;
  // Typing or pasting past the limit keeps the first characters, as a limited line edit does.
  QSignalBlocker block(this);
  setPlainText(text.left(static_cast<int>(m_maxLength)));
  moveCursor(QTextCursor::End);
}

void InPlaceMultiEdit::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  if (EndsEditOnFocusLoss(e)) EndEdit(0);
}

void InPlaceMultiEdit::Commit() {
  m_grid->CommitCellText(m_row, m_col, toPlainText().toStdString());
}

QWidget* OpenTextEditor(CGridCtrl* grid, int row, int col, const QRect& rect, const InPlaceEditOptions& options, int id,
                        const QString& text, int openKey) {
  if (options.multiLine) {
    auto* editor = new InPlaceMultiEdit(grid, row, col, rect, options, id, text, openKey);
    editor->Open();
    return editor;
  }
  auto* editor = new InPlaceEdit(grid, row, col, rect, options, id, text, openKey);
  editor->Open();
  return editor;
}
