#pragma once
// Shared vocabulary of the grid control: colours, cell positions and ranges, cell state flags,
// text-format flags, notification codes and option values.
#include <algorithm>
#include <cstdint>

// Colours are 32-bit RGB values laid out 0x00BBGGRR; CLR_DEFAULT means "the default cell's".
using COLORREF = std::uint32_t;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

// Text-format flags of a cell (the values of the platform's text drawing flags).
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_NOPREFIX = 0x0800;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;
// "No format of its own": the cell takes the default cell's.
inline constexpr unsigned kFormatDefault = 0xFFFFFFFFu;

// Cell state flags (one byte per cell).
enum GridCellState : unsigned {
  kCellFocused = 0x01,
  kCellSelected = 0x02,
  kCellDropTarget = 0x04,
  kCellReadOnly = 0x08,
  kCellFixed = 0x10,
  kCellFixedRow = 0x20,
  kCellFixedCol = 0x40,
  kCellModified = 0x80,
};

// Notification codes; each carries a row and a column.
enum GridNotifyCode : int {
  kNotifySelChanging = -100,
  kNotifySelChanged = -101,
  kNotifyBeginEdit = -105,
  kNotifyEndEdit = -106,
  kNotifyBeginDrag = -109,
  kNotifyClick = -2,
  kNotifyDoubleClick = -3,
  kNotifyRightClick = -5,
};

// Which grid lines are drawn.
enum GridLines : int { kGridLinesNone = 0, kGridLinesHorz = 1, kGridLinesVert = 2, kGridLinesBoth = 3 };

// Which rows auto-sizing measures: 0 the grid's default, bit 1 the fixed rows, bit 2 the others.
enum GridAutoSize : int { kAutoSizeDefault = 0, kAutoSizeHeader = 1, kAutoSizeData = 2, kAutoSizeBoth = 3 };

// Command ids of the standard Edit menu that the grid serves.
inline constexpr int kCmdEditCopy = 57634;
inline constexpr int kCmdEditCut = 57635;
inline constexpr int kCmdEditPaste = 57637;
inline constexpr int kCmdEditSelectAll = 57642;

// Control id of every in-place editor.
inline constexpr int kInPlaceEditorId = 8;

// Opening keys of an editor other than a typed character: the mouse (click, double click or
// F2). Typed characters are passed as their code point, other keys as Qt::Key values.
inline constexpr int kEditKeyMouse = -1;

struct CellId {
  int row = -1;
  int col = -1;
  CellId() = default;
  CellId(int r, int c) : row(r), col(c) {}
  bool IsValid() const { return row >= 0 && col >= 0; }
  bool operator==(const CellId&) const = default;
};

// An inclusive rectangle of cells; invalid while any bound is negative.
struct CellRange {
  int minRow = -1;
  int minCol = -1;
  int maxRow = -1;
  int maxCol = -1;
  CellRange() = default;
  CellRange(int r1, int c1, int r2, int c2) : minRow(r1), minCol(c1), maxRow(r2), maxCol(c2) {}
  bool IsValid() const { return minRow >= 0 && minCol >= 0 && maxRow >= minRow && maxCol >= minCol; }
  bool Contains(int row, int col) const { return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol; }
  long long CellCount() const {
    return IsValid() ? static_cast<long long>(maxRow - minRow + 1) * (maxCol - minCol + 1) : 0;
  }
  bool Intersects(const CellRange& o) const {
    return IsValid() && o.IsValid() && minRow <= o.maxRow && o.minRow <= maxRow && minCol <= o.maxCol &&
           o.minCol <= maxCol;
  }
  CellRange Intersect(const CellRange& o) const {
    return {std::max(minRow, o.minRow), std::max(minCol, o.minCol), std::min(maxRow, o.maxRow),
            std::min(maxCol, o.maxCol)};
  }
  bool operator==(const CellRange&) const = default;
};
