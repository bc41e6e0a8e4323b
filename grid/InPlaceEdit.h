#pragma once
// The text editors that cells open over themselves: a single-line editor aligned like the cell,
// or a multi-line one for long texts (Enter makes a new line). Both have control id 8, the
// cell's font, a border, an optional length limit, and follow the opening-key rules:
// - opened by the mouse, F2 or Enter: caret at the end;
// - by Backspace: caret at the end and the Backspace applied;
// - by Tab, a blank or a navigation key: whole text selected, key dropped;
// - by any other character: whole text selected and replaced by it.
// Tab and Enter end the edit, Escape restores the starting text and ends it; Up, Down, Page Up
// and Page Down end it when a typed key opened it or Ctrl is held. Alt combinations are
// swallowed. Losing the focus ends it.
#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "grid/GridDefs.h"
#include "grid/InPlaceEditor.h"

struct InPlaceEditOptions {
  bool multiLine = false;
  unsigned format = DT_LEFT;
  unsigned maxLength = 0;  // 0: none
  QFont font;
};

class InPlaceEdit : public QLineEdit, public InPlaceEditorBase {
  Q_OBJECT

 public:
  InPlaceEdit(CGridCtrl* grid, int row, int col, const QRect& rect, const InPlaceEditOptions& options, int id,
              const QString& text, int openKey);
  // Shows the editor, takes the focus and applies the opening key.
  void Open();
  int GetDlgCtrlID() const { return m_id; }
  const QString& InitialText() const { return m_initialText; }

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  QWidget* Widget() override { return this; }
  void Commit() override;
  // Decides on a typed character; may change it (a numeric editor turns ',' into its decimal
  // point). `firstKey` is true for the key that opened the editor.
  virtual bool FilterChar(QChar& ch, bool firstKey);
  // Widens the editor to fit its text plus two blanks, up to the grid's client width.
  void Widen();
  // Inserts a typed character after filtering; false when it was refused.
  bool TypeChar(QChar ch, bool firstKey);

  QString m_initialText;
  int m_id;
  bool m_exitOnArrows;
};

class InPlaceMultiEdit : public QPlainTextEdit, public InPlaceEditorBase {
  Q_OBJECT

 public:
  InPlaceMultiEdit(CGridCtrl* grid, int row, int col, const QRect& rect, const InPlaceEditOptions& options, int id,
                   const QString& text, int openKey);
  void Open();
  int GetDlgCtrlID() const { return m_id; }

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  QWidget* Widget() override { return this; }
  void Commit() override;

 private:
  void EnforceLimit();

  QString m_initialText;
  int m_id;
  unsigned m_maxLength;
  bool m_exitOnArrows;
};

// Opens the editor the options call for and returns it.
QWidget* OpenTextEditor(CGridCtrl* grid, int row, int col, const QRect& rect, const InPlaceEditOptions& options, int id,
                        const QString& text, int openKey);
