#pragma once
// The user's hand on a result grid: clicks in the middle of a cell and filter texts typed into
// the filter row, each followed by settling the events they raise.
#include <string>

class CDbGridCtrl;

namespace testsupport {

// A left click in the middle of a cell, scrolled into view first, as the mouse does it.
void ClickGridCell(CDbGridCtrl& grid, int row, int col);

// Types `text` into the filter cell of `col` as a person does: click the cell (twice when it is
// not yet the focus cell), replace its text, and end with Enter.
void TypeGridFilter(CDbGridCtrl& grid, int col, const std::string& text);

}  // namespace testsupport
