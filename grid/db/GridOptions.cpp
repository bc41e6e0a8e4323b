#include "grid/db/GridOptions.h"

#include "workspace/SettingsStore.h"

int DateTimeFormatToDisplayCode(int stored) {
  switch (stored) {
    case 1:
      return 9;
    case 2:
      return 4;
    default:
      return 0;
  }
}

GridOptions ReadGridOptions(const SettingsStore& settings) {
  const auto flag = [&](const char* key) { return settings.GetBool("Grid", key); };
  const auto number = [&](const char* key) { return settings.GetInt("Grid", key); };
  GridOptions o;
  o.viewDetails = flag("ViewDetails");
  o.viewExtendedDetails = flag("ViewExtendedDetails");
  o.colorize = flag("Colorize");
  o.redrawDuringFill = flag("RedrawGridDuringFill");
  o.maxDataRows = number("MaxDataRows");
  o.autoSizeStyle = number("AutoSizeColumns");
  o.minColWidth = number("MinColWidth");
  o.maxColWidth = number("MaxColWidth");
  o.numericWidth = number("NumericWidth");
  o.numericPrecision = number("NumericPrecision");
  o.useThousandSeparator = flag("UseThousandSeparator");
  o.moveCursorAfterEdit = number("MoveCursorAfterEdit");
  o.sortable = flag("Sortable");
  o.useFilters = flag("UseFilters");
  o.dateFormat = DateTimeFormatToDisplayCode(number("DateTimeFormat"));
  o.expandLastColumn = flag("ExpandLastColumn");
  o.displayRecno = flag("DisplayRecno");
  return o;
}
