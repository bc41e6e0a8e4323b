#include "GridTestSupport.h"

#include <QApplication>
#include <QVBoxLayout>

#include "tests/support/gui/OffscreenApp.h"

namespace gridtest {

void EnsureApp() {
  if (QApplication::instance()) return;
  testsupport::EnsureOffscreenApp("tests_grid");
  QApplication::setApplicationDisplayName(QStringLiteral("Qelvo"));
}

void ShowActive(QWidget* w, QWidget* focus) {
  w->show();
  QApplication::setActiveWindow(w);
  w->activateWindow();
  (void)QTest::qWaitForWindowExposed(w);
  (void)QTest::qWaitForWindowActive(w);
  if (focus) {
    focus->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
  }
}

GridWindow::GridWindow(int rows, int cols, int fixedRows, int fixedCols, QSize size) {
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  grid = new CGridCtrl(&window, rows, cols, fixedRows, fixedCols);
  grid->setFrameShape(QFrame::NoFrame);
  layout->addWidget(grid);
  window.resize(size);
  window.setWindowTitle(QStringLiteral("Grid test window"));
}

void GridWindow::FillTexts() {
  for (int r = 0; r < grid->GetRowCount(); ++r)
    for (int c = 0; c < grid->GetColumnCount(); ++c)
      grid->SetCellText(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
  grid->SetModified(false);
}

QPoint CellCentre(const CGridCtrl& grid, int row, int col) {
  QRect rect;
  if (!grid.GetCellRect(row, col, rect)) return {-1, -1};
  return rect.center();
}

void ClickCell(CGridCtrl& grid, int row, int col, Qt::KeyboardModifiers mods, Qt::MouseButton button) {
  QTest::mouseClick(grid.viewport(), button, mods, CellCentre(grid, row, col));
}

void DoubleClickAt(CGridCtrl& grid, const QPoint& point) {
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

NotifyLog::NotifyLog(CGridCtrl& grid) {
  m_connection = QObject::connect(&grid, &CGridCtrl::Notify, &grid, [this](GridNotify& n) {
    entries.push_back({n.code, n.row, n.col});
    if (n.code == kNotifyBeginEdit && answerBeginEdit) n.result = answerBeginEdit;
    if (n.code == kNotifyEndEdit && answerEndEdit) n.result = answerEndEdit;
  });
}

NotifyLog::~NotifyLog() {
  QObject::disconnect(m_connection);
}

int NotifyLog::Count(int code) const {
  int n = 0;
  for (const Entry& e : entries) n += e.code == code;
  return n;
}

std::vector<int> NotifyLog::Codes() const {
  std::vector<int> codes;
  for (const Entry& e : entries) codes.push_back(e.code);
  return codes;
}

}  // namespace gridtest
