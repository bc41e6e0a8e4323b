#pragma once
// The editor of CGridCellCheckEx: a check box on the cell's check area with the cell's state.
#include <QCheckBox>

#include "grid/InPlaceEditor.h"

class InPlaceCheck : public QCheckBox, public InPlaceEditorBase {
  Q_OBJECT

 public:
  InPlaceCheck(CGridCtrl* grid, int row, int col, const QRect& area, int id, int openKey, bool checked);
  void Open();
  int GetDlgCtrlID() const { return m_id; }

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  QWidget* Widget() override { return this; }
  void Commit() override;

 private:
  int m_id;
  bool m_initial;
};
