#pragma once
// The root of the cell family. A cell keeps its state flags and knows its grid; every other
// property, the drawing, measuring and editing are operations that the classes below define.
// Cells fall back to the grid's default cell for every property they do not set.
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <string>
#include <string_view>

#include "grid/GridCellClass.h"
#include "grid/GridDefs.h"

class CGridCtrl;
class CGridDefaultCell;
class QPainter;

class CGridCellBase {
 public:
  CGridCellBase() = default;
  CGridCellBase(const CGridCellBase&) = delete;
  CGridCellBase& operator=(const CGridCellBase&) = delete;
  virtual ~CGridCellBase() = default;

  static const GridCellClass& ClassInfo();
  virtual const GridCellClass& GetRuntimeClass() const { return ClassInfo(); }
  const char* GetClassName() const { return GetRuntimeClass().name; }
  bool IsKindOf(const GridCellClass& cls) const { return GetRuntimeClass().IsDerivedFrom(&cls); }

  // Takes over another cell's properties (text, data, state, format, colours, font, margin).
  virtual void CopyPropertiesFrom(const CGridCellBase& other);

  // ---- Operations, in the order of their slots.
  virtual void SetText(std::string_view text) = 0;
  virtual void SetImage(int image) = 0;
  virtual void SetData(std::intptr_t data) = 0;
  virtual void SetState(unsigned state) { m_state = static_cast<std::uint8_t>(state); }
  virtual void SetFormat(unsigned format) = 0;
  virtual void SetTextColour(COLORREF colour) = 0;
  virtual void SetBackColour(COLORREF colour) = 0;
  virtual void SetMargin(int margin) = 0;
  virtual std::string GetText() const = 0;
  virtual int GetImage() const = 0;
  virtual std::intptr_t GetData() const = 0;
  // The stored flags. The grid's GetCellState adds the focus and selection flags, which follow
  // the grid's focus cell and selection rather than being stored per cell.
  virtual unsigned GetState() const { return m_state; }
  virtual unsigned GetFormat() const = 0;      // resolved: the default cell's when not set
  virtual COLORREF GetTextColour() const = 0;  // CLR_DEFAULT when not set
  virtual COLORREF GetBackColour() const = 0;  // CLR_DEFAULT when not set
  virtual const QFont& GetFont() const = 0;    // resolved
  virtual CGridCtrl* GetGrid() const { return m_grid; }
  virtual int GetMargin() const = 0;  // resolved
  // Paints the cell into `rect` (the area inside the grid lines).
  virtual bool Draw(QPainter& painter, int row, int col, const QRect& rect, bool erase = true);
  // The part of `rect` that shows the text (after an image, a check box or a button).
  virtual QRect GetTextRect(const QRect& rect) const;
  // Text extent plus twice the margin, plus the image width when there is one.
  virtual QSize GetCellExtent() const;
  // The width the sort arrow takes from a sorted column's header text, in that font.
  static int SortArrowRoom(const QFont& font, int margin);
  // Opens the in-place editor over `rect`; `key` is the key that opened it (a character's code
  // point, a Qt::Key value, or kEditKeyMouse). Returns false when the cell has no editor.
  virtual bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key);
  // Whether Edit would open an editor for this opening (asked before the begin-edit
  // notification, so that no edit is announced that never starts).
  virtual bool CanEdit(const QRect& rect, const QPoint& point, int key) const;
  virtual bool ValidateEdit(std::string_view text);
  // Asks an open editor to end (committing what it holds).
  virtual void EndEdit();
  // Told once the editor has ended and its result is committed.
  virtual void OnEndEdit();
  // A click released or pressed on the cell at (row, col); `point` is relative to the cell's top
  // left corner.
  virtual void OnClick(const CellId& cell, const QPoint& point);
  virtual void OnClickDown(const CellId& cell, const QPoint& point);

  // ---- Helpers.
  void SetGrid(CGridCtrl* grid) { m_grid = grid; }
  // The default cell whose properties this cell falls back to (by its fixed-row and fixed-column
  // flags); a process-wide one for cells outside a grid.
  const CGridDefaultCell* GetDefaultCell() const;
  bool IsFixed() const { return (m_state & kCellFixed) != 0; }
  bool IsReadOnly() const { return (m_state & kCellReadOnly) != 0; }
  bool IsEditing() const;

 protected:
  // The text Draw shows.
  virtual std::string GetDisplayText() const { return GetText(); }
  // Paints background, raised edge of fixed cells and the focus frame; returns the text colour.
  QColor DrawBackground(QPainter& painter, int row, int col, const QRect& rect, bool erase) const;
  // The font to paint with: the cell's font, fixed to its screen pixel size while printing so
  // that text keeps its size relative to the cells on any printer resolution.
  QFont PaintFont() const;
  // Paints the image, the sort triangle and the text inside `rect` (the text area).
  void DrawContent(QPainter& painter, int row, int col, const QRect& rect, const QColor& textColour) const;

  CGridCtrl* m_grid = nullptr;
  std::uint8_t m_state = 0;
};
