#pragma once
// CGridCtrl: a spreadsheet-like table of cells with fixed (header) rows and columns, scrolling,
// selection, a focus cell, in-place editing through the cells' editors, clipboard and
// drag-and-drop exchange as text, resizing, auto-sizing and printing. It knows nothing of
// databases: owners react to its notifications.
//
// Storage: one 16-byte slot per cell, kept by the grid's cell store (GridCellStore.h): all cells
// owned by the grid (OwnedCellStore) unless a derived grid installs a store that makes rows from a
// data source when they are asked for. Plain text cells and cells of the typed classes (integer,
// number, date, check box) stay compact (CellSlot.h); GetCell hands out (and from then on keeps) a
// full cell object. Bulk work should use the per-cell setters of the grid (SetCellText,
// StoreCellText, SetCellBackColour, StoreCompactValue, ...), which keep compact cells compact.
//
// Scrolling: the vertical position is a row (the first non-fixed row shown), the horizontal one
// a pixel offset; painting walks only the rows and columns on screen, so its cost does not grow
// with the row count.
//
// Notifications: each is first reflected to the grid itself (OnNotifyReflect, overridden by
// CGridCtrlEx) and then emitted as the signal Notify to the owner, who may change the result.
#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "grid/CellSlot.h"
#include "grid/GridCell.h"
#include "grid/GridCellStore.h"
#include "grid/GridDefs.h"
#include "grid/GridSelection.h"
#include "grid/RowHeights.h"

class TitleTip;
class QPainter;
class QPrinter;

// One notification: the grid's control id, the code and the cell; `result` is what the grid
// honours (negative refuses an edit or restores the old text).
struct GridNotify {
  CGridCtrl* grid = nullptr;
  int id = 0;
  int code = 0;
  int row = -1;
  int col = -1;
  int result = 0;
};

