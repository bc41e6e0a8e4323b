#include "grid/InPlaceList.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include "grid/GridCtrl.h"

InPlaceList::InPlaceList(CGridCtrl* grid, int row, int col, const QRect& rect, int id, int openKey,
                         const std::vector<GridComboItem>& items, std::intptr_t current, const QFont& font)
    : QListWidget(grid->viewport()), InPlaceEditorBase(grid, row, col, openKey), m_id(id), m_items(items) {
  setObjectName(QStringLiteral("InPlaceList"));
  setFont(font);
  setUniformItemSizes(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QFontMetrics fm(font);
  int widest = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const QString text = QString::fromStdString(items[i].text);
    auto* item = new QListWidgetItem(text, this);
    item->setSizeHint(QSize(rect.width(), rect.height()));
    widest = std::max(widest, fm.horizontalAdvance(text));
    if (items[i].value == current && m_initialRow < 0) m_initialRow = static_cast<int>(i);
  }
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int width = std::max(rect.width(), std::min(200, widest + scrollBar + fm.horizontalAdvance(QLatin1Char('0'))));
  const int height = rect.height() + 4 * rect.height() + scrollBar;
  QRect area(rect.x(), rect.y(), width, height);
  const QRect view = grid->viewport()->rect();
  if (area.bottom() > view.bottom()) area.moveBottom(std::max(view.bottom(), area.height() - 1));
  if (area.right() > view.right()) area.moveRight(std::max(view.right(), area.width() - 1));
  setGeometry(area);
  setCurrentRow(m_initialRow);
  connect(this, &QListWidget::itemClicked, this, [this] { EndEdit(0); });
  Attach();
}

void InPlaceList::Open() {
  show();
  raise();
  setFocus(Qt::OtherFocusReason);
  if (currentItem()) scrollToItem(currentItem());
}

bool InPlaceList::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
      keyPressEvent(ke);
      return true;
    }
  }
  return QListWidget::event(e);
}

void InPlaceList::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  e->accept();
  if (key == Qt::Key_Escape) {
    setCurrentRow(m_initialRow);
    EndEdit(Qt::Key_Escape);
  } else if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    EndEdit((key == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier)) ? Qt::Key_Backtab : Qt::Key_Tab);
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    EndEdit(0);  // choosing an item; the focus stays on the cell
  } else {
    QListWidget::keyPressEvent(e);
    e->accept();
  }
}

void InPlaceList::focusOutEvent(QFocusEvent* e) {
  QListWidget::focusOutEvent(e);
  if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason) EndEdit(0);
}

void InPlaceList::Commit() {
  const int index = currentRow();
  if (index < 0 || index >= static_cast<int>(m_items.size()) || index == m_initialRow) return;
  auto* cell = dynamic_cast<CGridCellComboEx*>(m_grid->GetCell(m_row, m_col));
  if (!cell) return;
  const GridComboItem chosen = m_items[static_cast<std::size_t>(index)];
  const std::intptr_t oldData = cell->GetData();
  const std::string oldText = cell->GetText();
  m_grid->CommitCellChange(
      m_row, m_col,
      [&] {
        if (oldData == chosen.value && oldText == chosen.text) return false;
        cell->SetData(chosen.value);
        return true;
      },
      [&] {
        cell->SetData(oldData);
        cell->CGridCell::SetText(oldText);
      },
      &chosen.text);
}
