#pragma once
// What every in-place editor shares: it belongs to one cell of one grid, remembers the key that
// opened it, and reports its end exactly once (guarded against re-entry), after which the grid
// commits its result and the editor goes away.
#include <QWidget>

class CGridCtrl;

class InPlaceEditorBase {
 public:
  InPlaceEditorBase(CGridCtrl* grid, int row, int col, int openKey);
  virtual ~InPlaceEditorBase() = default;

  // Ends the edit with the key that ended it (0 when the editor lost the focus): the grid
  // commits (Commit below), moves on with the key, and the editor is deleted later.
  void EndEdit(int key);
  bool HasEnded() const { return m_ended; }
  // Ends without committing or calling the grid (the grid is being destroyed).
  void Abandon() { m_ended = true; }
  int OpenKey() const { return m_openKey; }
  int Row() const { return m_row; }
  int Col() const { return m_col; }
  CGridCtrl* Grid() const { return m_grid; }
  static InPlaceEditorBase* FromWidget(QWidget* widget) { return dynamic_cast<InPlaceEditorBase*>(widget); }

 protected:
  virtual QWidget* Widget() = 0;
  // Stores what the editor produced into the cell, through the grid's commit path.
  virtual void Commit() = 0;
  // Opened by a typed key rather than by the mouse or F2.
  bool OpenedByTypedKey() const;
  // Up, Down, Page Up, Page Down, Left, Right, Home, End.
  static bool IsNavigationKey(int key);
  // Registers the widget with the grid as its open editor (call once it exists).
  void Attach();

  CGridCtrl* m_grid;
  int m_row;
  int m_col;
  int m_openKey;
  bool m_ended = false;
};
