#include "grid/InPlaceEditor.h"

#include <QPointer>

#include "grid/GridCtrl.h"

InPlaceEditorBase::InPlaceEditorBase(CGridCtrl* grid, int row, int col, int openKey)
    : m_grid(grid), m_row(row), m_col(col), m_openKey(openKey) {}

void InPlaceEditorBase::Attach() {
  m_grid->AttachEditor(Widget(), m_row, m_col);
}

void InPlaceEditorBase::EndEdit(int key) {
  if (m_ended) return;
  m_ended = true;
  QPointer<QWidget> widget = Widget();
  m_grid->OnEditorClosed(m_row, m_col, key, [this] { Commit(); });
  if (widget) {
    widget->hide();
    widget->deleteLater();
  }
}

bool InPlaceEditorBase::OpenedByTypedKey() const {
  return m_openKey != kEditKeyMouse && m_openKey != Qt::Key_F2;
}

bool InPlaceEditorBase::IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}
