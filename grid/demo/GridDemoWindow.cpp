#include "grid/demo/GridDemoWindow.h"

#include <QVBoxLayout>

#include "grid/GridCellCheck.h"
#include "grid/GridCellCheckEx.h"
#include "grid/GridCellComboEx.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"

GridDemoWindow::GridDemoWindow(QWidget* parent) : QWidget(parent), m_grid(new CGridCtrlEx(this)) {
  setWindowTitle(QStringLiteral("Grid cell classes"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_grid);
  m_grid->SetDlgCtrlID(101);
  Fill();
}

void GridDemoWindow::Fill() {
  CGridCtrlEx& grid = *m_grid;
  grid.SetRowCount(kDataRows + 1);
  grid.SetFixedRowCount(1);
  grid.SetColumnCount(kColumnCount);
  grid.SetFixedColumnCount(1);

  auto def = [](int kind, const char* header, int width) {
    GridColumnDef d;
    d.kind = kind;
    d.header = header;
    d.width = width;
    d.backColour = GetColumnTypeInfo(kind).colour;
    return d;
  };
  std::vector<GridColumnDef> defs(kColumnCount);
  defs[kColNumber] = def(gctText, "", 36);
  defs[kColNumber].backColour = CLR_DEFAULT;
  defs[kColText] = def(gctText, "Name", 120);
  defs[kColText].length = 40;
  defs[kColInteger] = def(gctInteger, "Quantity", 80);
  defs[kColInteger].length = 10;
  defs[kColInteger].thousandSeparator = true;
  defs[kColNumeric] = def(gctNumericEx, "Price", 80);
  defs[kColNumeric].length = 10;
  defs[kColNumeric].precision = 2;
  defs[kColCheckEx] = def(gctCheckbox, "Active", 50);
  defs[kColDate] = def(gctDate, "Ordered", 130);
  defs[kColDate].dateFormat = CGridCellDateTimeEx::kDisplayDateTime;
  defs[kColCombo] = def(gctComboEx, "Colour", 80);
  defs[kColButton] = def(gctButtonText, "Notes", 110);
  defs[kColCheck] = def(gctUnknown, "Done", 60);
  defs[kColCheck].backColour = CLR_DEFAULT;
  grid.SetColumns(defs);

  static const char* const names[] = {"Anchor bolt", "Bracket", "Cable tie", "Dowel",  "Eye bolt",
                                      "Flange",      "Gasket",  "Hinge",     "Insert", "Jubilee clip with a long name",
                                      "Knob",        "Latch"};
  static const char* const colours[] = {"Red", "Green", "Blue"};
  auto items = std::make_shared<std::vector<GridComboItem>>();
  for (int i = 0; i < 3; ++i) items->push_back({i + 1, colours[i]});
  for (int r = 1; r <= kDataRows; ++r) {
    grid.ApplyColumnDefsToRow(r);
    grid.SetCellText(r, kColNumber, std::to_string(r));
    grid.SetCellText(r, kColText, names[r - 1]);
    if (auto* c = dynamic_cast<CGridCellInteger*>(grid.GetCell(r, kColInteger))) c->SetInteger(1234567LL * r % 9876543);
    if (auto* c = dynamic_cast<CGridCellNumericEx*>(grid.GetCell(r, kColNumeric))) c->SetNumber(r * 3.5 + 0.25);
    if (auto* c = dynamic_cast<CGridCellCheckEx*>(grid.GetCell(r, kColCheckEx))) c->SetCheck(r % 3 != 0);
    if (auto* c = dynamic_cast<CGridCellDateTimeEx*>(grid.GetCell(r, kColDate))) {
      if (r % 5 != 0) c->SetDateTime(GridDateTime{2024, 1 + r % 12, 1 + (r * 7) % 28, 9 + r % 8, (r * 13) % 60, 0});
    }
    if (auto* c = dynamic_cast<CGridCellComboEx*>(grid.GetCell(r, kColCombo))) {
      c->SetItems(items);
      c->SetData(1 + r % 3);
    }
    grid.SetCellText(r, kColButton, r % 2 ? "see drawing" : "");
    grid.SetCellType(r, kColCheck, &CGridCellCheck::ClassInfo());
    if (auto* c = dynamic_cast<CGridCellCheck*>(grid.GetCell(r, kColCheck))) c->SetCheck(r % 2 == 0);
  }
  grid.SetEditable(true);
  grid.SetRowSelectionMode(false);
  grid.SetSingleRowSelection(false);
  grid.SetFrameFocusCell(true);
  grid.SetTrackFocusCell(true);
  grid.SetSortColumn(kColText);
  grid.SetSortAscending(true);
  grid.SetModified(false);
  grid.SetSortColumn(kColText);
  grid.SetFocusCell(2, kColText);
  grid.SelectRange(2, kColText, 2, kColText);
}
