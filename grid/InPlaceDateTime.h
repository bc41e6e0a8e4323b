#pragma once
// The date-time picker of date cells: "HH:mm:ss" (time), "dd/MM/yyyy HH:mm:ss" (date and time)
// or "dd/MM/yyyy" (date, with a drop-down calendar; the others use up-down arrows). A typed
// character that opened it is passed on, unless it is Enter or a navigation key. Navigation keys
// end the edit only with Ctrl; Tab and Enter end it; Escape restores the starting value and ends
// it. It commits the picked value only when the user changed it.
#include <QDateTimeEdit>

#include "grid/GridCellDateTimeEx.h"
#include "grid/InPlaceEditor.h"

class InPlaceDateTime : public QDateTimeEdit, public InPlaceEditorBase {
  Q_OBJECT

 public:
  InPlaceDateTime(CGridCtrl* grid, int row, int col, const QRect& rect, int id, int openKey, int code, bool hasValue,
                  const GridDateTime& value, const QFont& font);
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
  int m_code;
  QDateTime m_initial;
  bool m_changed = false;
};
