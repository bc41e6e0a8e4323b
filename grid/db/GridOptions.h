#pragma once
// The Grid settings handed to the result grid in one record (CDbGridCtrl::SetOptions), and the
// reading of that record from the settings store.
class SettingsStore;

struct GridOptions {
  bool viewDetails = false;           // "ViewDetails": rows of field metadata under the header
  bool viewExtendedDetails = false;   // "ViewExtendedDetails": eleven detail rows instead of four
  bool colorize = false;              // "Colorize": columns coloured by kind, NULL cells pink
  bool redrawDuringFill = false;      // "RedrawGridDuringFill"
  int maxDataRows = 0;                // "MaxDataRows": 0 shows every record
  int autoSizeStyle = 0;              // "AutoSizeColumns": 0 default, 1 header, 2 data, 3 both
  int minColWidth = 0;                // "MinColWidth"
  int maxColWidth = 0;                // "MaxColWidth"
  int numericWidth = 10;              // "NumericWidth": digits of integer and numeric cells
  int numericPrecision = 2;           // "NumericPrecision": decimals of numeric cells
  bool useThousandSeparator = false;  // "UseThousandSeparator"
  int moveCursorAfterEdit = 0;        // "MoveCursorAfterEdit": 0 none, 1 down, 2 right
  bool sortable = true;               // "Sortable": a header click sorts
  bool useFilters = false;            // "UseFilters": the filter row under the header
  int dateFormat = 0;                 // "DateTimeFormat" as the date cell's code: 0 date, 9 time, 4 both
  bool expandLastColumn = true;       // "ExpandLastColumn"
  bool displayRecno = false;          // "DisplayRecno": record numbers in column 0

  bool operator==(const GridOptions&) const = default;
};

// The stored "DateTimeFormat" choice (0 date, 1 time, 2 date and time) as the date cell's
// display code: 1 gives 9, 2 gives 4, anything else 0.
int DateTimeFormatToDisplayCode(int stored);

// Every field from its Grid setting; flags are true when the value is not 0. The null label is
// not part of the record: the owner sets it with SetNullLabel from Grid/NullFieldLabel.
GridOptions ReadGridOptions(const SettingsStore& settings);
