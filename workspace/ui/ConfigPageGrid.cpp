#include "workspace/ui/ConfigPageGrid.h"

#include <QCheckBox>
#include <QLineEdit>

#include "platform/UpDownControl.h"
#include "workspace/SettingsStore.h"

namespace {
using G = CConfigPageGrid;
constexpr int kLabel = -1;

const ControlDef kControls[] = {
    {G::kViewDetails, ControlKind::CheckBox, "View details", 7, 7, 150, 10},
    {G::kViewExtendedDetails, ControlKind::CheckBox, "View extended details", 19, 19, 138, 10},
    {G::kRedrawDuringFill, ControlKind::CheckBox, "Redraw Grid During Fill", 7, 31, 150, 10},
    {kLabel, ControlKind::Static, "Move cursor after edit :", 7, 47, 102, 8},
    {G::kMoveCursorAfterEdit, ControlKind::DropDownList, "", 112, 45, 52, 13},
    {kLabel, ControlKind::Static, "Max rows displayed (0 = all)", 7, 63, 102, 8},
    {G::kMaxRows, ControlKind::Edit, "", 112, 61, 52, 13},
    {kLabel, ControlKind::Static, "Min/Max col width", 7, 79, 102, 8},
    {G::kMinColWidth, ControlKind::Edit, "", 112, 77, 25, 13},
    {G::kMaxColWidth, ControlKind::Edit, "", 139, 77, 25, 13},
    {kLabel, ControlKind::Static, "Numeric width", 7, 95, 102, 8},
    {G::kNumericWidth, ControlKind::Edit, "", 112, 93, 52, 13},
    {kLabel, ControlKind::Static, "Numeric precision", 7, 111, 102, 8},
    {G::kNumericPrecision, ControlKind::Edit, "", 112, 109, 52, 13},
    {kLabel, ControlKind::Static, "Null label", 7, 127, 102, 8},
    {G::kNullLabel, ControlKind::Edit, "", 112, 125, 52, 13},
    {kLabel, ControlKind::Static, "AutoFit Columns", 7, 143, 102, 8},
    {G::kAutoFit, ControlKind::DropDownList, "", 112, 141, 52, 13},
    {kLabel, ControlKind::Static, "Date/Time format", 7, 159, 102, 8},
    {G::kDateTimeFormat, ControlKind::DropDownList, "", 112, 157, 52, 13},
    {G::kColorize, ControlKind::CheckBox, "Colorize cells according to data  type", 170, 7, 147, 10},
    {G::kInPlaceEdit, ControlKind::CheckBox, "In Place Cell Edit", 170, 21, 147, 10},
    {G::kSortable, ControlKind::CheckBox, "Enable Sorting", 170, 35, 147, 10},
    {G::kUseFilters, ControlKind::CheckBox, "Enable Filtering", 170, 49, 147, 10},
    {G::kExpandLastColumn, ControlKind::CheckBox, "Expand last column", 170, 63, 147, 10},
    {G::kThousandSeparator, ControlKind::CheckBox, "Use thousand separator", 170, 77, 147, 10},
    {G::kDisplayRecno, ControlKind::CheckBox, "Display Recno", 170, 91, 147, 10},
    {kLabel, ControlKind::GroupBox, "Excel Export", 170, 108, 147, 48},
    {G::kUseCsv, ControlKind::CheckBox, "Use CSV", 178, 122, 90, 10},
    {kLabel, ControlKind::Static, "CSV separator", 178, 138, 64, 8},
    {G::kCsvSeparator, ControlKind::Edit, "", 244, 136, 20, 13},
};

struct SpinDef {
  int edit;
  int minimum;
  int maximum;
};
constexpr SpinDef kSpins[] = {
    {G::kMaxRows, 0, 100000},  {G::kMinColWidth, 0, 1000},    {G::kMaxColWidth, 0, 1000},
    {G::kNumericWidth, 0, 20}, {G::kNumericPrecision, 0, 20},
};
}  // namespace

