#pragma once
// The editor of CGridCellComboEx: a list dropped at once over the cell, each item as tall as the
// cell, four more items and a scroll bar's height below the cell, as wide as the widest item
// plus a scroll bar and a "0" (at most 200 pixels, at least the cell), the current value's item
// selected. Escape restores the starting selection and ends the edit; Tab ends it; choosing an
// item (click, Enter) ends it; other keys go to the list.
#include <QListWidget>
#include <vector>

#include "grid/GridCellComboEx.h"
#include "grid/InPlaceEditor.h"

class InPlaceList : public QListWidget, public InPlaceEditorBase {
  Q_OBJECT

 public:
  InPlaceList(CGridCtrl* grid, int row, int col, const QRect& rect, int id, int openKey,
              const std::vector<GridComboItem>& items, std::intptr_t current, const QFont& font);
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
  int m_initialRow = -1;
  std::vector<GridComboItem> m_items;
};
