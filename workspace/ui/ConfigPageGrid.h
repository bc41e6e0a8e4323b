#pragma once
// CConfigPageGrid, the page "Grid" of the configuration sheet: how the result grid shows a
// result (details rows, colours, widths, numbers, dates, the null label, record numbers, the row
// limit), what it lets the person do (edit in place, sort, filter), and the CSV choice of the
// result export. "View extended details" is enabled only while "View details" is checked, and
// the CSV separator only while "Use CSV" is.
#include "workspace/ui/ConfigPage.h"

class UpDownControl;

class CConfigPageGrid : public ConfigPage {
  Q_OBJECT
 public:
  enum ControlId {
    kViewDetails = 32772,
    kViewExtendedDetails = 32776,
    kMoveCursorAfterEdit = 1049,
    kRedrawDuringFill = 32774,
    kMaxRows = 1013,
    kMinColWidth = 1014,
    kMaxColWidth = 1017,
    kColorize = 1054,
    kNumericWidth = 1015,
    kNumericPrecision = 1016,
    kNullLabel = 1062,
    kAutoFit = 1059,
    kInPlaceEdit = 1067,
    kSortable = 1068,
    kUseFilters = 1069,
    kDateTimeFormat = 1060,
    kExpandLastColumn = 1075,
    kThousandSeparator = 1076,
    kDisplayRecno = 1079,
    kUseCsv = 1077,
    kCsvSeparator = 1331,
  };

  CConfigPageGrid(SettingsStore& settings, QWidget* parent);

  // The up-down control of a numbers-only edit (kMaxRows, kMinColWidth, ...); null for others.
  UpDownControl* Spin(int editId) const;

 protected:
  void DoDataExchange(ExchangeDirection direction) override;
  void OnInitPage() override;

 private:
  void FollowChecks();

  std::vector<std::pair<int, UpDownControl*>> spins_;
};