CConfigPageGrid::CConfigPageGrid(SettingsStore& settings, QWidget* parent) : ConfigPage(settings, parent) {
  setObjectName(QStringLiteral("ConfigPageGrid"));
  const DialogUnits units;
  controls_.Create(this, kControls, units);
  setFixedSize(units.ToPixels(QSize(324, 207)));
  for (const SpinDef& def : kSpins) {
    auto* spin = new UpDownControl(this);
    spin->SetBuddy(As<QLineEdit>(def.edit));  // digits only
    spin->AlignInsideBuddy();
    spins_.emplace_back(def.edit, spin);
  }
  As<QLineEdit>(kCsvSeparator)->setMaxLength(1);
  connect(As<QCheckBox>(kViewDetails), &QCheckBox::toggled, this, &CConfigPageGrid::FollowChecks);
  connect(As<QCheckBox>(kUseCsv), &QCheckBox::toggled, this, &CConfigPageGrid::FollowChecks);
}

UpDownControl* CConfigPageGrid::Spin(int editId) const {
  for (const auto& [id, spin] : spins_)
    if (id == editId) return spin;
  return nullptr;
}

void CConfigPageGrid::DoDataExchange(ExchangeDirection direction) {
  ExchangeCheck(settings_, exchange_, direction, kViewDetails, "Grid", "ViewDetails");
  ExchangeCheck(settings_, exchange_, direction, kViewExtendedDetails, "Grid", "ViewExtendedDetails");
  ExchangeCombo(settings_, exchange_, direction, kMoveCursorAfterEdit, "none|down|right", "Grid",
                "MoveCursorAfterEdit");
  ExchangeCheck(settings_, exchange_, direction, kRedrawDuringFill, "Grid", "RedrawGridDuringFill");
  ExchangeText(settings_, exchange_, direction, kMaxRows, "Grid", "MaxDataRows");
  ExchangeText(settings_, exchange_, direction, kMinColWidth, "Grid", "MinColWidth");
  ExchangeText(settings_, exchange_, direction, kMaxColWidth, "Grid", "MaxColWidth");
  ExchangeCheck(settings_, exchange_, direction, kColorize, "Grid", "Colorize");
  ExchangeText(settings_, exchange_, direction, kNumericWidth, "Grid", "NumericWidth");
  ExchangeText(settings_, exchange_, direction, kNumericPrecision, "Grid", "NumericPrecision");
  ExchangeText(settings_, exchange_, direction, kNullLabel, "Grid", "NullFieldLabel");
  ExchangeCombo(settings_, exchange_, direction, kAutoFit, "Default|Header|Data|Both", "Grid", "AutoSizeColumns");
  ExchangeCheck(settings_, exchange_, direction, kInPlaceEdit, "Grid", "InPlaceEdit");
  ExchangeCheck(settings_, exchange_, direction, kSortable, "Grid", "Sortable");
  ExchangeCheck(settings_, exchange_, direction, kUseFilters, "Grid", "UseFilters");
  ExchangeCombo(settings_, exchange_, direction, kDateTimeFormat, "Date|Time|Date & Time", "Grid", "DateTimeFormat");
  ExchangeCheck(settings_, exchange_, direction, kExpandLastColumn, "Grid", "ExpandLastColumn");
  ExchangeCheck(settings_, exchange_, direction, kThousandSeparator, "Grid", "UseThousandSeparator");
  ExchangeCheck(settings_, exchange_, direction, kDisplayRecno, "Grid", "DisplayRecno");
  ExchangeCheck(settings_, exchange_, direction, kUseCsv, "Excel", "EnableCsv");
  ExchangeText(settings_, exchange_, direction, kCsvSeparator, "Excel", "CsvSeparator");
}

void CConfigPageGrid::OnInitPage() {
  for (const SpinDef& def : kSpins) Spin(def.edit)->SetRange(def.minimum, def.maximum);
  FollowChecks();
}

void CConfigPageGrid::FollowChecks() {
  Control(kViewExtendedDetails)->setEnabled(As<QCheckBox>(kViewDetails)->isChecked());
  Control(kCsvSeparator)->setEnabled(As<QCheckBox>(kUseCsv)->isChecked());
}
