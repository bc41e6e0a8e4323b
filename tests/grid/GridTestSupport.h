#pragma once
// Shared pieces of the grid tests: the application on the offscreen platform, a shown window,
// cell-precise mouse actions, and a recorder of notifications.
#include <QPoint>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "grid/GridCtrl.h"
#include "tests/support/gui/OffscreenApp.h"

namespace gridtest {

// The one QApplication of the test program, on the offscreen platform.
void EnsureApp();

// Shows `w` active with the keyboard focus on `focus` (when given).
void ShowActive(QWidget* w, QWidget* focus = nullptr);

// A grid in a window of a known size, texts "r<row>c<col>" in every cell.
struct GridWindow {
  struct App {
    App() { EnsureApp(); }
  } app;  // first: the application must exist before any widget
  QWidget window;
  CGridCtrl* grid;
  GridWindow(int rows, int cols, int fixedRows, int fixedCols, QSize size = QSize(500, 300));
  void FillTexts();
};

// Viewport point at the centre of a cell (the cell must be on screen).
QPoint CellCentre(const CGridCtrl& grid, int row, int col);
void ClickCell(CGridCtrl& grid, int row, int col, Qt::KeyboardModifiers mods = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton);
void DoubleClickAt(CGridCtrl& grid, const QPoint& point);
using testsupport::Settle;

// Records every notification of a grid; may answer some codes with a result.
struct NotifyLog {
  struct Entry {
    int code, row, col;
  };
  std::vector<Entry> entries;
  int answerBeginEdit = 0;
  int answerEndEdit = 0;
  explicit NotifyLog(CGridCtrl& grid);
  ~NotifyLog();
  NotifyLog(const NotifyLog&) = delete;
  NotifyLog& operator=(const NotifyLog&) = delete;
  int Count(int code) const;
  std::vector<int> Codes() const;

 private:
  QMetaObject::Connection m_connection;
};

}  // namespace gridtest
