#pragma once
// A small window that shows every cell class in one grid, with a fixed header row and a fixed
// column of row numbers, a sort indicator, a focus cell and colours by column kind. Used by the
// tests, for screenshots, and by the grid_demo program.
#include <QWidget>

#include "grid/GridCtrlEx.h"

class GridDemoWindow : public QWidget {
  Q_OBJECT

 public:
  enum Column : int {
    kColNumber = 0,
    kColText,
    kColInteger,
    kColNumeric,
    kColCheckEx,
    kColDate,
    kColCombo,
    kColButton,
    kColCheck,
    kColumnCount
  };
  static constexpr int kDataRows = 12;

  explicit GridDemoWindow(QWidget* parent = nullptr);
  CGridCtrlEx* Grid() const { return m_grid; }

 private:
  void Fill();

  CGridCtrlEx* m_grid;
};