class CGridCtrl : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr const char* kWindowClassName = "QelvoGridCtrl";

  explicit CGridCtrl(QWidget* parent = nullptr, int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
  ~CGridCtrl() override;

  // ---- Creation.
  // Places the grid in `parent` at `rect` with the control id, and sizes every existing row and
  // column from the default cell.
  bool Create(const QRect& rect, QWidget* parent, int id);
  int GetDlgCtrlID() const { return m_id; }
  void SetDlgCtrlID(int id) { m_id = id; }

  // ---- Counts and sizes. Setters return false for negative or out-of-range values.
  int GetRowCount() const { return static_cast<int>(m_rowHeights.size()); }
  int GetColumnCount() const { return static_cast<int>(m_colWidths.size()); }
  int GetFixedRowCount() const { return m_nFixedRows; }
  int GetFixedColumnCount() const { return m_nFixedCols; }
  virtual bool SetRowCount(int rows);
  virtual bool SetColumnCount(int cols);
  // Appends rows up to `rows` without marking the grid modified or dropping the sort indicator,
  // repainting only when a new row can be on screen (rows arriving from a source). False when
  // `rows` is not more than now or memory runs out.
  bool GrowRowCount(int rows);
  bool SetFixedRowCount(int fixedRows);
  bool SetFixedColumnCount(int fixedCols);
  int GetRowHeight(int row) const;    // -1 out of range
  int GetColumnWidth(int col) const;  // -1 out of range
  bool SetRowHeight(int row, int height);
  bool SetColumnWidth(int col, int width);
  int GetFixedRowHeight() const;
  int GetFixedColumnWidth() const;
  long long GetVirtualWidth() const;   // all columns
  long long GetVirtualHeight() const;  // all rows (walks every row)

  // The store that keeps the cells (memory figures, tests).
  const GridCellStore& GetCellStore() const { return *m_store; }

  // ---- Default cells: (fixedRow, fixedCol) = (false,false) normal, (false,true) fixed column,
  // (true,false) fixed row, (true,true) both.
  CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;

  // ---- Cells. Out-of-range positions: setters return false, getters an empty value.
  bool IsValid(int row, int col) const { return row >= 0 && col >= 0 && row < GetRowCount() && col < GetColumnCount(); }
  bool IsValid(const CellId& cell) const { return IsValid(cell.row, cell.col); }
  bool IsValid(const CellRange& range) const;
  // The cell object (made from the compact form when needed); null out of range.
  CGridCellBase* GetCell(int row, int col);
  // The cell's object when it has one; null for a compact plain cell or out of range.
  const CGridCellBase* GetCellObject(int row, int col) const {
    return IsValid(row, col) ? Slot(row, col)->Object() : nullptr;
  }
  // The cell as an object for reading: its object, or for a compact cell a stand-in loaded from
  // it, valid until the next call of any reading function of the grid; null out of range.
  const CGridCellBase* GetCellForRead(int row, int col) const {
    return IsValid(row, col) ? CellForRead(row, col) : nullptr;
  }
  // The class of a cell without making an object; null out of range.
  const GridCellClass* GetCellClass(int row, int col) const;
  // Turns the cell's object back into its compact form when it keeps nothing the compact form
  // cannot (and it is not being edited). The object is deleted: only for callers that know no
  // pointer to it is held. True when the cell is compact afterwards.
  bool CompactCell(int row, int col);

  // ---- Bulk loading into compact typed cells. A compact cell of class `cls` takes a value in
  // the class's encoding (the class's EncodeValue), or a text stored as its class stores a raw
  // text (SetRawText), keeping its looks, state and class settings, without the cell being
  // redrawn. False, and nothing changed, when the cell is not a compact cell of that class.
  bool StoreCompactValue(int row, int col, const GridCellClass& cls, std::uint64_t value);
  bool StoreCompactText(int row, int col, const GridCellClass& cls, std::string_view text);
  // Whole cells of compact forms that own nothing outside their slot (no long text, no object):
  // GetInlineCellForm reads a cell's form (false for other cells), SetInlineCellForm gives a cell
  // such a form, so that a layout can compute one cell and copy the outcome to its equals.
  using InlineCellForm = unsigned char[16];
  bool GetInlineCellForm(int row, int col, InlineCellForm& form) const;
  bool SetInlineCellForm(int row, int col, const InlineCellForm& form);
  // Replaces the cell by a new object of `cls`, which takes over the old cell's properties.
  // False (cell unchanged) for a missing class or one outside the cell family.
  bool SetCellType(int row, int col, const GridCellClass* cls);
  // The class of new cells (CGridCell unless changed).
  bool SetDefaultCellType(const GridCellClass* cls);
  const GridCellClass* GetDefaultCellType() const { return m_defaultCellClass; }

  // The text, data and image setters mark the cell modified.
  bool SetCellText(int row, int col, std::string_view text);
  // Stores a text through the cell's own setter without marking it modified (a refill from a
  // data source); keeps plain cells compact.
  bool StoreCellText(int row, int col, std::string_view text);
  std::string GetCellText(int row, int col) const;
  bool SetCellData(int row, int col, std::intptr_t data);
  std::intptr_t GetCellData(int row, int col) const;
  bool SetCellImage(int row, int col, int image);
  int GetCellImage(int row, int col) const;  // -1 none
  bool SetCellFormat(int row, int col, unsigned format);
  unsigned GetCellFormat(int row, int col) const;  // resolved
  // Stored flags; the focus and selection flags are not stored: kCellSelected adds the cell to
  // the selection or takes it out, kCellFocused is ignored (see SetFocusCell).
  bool SetCellState(int row, int col, unsigned state);
  unsigned GetCellState(int row, int col) const;  // with kCellFocused and kCellSelected
  bool SetCellBackColour(int row, int col, COLORREF colour);
  COLORREF GetCellBackColour(int row, int col) const;  // CLR_DEFAULT when not set
  bool SetCellTextColour(int row, int col, COLORREF colour);
  COLORREF GetCellTextColour(int row, int col) const;
  bool SetCellFont(int row, int col, const QFont* font);  // null: the default cell's
  bool SetCellMargin(int row, int col, int margin);       // -1: the default cell's
  bool SetCellMaxLength(int row, int col, unsigned length);
  bool SetCellLongText(int row, int col, bool longText);
  bool IsCellFixed(int row, int col) const { return row < m_nFixedRows || col < m_nFixedCols; }
  bool IsCellSelected(int row, int col) const { return m_selection.Contains(row, col); }
  // Editable flag on and the cell not read-only.
  virtual bool IsCellEditable(int row, int col) const;
  // Whether Select All in the focus cell means its text rather than every cell (none here).
  virtual bool SelectAllEditsFocusCell() const { return false; }
  // Marks one cell (row and col given) or the whole grid; both reset the sort indicator when it
  // concerns the sort column or the whole grid.
  void SetModified(bool modified = true, int row = -1, int col = -1);
  bool GetModified(int row = -1, int col = -1) const;
  bool RedrawCell(int row, int col);
  void RedrawRow(int row);

  // ---- Sort indicator; and sorting rows by a column's text (header sort option).
  void SetSortColumn(int col);
  int GetSortColumn() const { return m_nSortColumn; }
  void SetSortAscending(bool ascending) { m_bSortAscending = ascending; }
  bool GetSortAscending() const { return m_bSortAscending; }
  bool SortTextItems(int col, bool ascending);

  // ---- Look.
  void SetGridLines(int lines);
  int GetGridLines() const { return m_nGridLines; }
  void SetGridLineColour(COLORREF colour);
  COLORREF GetGridLineColour() const { return m_crGridLineColour; }
  // The area no cell covers; follows the system button-shadow colour while it equals it.
  void SetGridBkColour(COLORREF colour);
  COLORREF GetGridBkColour() const { return m_crGridBkColour; }
  void SetImageList(const QList<QPixmap>& images);
  const QList<QPixmap>& GetImageList() const { return m_images; }

  // ---- Options.
  virtual void SetEditable(bool editable);
  bool IsEditable() const { return m_bEditable; }
  // Also clears the selection and the sort indicator.
  void SetRowSelectionMode(bool rowMode);
  bool GetRowSelectionMode() const { return m_bRowMode; }
  void SetSingleRowSelection(bool single) { m_bSingleRowSelection = single; }
  bool GetSingleRowSelection() const { return m_bSingleRowSelection; }
  void EnableSelection(bool enable);
  bool IsSelectable() const { return m_bEnableSelection; }
  void EnableDragAndDrop(bool enable);
  bool GetDragAndDrop() const { return m_bAllowDragAndDrop; }
  void SetRedraw(bool allow, bool resetScrollBars = false);
  bool IsRedrawAllowed() const { return m_bAllowDraw; }
  void SetHandleTabKey(bool handle) { m_bHandleTabKey = handle; }
  bool GetHandleTabKey() const { return m_bHandleTabKey; }
  void SetTrackFocusCell(bool track);
  bool GetTrackFocusCell() const { return m_bTrackFocusCell; }
  void SetFrameFocusCell(bool frame);
  bool GetFrameFocusCell() const { return m_bFrameFocus; }
  void SetHeaderSort(bool sort) { m_bSortOnClick = sort; }
  bool GetHeaderSort() const { return m_bSortOnClick; }
  void SetFixedRowSelection(bool select) { m_bFixedRowSelection = select; }  // header click selects the column
  bool GetFixedRowSelection() const { return m_bFixedRowSelection; }
  void SetFixedColumnSelection(bool select) { m_bFixedColumnSelection = select; }  // fixed column click selects the row
  bool GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
  void EnableColumnResize(bool enable) { m_bAllowColumnResize = enable; }
  bool GetColumnResize() const { return m_bAllowColumnResize; }
  void EnableRowResize(bool enable) { m_bAllowRowResize = enable; }
  bool GetRowResize() const { return m_bAllowRowResize; }
  void SetAutoSizeStyle(int style) { m_nAutoSizeColumnStyle = style; }
  int GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }
  void SetResizeCaptureRange(int pixels) { m_nResizeCaptureRange = pixels; }
  int GetResizeCaptureRange() const { return m_nResizeCaptureRange; }
  void SetAutoScrollPeriod(int ms) { m_nAutoScrollPeriod = ms; }
  int GetAutoScrollPeriod() const { return m_nAutoScrollPeriod; }
  // True while a drag's auto-scroll timer runs (from a left press until the release).
  bool IsAutoScrolling() const { return m_autoScrollTimer.isActive(); }
  void EnableTitleTips(bool enable) { m_bTitleTips = enable; }
  bool GetTitleTips() const { return m_bTitleTips; }
  // Lines per wheel notch, read at construction from the application's setting; -1 = a page.
  int GetWheelScrollLines() const { return m_nRowsPerWheelNotch; }
  void SetWheelScrollLines(int lines) { m_nRowsPerWheelNotch = lines; }

  // ---- Focus, selection, scrolling.
  // Rows and columns below the fixed counts are raised to them (-1 stays -1). Returns the
  // previous focus cell.
  CellId SetFocusCell(int row, int col);
  CellId SetFocusCell(const CellId& cell) { return SetFocusCell(cell.row, cell.col); }
  CellId GetFocusCell() const { return m_idCurrentCell; }
  // Replaces the selection by the range (plus the cells kept by a Ctrl selection under way).
  // `force` repaints at once; `redraw` false leaves the repainting to the caller.
  void SelectRange(int minRow, int minCol, int maxRow, int maxCol, bool force = false, bool redraw = true);
  void SelectRange(const CellRange& range, bool force = false, bool redraw = true) {
    SelectRange(range.minRow, range.minCol, range.maxRow, range.maxCol, force, redraw);
  }
  CellRange GetSelectionRange() const { return m_selection.Bounds(); }  // bounding range
  long long GetSelectedCount() const { return m_selection.Count(); }
  const GridSelection& GetSelection() const { return m_selection; }
  void ClearSelection();
  void SelectAllCells();
  void SelectColumns(const CellId& current, bool forceRedraw = false);
  void SelectRows(const CellId& current, bool forceRedraw = false);
  void SelectCells(const CellId& current, bool forceRedraw = false);
  CellRange GetCellRange() const;  // every cell
  CellRange GetVisibleNonFixedCellRange() const;
  void EnsureVisible(int row, int col);
  void EnsureVisible(const CellId& cell) { EnsureVisible(cell.row, cell.col); }
  bool IsCellVisible(int row, int col) const;
  // The cell's rectangle in viewport coordinates (grid lines excluded at right and bottom);
  // false when it is not on screen.
  bool GetCellRect(int row, int col, QRect& rect) const;
  // The cell under a viewport point; (-1,-1) outside the cells.
  CellId GetCellFromPt(const QPoint& point) const;
  int GetTopRow() const { return m_nTopRow; }  // first non-fixed row shown
  int GetLeftOffset() const;                   // horizontal scroll in pixels
  // Moves the focus as the keyboard does: brackets a new selection (from the anchor, or the
  // new cell alone when `keepAnchor` is false) with -100 and -101, then scrolls to the cell.
  void MoveFocusTo(int row, int col, bool keepAnchor = false);

  // ---- Sizing.
  bool AutoSizeColumn(int col, int style = kAutoSizeDefault, bool reset = true);
  // The header cell's extent in column `col`, with the sort arrow's room when it is the sorted one.
  int HeaderExtentWidth(int col) const;
  bool AutoSizeRow(int row, bool reset = true);
  void AutoSizeColumns(int style = kAutoSizeDefault);
  void AutoSizeRows();
  void AutoSize(int style = kAutoSizeDefault);
  void FitColumnsToWidth(bool includeFixed = false);
  void ExpandLastColumn();

  // ---- Editing.
  // Opens the cell's editor; `point` is where the mouse opened it (viewport coordinates) and
  // `key` the opening key (see kEditKeyMouse). False when the cell cannot be edited now.
  bool StartEdit(int row, int col, const QPoint& point, int key);
  // Ends an open editor, committing what it holds.
  void StopEdit();
  QWidget* GetEditor() const { return m_pEditor; }
  // Registers an editor a cell has just opened over (row, col); cells call it.
  void AttachEditor(QWidget* editor, int row, int col);
  CellId GetEditCell() const { return m_editCell; }
  bool IsEditing(const CGridCellBase* cell) const;
  // Stores a changed text, validates and notifies; restores the old text when refused.
  bool CommitCellText(int row, int col, std::string_view text);
  // The general form: `apply` changes the cell (returning false when nothing changed),
  // `revert` undoes it when validation of `typed` (the cell's new text when null) or the
  // end-edit notification refuses.
  bool CommitCellChange(int row, int col, const std::function<bool()>& apply, const std::function<void()>& revert,
                        const std::string* typed = nullptr);
  virtual bool ValidateCellText(int row, int col, std::string_view text);
  // A change that does not come from program code: editable check and both notifications.
  bool SetCellTextByUser(int row, int col, std::string_view text);
  // Called once by an editor when it ends: `commit` stores what it produced, the cell is told,
  // then the key that ended it moves the focus when it is a navigation key.
  void OnEditorClosed(int row, int col, int endKey, const std::function<void()>& commit);
  // True while OnEditorClosed commits an editor's result (as opposed to paste, cut or delete).
  bool IsCommittingEditor() const { return m_bCommittingEditor; }

  // ---- Clipboard and commands.
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  // Select All: the open editor's whole text; in a cell whose text is what a person works on
  // (SelectAllEditsFocusCell), its editor opened with the whole text selected; else every cell.
  void SelectAllCommand();
  bool CanCopy() const { return GetSelectedCount() > 0; }
  bool CanCut() const { return IsEditable() && GetSelectedCount() > 0; }
  bool CanPaste() const;
  // The Edit menu's commands by id; false for ids the grid does not serve.
  bool OnCommand(int id);
  bool IsCommandEnabled(int id) const;
  // Selected cells row by row, tab between cells, CR LF between rows; hidden rows and columns
  // left out.
  std::string BuildSelectionText() const;
  // Lines at LF, fields at tabs or commas, each trimmed, stored through SetCellTextByUser from
  // `cell` on (hidden rows and columns skipped). False when nothing could be pasted.
  bool PasteText(const CellId& cell, std::string_view text, bool selectPasted);
  void ClearSelectedCells();

  // ---- Printing. Print runs the whole job; the steps are public for callers that drive pages.
  void Print(QPrinter& printer);
  void BeginPrint(QPainter& painter, QPrinter& printer);
  void PrintPage(QPainter& painter, int page);  // 1-based
  void EndPrint();
  int GetPrintPageCount() const { return static_cast<int>(m_printPageStarts.size()); }
  // True while pages are being drawn: cells then draw without selection and focus.
  bool IsPrinting() const { return m_bPrinting; }
  void SetPrintMargins(int header, int footer, int left, int right, int top, int bottom, int gap);
  void SetPrintHeaderText(const std::string& left, const std::string& right);
  void SetPrintFooterText(const std::string& left, const std::string& right);

 signals:
  // Every notification, after the grid's own handling; the receiver may set n.result.
  void Notify(GridNotify& n);
  // Posted after every left-button release, with the control id.
  void Command(int id);

 public:
  // Sends a notification: reflected first, then to the owner. Returns the result.
  int SendNotify(int code, int row, int col);

 protected:
  // The grid's own handling of its notifications; nothing here.
  virtual void OnNotifyReflect(GridNotify& n);
  // Called before a cell is destroyed (rows or columns dropped, cell replaced).
  virtual void DestroyCell(int row, int col);
  // A new cell object of the default class.
  virtual std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
  // Installs another cell store; only while the grid has no rows and no columns (false otherwise).
  bool SetCellStore(std::unique_ptr<GridCellStore> store);
  // While true, cell changes do not ask for a repaint: a store making rows during painting.
  void SetCellsQuiet(bool quiet) { m_bQuietCells = quiet; }
  bool AreCellsQuiet() const { return m_bQuietCells; }

  virtual void PrintHeader(QPainter& painter, int page);
  virtual void PrintFooter(QPainter& painter, int page);
  virtual void PrintHeadings(QPainter& painter, int page);

  // Qt events.
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void timerEvent(QTimerEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dragLeaveEvent(QDragLeaveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  enum class MouseMode {
    Nothing,
    SelectAll,
    SelectCol,
    SelectRow,
    SelectCells,
    SizingColumn,
    SizingRow,
    PrepareEdit,
    PrepareDrag
  };

  // Storage.
  CellSlot* Slot(int row, int col) const { return &m_store->At(row, col); }
  // The cell as an object for reading: the slot's object, or a scratch cell loaded from the
  // compact form (valid until the next call).
  CGridCellBase* CellForRead(int row, int col) const;
  CGridCell* LoadScratch(const CellSlot& slot) const;
  // The stand-in object of a typed class (made on first use).
  CGridCell* TypedScratch(const GridCellClass* cls) const;
  // Changes a cell through its object; a compact typed cell is made an object for the change and
  // kept compact afterwards when it still can be.
  template <typename Change>
  void ChangeCellObject(int row, int col, Change change);
  // Makes the slot hold an object (of the default class when compact) and returns it.
  CGridCellBase* Materialize(int row, int col);
  // Turns a plain object back into the compact form when it keeps nothing else.
  void CompactIfPlain(int row, int col);
  bool NewCellsAreCompact() const;
  void InitSlot(int row, int col, CellSlot& slot);
  void DestroyRowCells(int row);
  // DestroyRowCells for each row from `first` on that the store holds, the last first.
  void DestroyHeldRowsFrom(int first);
  // Adds rows [old, rows) to the store and the row heights; false when memory ran out first.
  bool AddRows(int rows);
  unsigned FixedFlagsFor(int row, int col) const;
  void ResetFixedFlags(int row, int col, bool resetColours);
  // Changes the style of a cell; false when out of range.
  template <typename Change>
  bool ChangeCellStyle(int row, int col, Change change);
  bool SetCellTextImpl(int row, int col, std::string_view text);

  // Geometry.
  int ViewHeight() const;
  int ViewWidth() const;
  int NextVisibleRow(int row, int step) const;  // -1 when none
  int NextVisibleCol(int col, int step) const;
  int ColumnLeft(int col) const;  // viewport x of a column's left edge
  int MaxTopRow() const;
  int BottomRow() const;  // last row at least partly on screen (cached)
  bool RowMayBeOnScreen(int row) const;
  int LastFullyVisibleRow() const;
  void ResetScrollBars();
  void SetTopRow(int row);
  void ScrollRows(int delta);
  // Column or row whose border is within the grab distance of the point, or -1.
  int ColumnBorderAt(const QPoint& point) const;
  int RowBorderAt(const QPoint& point) const;

  // Painting.

  // Selection and keyboard.
  void SetSelection(const GridSelection& selection, bool force, bool redraw);
  void OnSelecting(const CellId& current);
  void HandleNavigationKey(int key, Qt::KeyboardModifiers mods);
  bool HandleTab(bool forward);
  void OnChar(int key);
  void StartAutoScroll();
  void StopAutoScroll();
  void OnAutoScrollTick();
  void HideTitleTip();
  void UpdateTitleTip(const QPoint& point);
  void StartDrag();

  // Printing helpers.
  void PrintRow(QPainter& painter, int row, int y);
  int PrintableWidth() const;  // logical width of the columns
  // Draws a left and a right text in a header or footer band without letting them overlap.
  void PrintSideTexts(QPainter& painter, const QRect& area, const QString& left, const QString& right) const;

  // Data.
  int m_id = 0;
  std::unique_ptr<GridCellStore> m_store;
  bool m_bQuietCells = false;
  RowHeights m_rowHeights;
  std::vector<int> m_colWidths;
  int m_nFixedRows = 0;
  int m_nFixedCols = 0;
  const GridCellClass* m_defaultCellClass;
  std::array<std::unique_ptr<CGridDefaultCell>, 4> m_defaultCells;
  mutable std::unique_ptr<CGridCell> m_scratch;
  mutable std::vector<std::unique_ptr<CGridCell>> m_typedScratch;

  COLORREF m_crGridLineColour;
  COLORREF m_crGridBkColour;
  bool m_bGridBkFollowsSystem = true;
  int m_nGridLines = kGridLinesBoth;
  QList<QPixmap> m_images;

  CellId m_idCurrentCell;
  GridSelection m_selection;
  GridSelection m_prevSelection;  // kept by a Ctrl selection under way
  CellId m_SelectionStartCell;    // anchor
  CellId m_LeftClickDownCell;
  QPoint m_LeftClickDownPoint;
  QPoint m_LastMousePoint;
  int m_nSortColumn = -1;
  bool m_bSortAscending = true;
  bool m_bModified = false;

  bool m_bEditable = true;
  bool m_bRowMode = false;
  bool m_bSingleRowSelection = false;
  bool m_bEnableSelection = true;
  bool m_bAllowDragAndDrop = false;
  bool m_bAllowDraw = true;
  bool m_bHandleTabKey = true;
  bool m_bTrackFocusCell = true;
  bool m_bFrameFocus = true;
  bool m_bSortOnClick = false;
  bool m_bFixedRowSelection = true;
  bool m_bFixedColumnSelection = true;
  bool m_bAllowColumnResize = true;
  bool m_bAllowRowResize = true;
  bool m_bTitleTips = true;
  int m_nAutoSizeColumnStyle = kAutoSizeBoth;
  int m_nResizeCaptureRange = 3;
  int m_nAutoScrollPeriod = 25;
  int m_nRowsPerWheelNotch = 3;
  int m_wheelRemainder = 0;

  int m_nTopRow = 0;
  mutable int m_bottomRowCache = -2;  // -2: to be computed
  MouseMode m_MouseMode = MouseMode::Nothing;
  int m_resizeIndex = -1;
  QBasicTimer m_autoScrollTimer;
  bool m_bCtrlSelecting = false;

  QPointer<QWidget> m_pEditor;
  CellId m_editCell;
  bool m_bCommittingEditor = false;
  CellId m_dropTarget;
  TitleTip* m_titleTip = nullptr;
  CellId m_titleTipCell;
  bool m_bPrinting = false;

  // Print layout, in lines of the print font or average character widths.
  int m_nHeaderHeight = 2, m_nFooterHeight = 2, m_nLeftMargin = 4, m_nRightMargin = 4, m_nTopMargin = 1,
      m_nBottomMargin = 1, m_nGap = 1;
  std::string m_printHeaderLeft, m_printHeaderRight, m_printFooterLeft, m_printFooterRight;
  QFont m_printFont;
  int m_printCharWidth = 0;
  int m_printLineHeight = 0;
  int m_printPageWidth = 0;
  int m_printPageHeight = 0;
  double m_printScale = 1.0;           // device units per logical print unit
  std::vector<int> m_printPageStarts;  // first row of each page
  QPrinter* m_printer = nullptr;
};
