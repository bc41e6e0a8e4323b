#include "grid/InPlaceCheck.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "grid/GridCellCheckEx.h"
#include "grid/GridCtrl.h"

InPlaceCheck::InPlaceCheck(CGridCtrl* grid, int row, int col, const QRect& area, int id, int openKey, bool checked)
    : QCheckBox(grid->viewport()), InPlaceEditorBase(grid, row, col, openKey), m_id(id), m_initial(checked) {
  setObjectName(QStringLiteral("InPlaceCheck"));
  setChecked(checked);
  setGeometry(area);
  Attach();
}

void InPlaceCheck::Open() {
  show();
  setFocus(Qt::OtherFocusReason);
  if (m_openKey == ' ') toggle();
}

bool InPlaceCheck::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
      keyPressEvent(ke);
      return true;
    }
  }
  return QCheckBox::event(e);
}

void InPlaceCheck::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  e->accept();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    EndEdit((key == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier)) ? Qt::Key_Backtab : Qt::Key_Tab);
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    EndEdit(Qt::Key_Return);
  } else if (key == Qt::Key_Escape) {
    setChecked(m_initial);
    EndEdit(Qt::Key_Escape);
  } else if (IsNavigationKey(key)) {
    EndEdit(key);
  } else if (key == Qt::Key_Space) {
    toggle();
  }
}

void InPlaceCheck::focusOutEvent(QFocusEvent* e) {
  QCheckBox::focusOutEvent(e);
  if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason) EndEdit(0);
}

void InPlaceCheck::Commit() {
  auto* cell = dynamic_cast<CGridCellCheckEx*>(m_grid->GetCell(m_row, m_col));
  if (!cell) return;
  const bool checked = isChecked();
  const std::intptr_t old = cell->GetData();
  m_grid->CommitCellChange(
      m_row, m_col,
      [&] {
        if ((old != 0) == checked) return false;
        cell->SetCheck(checked);
        return true;
      },
      [&] { cell->SetData(old); });
}
