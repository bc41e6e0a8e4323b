#include "grid/InPlaceDateTime.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>

#include "grid/GridCtrl.h"

namespace {

QString DisplayFormat(int code) {
  if (code & 9) return QStringLiteral("HH:mm:ss");
  if (code & 4) return QStringLiteral("dd/MM/yyyy HH:mm:ss");
  return QStringLiteral("dd/MM/yyyy");
}

}  // namespace

InPlaceDateTime::InPlaceDateTime(CGridCtrl* grid, int row, int col, const QRect& rect, int id, int openKey, int code,
                                 bool hasValue, const GridDateTime& value, const QFont& font)
    : QDateTimeEdit(grid->viewport()), InPlaceEditorBase(grid, row, col, openKey), m_id(id), m_code(code) {
  setObjectName(QStringLiteral("InPlaceDateTime"));
  setFont(font);
  setTimeSpec(Qt::UTC);  // no daylight-saving gaps in a value that has no zone
  setDisplayFormat(DisplayFormat(code));
  setCalendarPopup(!(code & 9) && !(code & 4));
  // The full range keeps any century the value has.
  setMinimumDateTime(QDateTime(QDate(100, 1, 1), QTime(0, 0)));
  setMaximumDateTime(QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
  if (hasValue) {
    m_initial =
        QDateTime(QDate(value.year, value.month, value.day), QTime(value.hour, value.minute, value.second), Qt::UTC);
  } else {
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    m_initial = QDateTime(now.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
  }
  setDateTime(m_initial);
  setGeometry(rect.x(), rect.y(), std::max(rect.width(), sizeHint().width()),
              std::max(rect.height(), sizeHint().height()));
  connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] { m_changed = true; });
  Attach();
}

void InPlaceDateTime::Open() {
  show();
  setFocus(Qt::OtherFocusReason);
  const int key = m_openKey;
  if (key >= 0x20 && key < 0x110000 && key != ' ') {
    const QString text(QChar(static_cast<char16_t>(key)));
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(this, &press);
  }
}

bool InPlaceDateTime::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
      keyPressEvent(ke);
      return true;
    }
  }
  return QDateTimeEdit::event(e);
}

void InPlaceDateTime::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  e->accept();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    EndEdit((key == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier)) ? Qt::Key_Backtab : Qt::Key_Tab);
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    EndEdit(Qt::Key_Return);
  } else if (key == Qt::Key_Escape) {
    setDateTime(m_initial);
    m_changed = false;
    EndEdit(Qt::Key_Escape);
  } else if (ctrl && IsNavigationKey(key)) {
    EndEdit(key);
  } else if (e->modifiers() & Qt::AltModifier) {
    // swallowed, as in the text editors
  } else {
    QDateTimeEdit::keyPressEvent(e);
    e->accept();
  }
}

void InPlaceDateTime::focusOutEvent(QFocusEvent* e) {
  QDateTimeEdit::focusOutEvent(e);
  // The calendar pop-up takes the focus while open; that is no end.
  if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason) return;
  if (calendarWidget() && calendarWidget()->isVisible()) return;
  EndEdit(0);
}

void InPlaceDateTime::Commit() {
  if (!m_changed) return;
  CGridCtrl* grid = m_grid;
  const int row = m_row, col = m_col;
  auto* cell = dynamic_cast<CGridCellDateTimeEx*>(grid->GetCell(row, col));
  if (!cell) return;
  const QDateTime picked = dateTime();
  const GridDateTime value{picked.date().year(), picked.date().month(),  picked.date().day(),
                           picked.time().hour(), picked.time().minute(), picked.time().second()};
  const CGridCellDateTimeEx::Status oldStatus = cell->GetStatus();
  const GridDateTime oldValue = cell->GetDateTime();
  grid->CommitCellChange(
      row, col,
      [&] {
        if (oldStatus == CGridCellDateTimeEx::Status::Valid && oldValue == value) return false;
        cell->SetDateTime(value);
        return true;
      },
      [&] {
        if (oldStatus == CGridCellDateTimeEx::Status::Valid)
          cell->SetDateTime(oldValue);
        else
          cell->SetStatus(oldStatus);
      });
}
