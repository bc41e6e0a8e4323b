#pragma once
// Column kinds and column definitions of the grids of this system.
#include <string>

#include "grid/GridCellClass.h"
#include "grid/GridDefs.h"

// The kind of a column; the names below are also used as texts.
enum GridColumnType : int {
  gctUnknown = 0,     // cells keep their class
  gctText = 1,        // CGridCell
  gctInteger = 2,     // CGridCellInteger
  gctNumericEx = 3,   // CGridCellNumericEx
  gctCheckbox = 4,    // CGridCellCheckEx
  gctDate = 5,        // CGridCellDateTimeEx
  gctComboEx = 6,     // CGridCellComboEx
  gctButtonText = 7,  // CGridCellTextWithButton
};

// One column's definition, applied to the cells of each row.
struct GridColumnDef {
  int kind = gctUnknown;
  std::string header;     // text of the column's cell in row 0
  int width = 100;        // nominal width in pixels
  bool readOnly = false;  // cells get the read-only state
  bool hidden = false;    // shown with width 0
  unsigned format = 0;    // text-format flags for the cells (0: leave as is)
  COLORREF backColour = CLR_DEFAULT;
  COLORREF textColour = CLR_DEFAULT;
  int length = 0;                  // maximum text length (kinds 1, 7); total digits (kinds 2, 3)
  int precision = 0;               // decimal places (kind 3)
  bool thousandSeparator = false;  // kinds 2 and 3 group thousands
  int dateFormat = 0;              // display code of kind 5: 0 date, 9 time, 4 date and time
};

// The row of the kinds table: name, colour (used when colouring columns by kind) and cell class.
// Any other kind gives an empty name, CLR_DEFAULT, no class, and false.
struct GridColumnTypeInfo {
  std::string name;
  COLORREF colour = CLR_DEFAULT;
  const GridCellClass* cellClass = nullptr;
  bool ok = false;
};
GridColumnTypeInfo GetColumnTypeInfo(int kind);
