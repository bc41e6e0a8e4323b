#include "grid/GridColumnDef.h"

#include "grid/GridCell.h"
#include "grid/GridCellCheckEx.h"
#include "grid/GridCellComboEx.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridCellTextWithButton.h"

GridColumnTypeInfo GetColumnTypeInfo(int kind) {
  switch (kind) {
    case gctUnknown:
      return {"gctUnknown", RGB(255, 235, 255), nullptr, true};
    case gctText:
      return {"gctText", RGB(235, 255, 255), &CGridCell::ClassInfo(), true};
    case gctInteger:
      return {"gctInteger", RGB(255, 235, 235), &CGridCellInteger::ClassInfo(), true};
    case gctNumericEx:
      return {"gctNumericEx", RGB(255, 255, 235), &CGridCellNumericEx::ClassInfo(), true};
    case gctCheckbox:
      return {"gctCheckbox", RGB(235, 235, 255), &CGridCellCheckEx::ClassInfo(), true};
    case gctDate:
      return {"gctDate", RGB(235, 255, 235), &CGridCellDateTimeEx::ClassInfo(), true};
    case gctComboEx:
      return {"gctComboEx", RGB(235, 235, 255), &CGridCellComboEx::ClassInfo(), true};
    case gctButtonText:
      return {"gctButtonText", RGB(235, 235, 255), &CGridCellTextWithButton::ClassInfo(), true};
    default:
      return {"", CLR_DEFAULT, nullptr, false};
  }
}
