// Construction, cell storage, counts, cell properties, focus and selection.
#include "grid/GridCtrl.h"

#include <QApplication>
#include <QScrollBar>
#include <new>

#include "grid/CellTypeProfile.h"
#include "grid/GridColour.h"
#include "grid/InPlaceEditor.h"
#include "grid/OwnedCellStore.h"
#include "grid/TitleTip.h"

namespace {

int DefaultCellIndex(bool fixedRow, bool fixedCol) {
  return (fixedRow ? 2 : 0) + (fixedCol ? 1 : 0);
}

}  // namespace

CGridCtrl::CGridCtrl(QWidget* parent, int rows, int cols, int fixedRows, int fixedCols)
    : QAbstractScrollArea(parent), m_defaultCellClass(&CGridCell::ClassInfo()) {
  setObjectName(QLatin1String(kWindowClassName));
  const QPalette pal = QApplication::palette();
  for (int i = 0; i < 4; ++i) {
    auto cell = std::make_unique<CGridDefaultCell>();
    cell->SetGrid(nullptr);
    cell->SizeFromFont();
    cell->SetTextColour(ToColorRef(pal.color(QPalette::WindowText)));
    cell->SetBackColour(ToColorRef(pal.color(i == 0 ? QPalette::Base : QPalette::Button)));
    m_defaultCells[static_cast<std::size_t>(i)] = std::move(cell);
  }
  m_crGridLineColour = RGB(192, 192, 192);
  m_crGridBkColour = ToColorRef(pal.color(QPalette::Dark));
  m_nRowsPerWheelNotch = QApplication::wheelScrollLines();
  m_scratch = std::make_unique<CGridCell>();
  m_scratch->SetGrid(this);

  setFocusPolicy(Qt::WheelFocus);
  setAttribute(Qt::WA_KeyCompression, false);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setSingleStep(20);

  m_store = std::make_unique<OwnedCellStore>();
  m_store->SetSlotInit([this](int row, int col, CellSlot& slot) { InitSlot(row, col, slot); });
  SetRowCount(rows);
  SetColumnCount(cols);
  SetFixedRowCount(fixedRows);
  SetFixedColumnCount(fixedCols);
}

CGridCtrl::~CGridCtrl() {
  // An open editor must not call back into a grid that is going away; what it holds would go
  // into cells that are going away too.
  if (auto* editor = InPlaceEditorBase::FromWidget(m_pEditor)) editor->Abandon();
  delete m_titleTip;
}

bool CGridCtrl::Create(const QRect& rect, QWidget* parent, int id) {
  setParent(parent);
  setGeometry(rect);
  m_id = id;
  const CGridDefaultCell* def = GetDefaultCell(false, false);
  m_rowHeights.Fill(def->GetHeight());
  std::fill(m_colWidths.begin(), m_colWidths.end(), def->GetWidth());
  m_bottomRowCache = -2;
  ResetScrollBars();
  if (parent && parent->isVisible()) show();
  return true;
}

// ---------------------------------------------------------------- storage

bool CGridCtrl::NewCellsAreCompact() const {
  return m_defaultCellClass == &CGridCell::ClassInfo();
}

unsigned CGridCtrl::FixedFlagsFor(int row, int col) const {
  unsigned flags = 0;
  if (row < m_nFixedRows) flags |= kCellFixed | kCellFixedRow;
  if (col < m_nFixedCols) flags |= kCellFixed | kCellFixedCol;
  return flags;
}

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int, int) {
  std::unique_ptr<CGridCellBase> cell(m_defaultCellClass->create());
  cell->SetGrid(this);
  return cell;
}

void CGridCtrl::InitSlot(int row, int col, CellSlot& slot) {
  if (NewCellsAreCompact()) {
    slot.SetState(static_cast<std::uint8_t>(FixedFlagsFor(row, col)));
    return;
  }
  std::unique_ptr<CGridCellBase> cell = CreateCell(row, col);
  cell->SetState(FixedFlagsFor(row, col));
  slot.SetObject(std::move(cell));
}

CGridCell* CGridCtrl::TypedScratch(const GridCellClass* cls) const {
  for (const auto& cell : m_typedScratch)
    if (&cell->GetRuntimeClass() == cls) return cell.get();
  // Only classes derived from CGridCell have compact forms.
  std::unique_ptr<CGridCell> cell(static_cast<CGridCell*>(cls->create()));
  cell->SetGrid(const_cast<CGridCtrl*>(this));
  m_typedScratch.push_back(std::move(cell));
  return m_typedScratch.back().get();
}

CGridCell* CGridCtrl::LoadScratch(const CellSlot& slot) const {
  CGridCell* cell = slot.IsTyped() ? TypedScratch(CellTypePool::Get(slot.Profile()).cls) : m_scratch.get();
  cell->LoadFromSlot(slot);
  return cell;
}

CGridCellBase* CGridCtrl::CellForRead(int row, int col) const {
  const CellSlot* slot = Slot(row, col);
  if (CGridCellBase* cell = slot->Object()) return cell;
  return LoadScratch(*slot);
}

CGridCellBase* CGridCtrl::Materialize(int row, int col) {
  CellSlot* slot = Slot(row, col);
  if (CGridCellBase* cell = slot->Object()) return cell;
  std::unique_ptr<CGridCell> cell;
  if (slot->IsTyped())
    cell.reset(static_cast<CGridCell*>(CellTypePool::Get(slot->Profile()).cls->create()));
  else
    cell = std::make_unique<CGridCell>();
  cell->SetGrid(this);
  cell->LoadFromSlot(*slot);
  CGridCellBase* raw = cell.get();
  slot->SetObject(std::move(cell));
  return raw;
}

bool CGridCtrl::CompactCell(int row, int col) {
  if (!IsValid(row, col)) return false;
  CellSlot* slot = Slot(row, col);
  CGridCellBase* cell = slot->Object();
  if (!cell) return true;
  if (IsEditing(cell) || !cell->IsKindOf(CGridCell::ClassInfo())) return false;
  CellSlot compact;
  if (!static_cast<const CGridCell*>(cell)->SaveToSlot(compact)) return false;
  *slot = std::move(compact);  // deletes the object
  return true;
}

void CGridCtrl::CompactIfPlain(int row, int col) {
  const CGridCellBase* cell = Slot(row, col)->Object();
  if (cell && &cell->GetRuntimeClass() == &CGridCell::ClassInfo()) CompactCell(row, col);
}

template <typename Change>
void CGridCtrl::ChangeCellObject(int row, int col, Change change) {
  CellSlot* slot = Slot(row, col);
  if (CGridCellBase* cell = slot->Object()) {
    change(*cell);
    return;
  }
  const bool typed = slot->IsTyped();
  change(*Materialize(row, col));
  // Nobody outside holds the object just made.
  if (typed) CompactCell(row, col);
}

bool CGridCtrl::StoreCompactValue(int row, int col, const GridCellClass& cls, std::uint64_t value) {
  if (!IsValid(row, col)) return false;
  CellSlot* slot = Slot(row, col);
  if (!slot->IsTyped()) return false;
  const std::uint32_t profile = slot->Profile();
  if (CellTypePool::Get(profile).cls != &cls) return false;
  slot->SetTypedValue(profile, value);
  return true;
}

bool CGridCtrl::StoreCompactText(int row, int col, const GridCellClass& cls, std::string_view text) {
  if (!IsValid(row, col)) return false;
  CellSlot* slot = Slot(row, col);
  if (!slot->IsTyped()) return false;
  const std::uint32_t profile = slot->Profile();
  const CellTypeProfile& type = CellTypePool::Get(profile);
  // A check box's text is its state: it has no text form.
  if (type.cls != &cls || type.valueIsData) return false;
  slot->SetTypedText(profile, text);
  return true;
}

bool CGridCtrl::GetInlineCellForm(int row, int col, InlineCellForm& form) const {
  return IsValid(row, col) && Slot(row, col)->GetInlineForm(form);
}

bool CGridCtrl::SetInlineCellForm(int row, int col, const InlineCellForm& form) {
  if (!IsValid(row, col) || Slot(row, col)->Object()) return false;
  Slot(row, col)->SetInlineForm(form);
  return true;
}

void CGridCtrl::DestroyCell(int, int) {}

bool CGridCtrl::SetCellStore(std::unique_ptr<GridCellStore> store) {
  if (!store || GetRowCount() != 0 || GetColumnCount() != 0) return false;
  m_store = std::move(store);
  m_store->SetSlotInit([this](int row, int col, CellSlot& slot) { InitSlot(row, col, slot); });
  return true;
}

void CGridCtrl::DestroyRowCells(int row) {
  const int cols = GetColumnCount();
  for (int col = 0; col < cols; ++col) DestroyCell(row, col);
}

void CGridCtrl::DestroyHeldRowsFrom(int first) {
  // Only rows the store holds have cells to let go: a result of millions of rows holds a few
  // screens of them. Last row first, as rows are dropped.
  std::vector<int> rows;
  m_store->ForEachHeldRow([&](int row) {
    if (row >= first) rows.push_back(row);
  });
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) DestroyRowCells(*it);
}

// ---------------------------------------------------------------- counts and sizes

bool CGridCtrl::SetRowCount(int rows) {
  if (rows < 0) return false;
  const int old = GetRowCount();
  if (rows == old) return true;
  if (m_pEditor && m_editCell.row >= rows) StopEdit();
  if (m_nFixedRows > rows) m_nFixedRows = rows;
  if (m_idCurrentCell.row >= rows) m_idCurrentCell = CellId();
  if (m_LeftClickDownCell.row >= rows) m_LeftClickDownCell = CellId();
  if (m_SelectionStartCell.row >= rows) m_SelectionStartCell = CellId();
  HideTitleTip();

  bool ok = true;
  if (rows < old) {
    DestroyHeldRowsFrom(rows);
    m_store->SetRowCount(rows);
    m_rowHeights.Resize(static_cast<std::size_t>(rows), 0);
  } else {
    ok = AddRows(rows);
  }
  m_selection.ClipTo(GetRowCount(), GetColumnCount());
  m_prevSelection.ClipTo(GetRowCount(), GetColumnCount());
  SetModified();
  m_bottomRowCache = -2;
  ResetScrollBars();
  viewport()->update();
  return ok;
}

bool CGridCtrl::AddRows(int rows) {
  const int height = GetDefaultCell(false, false)->GetHeight();
  const int made = m_store->SetRowCount(rows);
  try {
    m_rowHeights.Resize(static_cast<std::size_t>(made), height);
  } catch (const std::bad_alloc&) {
    m_store->SetRowCount(GetRowCount());
    qWarning("CGridCtrl::SetRowCount: out of memory for %d rows", rows);
    return false;
  }
  if (made < rows) {
    // The rows made so far stay; the counts say how many.
    qWarning("CGridCtrl::SetRowCount: out of memory after %d rows", made);
    return false;
  }
  return true;
}

bool CGridCtrl::GrowRowCount(int rows) {
  const int old = GetRowCount();
  if (rows <= old || GetColumnCount() == 0) return false;
  const bool ok = AddRows(rows);
  m_selection.ClipTo(GetRowCount(), GetColumnCount());
  m_prevSelection.ClipTo(GetRowCount(), GetColumnCount());
  m_bottomRowCache = -2;
  ResetScrollBars();
  if (m_bAllowDraw && RowMayBeOnScreen(old)) viewport()->update();
  return ok;
}

bool CGridCtrl::SetColumnCount(int cols) {
  if (cols < 0) return false;
  const int old = GetColumnCount();
  if (cols == old) return true;
  if (m_pEditor && m_editCell.col >= cols) StopEdit();
  if (m_nFixedCols > cols) m_nFixedCols = cols;
  if (m_idCurrentCell.col >= cols) m_idCurrentCell = CellId();
  if (m_LeftClickDownCell.col >= cols) m_LeftClickDownCell = CellId();
  if (m_SelectionStartCell.col >= cols) m_SelectionStartCell = CellId();
  if (m_nSortColumn >= cols) m_nSortColumn = -1;
  HideTitleTip();

  // Out of memory changes nothing, except that the dropped cells were told.
  m_store->ForEachHeldRow([&](int row) {
    for (int col = cols; col < old; ++col) DestroyCell(row, col);
  });
  if (!m_store->SetColumnCount(cols)) {
    qWarning("CGridCtrl::SetColumnCount: out of memory");
    return false;
  }
  m_colWidths.resize(static_cast<std::size_t>(cols), GetDefaultCell(false, false)->GetWidth());
  m_selection.ClipTo(GetRowCount(), GetColumnCount());
  m_prevSelection.ClipTo(GetRowCount(), GetColumnCount());
  SetModified();
  ResetScrollBars();
  viewport()->update();
  return true;
}

void CGridCtrl::ResetFixedFlags(int row, int col, bool resetColours) {
  CellSlot* slot = Slot(row, col);
  const unsigned fixed = kCellFixed | kCellFixedRow | kCellFixedCol;
  if (CGridCellBase* cell = slot->Object()) {
    cell->SetState((cell->GetState() & ~fixed) | FixedFlagsFor(row, col));
    if (resetColours) {
      cell->SetTextColour(CLR_DEFAULT);
      cell->SetBackColour(CLR_DEFAULT);
    }
    return;
  }
  slot->SetState(static_cast<std::uint8_t>((slot->State() & ~fixed) | FixedFlagsFor(row, col)));
  if (resetColours) {
    ChangeCellStyle(row, col, [](CellStyle& s) {
      s.textColour = CLR_DEFAULT;
      s.backColour = CLR_DEFAULT;
    });
  }
}

bool CGridCtrl::SetFixedRowCount(int fixedRows) {
  if (fixedRows < 0) return false;
  if (fixedRows == m_nFixedRows) return true;
  ClearSelection();
  if (GetRowCount() < fixedRows && !SetRowCount(fixedRows)) return false;
  if (m_idCurrentCell.row >= 0 && m_idCurrentCell.row < fixedRows) m_idCurrentCell = CellId();
  const int old = m_nFixedRows;
  m_nFixedRows = fixedRows;
  const int cols = GetColumnCount();
  for (int row = std::min(old, fixedRows); row < std::max(old, fixedRows); ++row)
    for (int col = 0; col < cols; ++col) ResetFixedFlags(row, col, true);
  if (m_nTopRow < m_nFixedRows) m_nTopRow = m_nFixedRows;
  m_bottomRowCache = -2;
  ResetScrollBars();
  viewport()->update();
  return true;
}

bool CGridCtrl::SetFixedColumnCount(int fixedCols) {
  if (fixedCols < 0) return false;
  if (fixedCols == m_nFixedCols) return true;
  ClearSelection();
  if (GetColumnCount() < fixedCols && !SetColumnCount(fixedCols)) return false;
  if (m_idCurrentCell.col >= 0 && m_idCurrentCell.col < fixedCols) m_idCurrentCell = CellId();
  const int old = m_nFixedCols;
  m_nFixedCols = fixedCols;
  // Rows the store makes later take the new flags when they are made.
  m_store->ForEachHeldRow([&](int row) {
    for (int col = std::min(old, fixedCols); col < std::max(old, fixedCols); ++col) ResetFixedFlags(row, col, true);
  });
  ResetScrollBars();
  viewport()->update();
  return true;
}

int CGridCtrl::GetRowHeight(int row) const {
  return row >= 0 && row < GetRowCount() ? m_rowHeights[static_cast<std::size_t>(row)] : -1;
}

int CGridCtrl::GetColumnWidth(int col) const {
  return col >= 0 && col < GetColumnCount() ? m_colWidths[static_cast<std::size_t>(col)] : -1;
}

bool CGridCtrl::SetRowHeight(int row, int height) {
  if (height < 0 || row < 0 || row >= GetRowCount()) return false;
  m_rowHeights.Set(static_cast<std::size_t>(row), height);
  m_bottomRowCache = -2;
  ResetScrollBars();
  viewport()->update();
  return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width) {
  if (width < 0 || col < 0 || col >= GetColumnCount()) return false;
  m_colWidths[static_cast<std::size_t>(col)] = width;
  ResetScrollBars();
  viewport()->update();
  return true;
}

int CGridCtrl::GetFixedRowHeight() const {
  return static_cast<int>(m_rowHeights.Sum(0, static_cast<std::size_t>(m_nFixedRows)));
}

int CGridCtrl::GetFixedColumnWidth() const {
  int w = 0;
  for (int col = 0; col < m_nFixedCols; ++col) w += m_colWidths[static_cast<std::size_t>(col)];
  return w;
}

long long CGridCtrl::GetVirtualWidth() const {
  long long w = 0;
  for (int width : m_colWidths) w += width;
  return w;
}

long long CGridCtrl::GetVirtualHeight() const {
  return m_rowHeights.Sum();
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol) const {
  return m_defaultCells[static_cast<std::size_t>(DefaultCellIndex(fixedRow, fixedCol))].get();
}

// ---------------------------------------------------------------- cells

bool CGridCtrl::IsValid(const CellRange& range) const {
  return range.IsValid() && IsValid(range.minRow, range.minCol) && IsValid(range.maxRow, range.maxCol);
}

CGridCellBase* CGridCtrl::GetCell(int row, int col) {
  return IsValid(row, col) ? Materialize(row, col) : nullptr;
}

const GridCellClass* CGridCtrl::GetCellClass(int row, int col) const {
  if (!IsValid(row, col)) return nullptr;
  const CellSlot* slot = Slot(row, col);
  if (const CGridCellBase* cell = slot->Object()) return &cell->GetRuntimeClass();
  return slot->IsTyped() ? CellTypePool::Get(slot->Profile()).cls : &CGridCell::ClassInfo();
}

bool CGridCtrl::SetCellType(int row, int col, const GridCellClass* cls) {
  if (!IsValid(row, col) || !cls || !cls->create || !cls->IsDerivedFrom(&CGridCellBase::ClassInfo())) return false;
  // A cell of the same plain class would take over exactly what it replaces.
  if (cls == &CGridCell::ClassInfo() && GetCellClass(row, col) == cls) return true;
  std::unique_ptr<CGridCellBase> cell(cls->create());
  cell->SetGrid(this);
  if (m_pEditor && m_editCell == CellId(row, col)) StopEdit();
  cell->CopyPropertiesFrom(*CellForRead(row, col));
  Slot(row, col)->SetObject(std::move(cell));
  CompactCell(row, col);  // a new object: nobody holds it yet
  RedrawCell(row, col);
  return true;
}

bool CGridCtrl::SetDefaultCellType(const GridCellClass* cls) {
  if (!cls || !cls->create || !cls->IsDerivedFrom(&CGridCellBase::ClassInfo())) return false;
  m_defaultCellClass = cls;
  return true;
}

bool CGridCtrl::SetCellTextImpl(int row, int col, std::string_view text) {
  if (!IsValid(row, col)) return false;
  CellSlot* slot = Slot(row, col);
  if (slot->IsPlain())
    slot->SetText(text);
  else
    ChangeCellObject(row, col, [text](CGridCellBase& cell) { cell.SetText(text); });
  RedrawCell(row, col);
  return true;
}

bool CGridCtrl::SetCellText(int row, int col, std::string_view text) {
  if (!SetCellTextImpl(row, col, text)) return false;
  SetModified(true, row, col);
  return true;
}

bool CGridCtrl::StoreCellText(int row, int col, std::string_view text) {
  return SetCellTextImpl(row, col, text);
}

std::string CGridCtrl::GetCellText(int row, int col) const {
  if (!IsValid(row, col)) return {};
  const CellSlot* slot = Slot(row, col);
  if (slot->IsPlain()) return std::string(slot->Text());
  return CellForRead(row, col)->GetText();
}

bool CGridCtrl::SetCellData(int row, int col, std::intptr_t data) {
  if (!IsValid(row, col)) return false;
  CellSlot* slot = Slot(row, col);
  if (!slot->IsPlain() || data != 0) ChangeCellObject(row, col, [data](CGridCellBase& cell) { cell.SetData(data); });
  SetModified(true, row, col);
  return true;
}

std::intptr_t CGridCtrl::GetCellData(int row, int col) const {
  if (!IsValid(row, col)) return 0;
  const CellSlot* slot = Slot(row, col);
  if (const CGridCellBase* cell = slot->Object()) return cell->GetData();
  // Compact cells have no data value, except check boxes whose value it is.
  if (slot->HasValue() && CellTypePool::Get(slot->Profile()).valueIsData)
    return static_cast<std::intptr_t>(slot->Value());
  return 0;
}

bool CGridCtrl::SetCellImage(int row, int col, int image) {
  if (!IsValid(row, col)) return false;
  CellSlot* slot = Slot(row, col);
  if (slot->Object() || image >= 0) Materialize(row, col)->SetImage(image);
  SetModified(true, row, col);
  RedrawCell(row, col);
  return true;
}

int CGridCtrl::GetCellImage(int row, int col) const {
  if (!IsValid(row, col)) return -1;
  const CGridCellBase* cell = Slot(row, col)->Object();
  return cell ? cell->GetImage() : -1;
}

template <typename Change>
bool CGridCtrl::ChangeCellStyle(int row, int col, Change change) {
  if (!IsValid(row, col)) return false;
  CellSlot* slot = Slot(row, col);
  if (slot->IsCompact()) {
    CellStyle style = CellStylePool::Get(slot->Style());
    change(style);
    const std::uint32_t id = CellStylePool::Intern(style);
    if (id <= 0xFFFF) {
      slot->SetStyle(static_cast<std::uint16_t>(id));
      RedrawCell(row, col);
      return true;
    }
  }
  auto* cell = dynamic_cast<CGridCell*>(Materialize(row, col));
  if (!cell) return false;
  CellStyle style = cell->Style();
  change(style);
  cell->SetStyleId(CellStylePool::Intern(style));
  RedrawCell(row, col);
  return true;
}

bool CGridCtrl::SetCellFormat(int row, int col, unsigned format) {
  if (!IsValid(row, col)) return false;
  if (CGridCellBase* cell = Slot(row, col)->Object(); cell && !dynamic_cast<CGridCell*>(cell)) {
    cell->SetFormat(format);
    RedrawCell(row, col);
    return true;
  }
  return ChangeCellStyle(row, col, [format](CellStyle& s) { s.format = format; });
}

unsigned CGridCtrl::GetCellFormat(int row, int col) const {
  return IsValid(row, col) ? CellForRead(row, col)->GetFormat() : 0;
}

bool CGridCtrl::SetCellBackColour(int row, int col, COLORREF colour) {
  if (!IsValid(row, col)) return false;
  if (CGridCellBase* cell = Slot(row, col)->Object(); cell && !dynamic_cast<CGridCell*>(cell)) {
    cell->SetBackColour(colour);
    RedrawCell(row, col);
    return true;
  }
  return ChangeCellStyle(row, col, [colour](CellStyle& s) { s.backColour = colour; });
}

COLORREF CGridCtrl::GetCellBackColour(int row, int col) const {
  return IsValid(row, col) ? CellForRead(row, col)->GetBackColour() : CLR_DEFAULT;
}

bool CGridCtrl::SetCellTextColour(int row, int col, COLORREF colour) {
  if (!IsValid(row, col)) return false;
  if (CGridCellBase* cell = Slot(row, col)->Object(); cell && !dynamic_cast<CGridCell*>(cell)) {
    cell->SetTextColour(colour);
    RedrawCell(row, col);
    return true;
  }
  return ChangeCellStyle(row, col, [colour](CellStyle& s) { s.textColour = colour; });
}

COLORREF CGridCtrl::GetCellTextColour(int row, int col) const {
  return IsValid(row, col) ? CellForRead(row, col)->GetTextColour() : CLR_DEFAULT;
}

bool CGridCtrl::SetCellFont(int row, int col, const QFont* font) {
  return ChangeCellStyle(row, col, [font](CellStyle& s) {
    if (font)
      s.font = *font;
    else
      s.font.reset();
  });
}

bool CGridCtrl::SetCellMargin(int row, int col, int margin) {
  if (!IsValid(row, col)) return false;
  if (CGridCellBase* cell = Slot(row, col)->Object(); cell && !dynamic_cast<CGridCell*>(cell)) {
    cell->SetMargin(margin);
    RedrawCell(row, col);
    return true;
  }
  return ChangeCellStyle(row, col, [margin](CellStyle& s) { s.margin = margin < 0 ? -1 : margin; });
}

bool CGridCtrl::SetCellMaxLength(int row, int col, unsigned length) {
  return ChangeCellStyle(row, col, [length](CellStyle& s) { s.maxLength = length; });
}

bool CGridCtrl::SetCellLongText(int row, int col, bool longText) {
  return ChangeCellStyle(row, col, [longText](CellStyle& s) { s.longText = longText; });
}

bool CGridCtrl::SetCellState(int row, int col, unsigned state) {
  if (!IsValid(row, col)) return false;
  if (state & kCellSelected)
    m_selection.Add(CellRange(row, col, row, col));
  else
    m_selection.Remove(CellRange(row, col, row, col));
  const unsigned positional = kCellFixed | kCellFixedRow | kCellFixedCol;
  const unsigned stored = (state & ~(kCellFocused | kCellSelected | positional)) | FixedFlagsFor(row, col);
  CellSlot* slot = Slot(row, col);
  CGridCellBase* cell = slot->Object();
  const unsigned old = cell ? cell->GetState() : slot->State();
  if (cell)
    cell->SetState(stored);
  else
    slot->SetState(static_cast<std::uint8_t>(stored));
  if (((old ^ stored) & kCellModified) && col == m_nSortColumn) SetSortColumn(-1);
  RedrawCell(row, col);
  return true;
}

unsigned CGridCtrl::GetCellState(int row, int col) const {
  if (!IsValid(row, col)) return 0;
  const CellSlot* slot = Slot(row, col);
  const CGridCellBase* cell = slot->Object();
  unsigned state = cell ? cell->GetState() : slot->State();
  if (m_idCurrentCell == CellId(row, col)) state |= kCellFocused;
  if (m_selection.Contains(row, col)) state |= kCellSelected;
  if (m_dropTarget == CellId(row, col)) state |= kCellDropTarget;
  return state;
}

bool CGridCtrl::IsCellEditable(int row, int col) const {
  return m_bEditable && IsValid(row, col) && !(GetCellState(row, col) & kCellReadOnly);
}

void CGridCtrl::SetModified(bool modified, int row, int col) {
  if (row >= 0 && col >= 0) {
    if (!IsValid(row, col)) return;
    CellSlot* slot = Slot(row, col);
    if (CGridCellBase* cell = slot->Object())
      cell->SetState(modified ? (cell->GetState() | kCellModified) : (cell->GetState() & ~kCellModified));
    else
      slot->SetState(
          static_cast<std::uint8_t>(modified ? (slot->State() | kCellModified) : (slot->State() & ~kCellModified)));
    if (modified) m_bModified = true;
    if (col == m_nSortColumn) SetSortColumn(-1);
    return;
  }
  if (!modified) {
    const int cols = GetColumnCount();
    m_store->ForEachHeldRow([&](int r) {
      for (int c = 0; c < cols; ++c) {
        CellSlot* slot = Slot(r, c);
        if (CGridCellBase* cell = slot->Object())
          cell->SetState(cell->GetState() & ~kCellModified);
        else
          slot->SetState(static_cast<std::uint8_t>(slot->State() & ~kCellModified));
      }
    });
  }
  m_bModified = modified;
  SetSortColumn(-1);
}

bool CGridCtrl::GetModified(int row, int col) const {
  if (row >= 0 && col >= 0) return IsValid(row, col) && (GetCellState(row, col) & kCellModified);
  return m_bModified;
}

bool CGridCtrl::RedrawCell(int row, int col) {
  if (!IsValid(row, col)) return false;
  if (m_bAllowDraw && !m_bQuietCells && RowMayBeOnScreen(row)) viewport()->update();
  return true;
}

void CGridCtrl::RedrawRow(int row) {
  if (m_bAllowDraw && !m_bQuietCells && row >= 0 && row < GetRowCount() && RowMayBeOnScreen(row)) viewport()->update();
}

// ---------------------------------------------------------------- look and options

void CGridCtrl::SetSortColumn(int col) {
  if (col == m_nSortColumn) return;
  m_nSortColumn = col;
  if (m_bAllowDraw) viewport()->update();
}

void CGridCtrl::SetGridLines(int lines) {
  m_nGridLines = lines;
  viewport()->update();
}

void CGridCtrl::SetGridLineColour(COLORREF colour) {
  m_crGridLineColour = colour;
  viewport()->update();
}

void CGridCtrl::SetGridBkColour(COLORREF colour) {
  m_crGridBkColour = colour;
  m_bGridBkFollowsSystem = colour == ToColorRef(QApplication::palette().color(QPalette::Dark));
  viewport()->update();
}

void CGridCtrl::SetImageList(const QList<QPixmap>& images) {
  m_images = images;
  viewport()->update();
}

void CGridCtrl::SetEditable(bool editable) {
  m_bEditable = editable;
  viewport()->update();
}

void CGridCtrl::SetRowSelectionMode(bool rowMode) {
  m_bRowMode = rowMode;
  ClearSelection();
  SetSortColumn(-1);
}

void CGridCtrl::EnableSelection(bool enable) {
  m_bEnableSelection = enable;
  if (!enable) ClearSelection();
}

void CGridCtrl::EnableDragAndDrop(bool enable) {
  m_bAllowDragAndDrop = enable;
  setAcceptDrops(enable);
  viewport()->setAcceptDrops(enable);
}

void CGridCtrl::SetRedraw(bool allow, bool resetScrollBars) {
  if (allow == m_bAllowDraw && !resetScrollBars) return;
  m_bAllowDraw = allow;
  if (allow) {
    if (resetScrollBars) ResetScrollBars();
    viewport()->update();
  }
}

void CGridCtrl::SetTrackFocusCell(bool track) {
  m_bTrackFocusCell = track;
  viewport()->update();
}

void CGridCtrl::SetFrameFocusCell(bool frame) {
  m_bFrameFocus = frame;
  viewport()->update();
}

// ---------------------------------------------------------------- focus and selection

CellId CGridCtrl::SetFocusCell(int row, int col) {
  const CellId previous = m_idCurrentCell;
  if (row != -1 && row < m_nFixedRows) row = m_nFixedRows;
  if (col != -1 && col < m_nFixedCols) col = m_nFixedCols;
  if (row >= GetRowCount() || col >= GetColumnCount()) row = col = -1;
  const CellId next(row, col);
  if (next == previous) return previous;
  m_idCurrentCell = next;
  HideTitleTip();
  if (m_bAllowDraw) viewport()->update();
  return previous;
}

void CGridCtrl::SetSelection(const GridSelection& selection, bool force, bool redraw) {
  m_selection = selection;
  if (!redraw || !m_bAllowDraw) return;
  if (force)
    viewport()->repaint();
  else
    viewport()->update();
}

void CGridCtrl::SelectRange(int minRow, int minCol, int maxRow, int maxCol, bool force, bool redraw) {
  if (!m_bEnableSelection) return;
  GridSelection selection;
  if (m_bCtrlSelecting) selection = m_prevSelection;
  CellRange range(std::min(minRow, maxRow), std::min(minCol, maxCol), std::max(minRow, maxRow),
                  std::max(minCol, maxCol));
  range = range.Intersect(GetCellRange());
  selection.Add(range);
  SetSelection(selection, force, redraw);
}

void CGridCtrl::ClearSelection() {
  if (m_selection.IsEmpty()) return;
  m_selection.Clear();
  if (m_bAllowDraw) viewport()->update();
}

void CGridCtrl::SelectAllCells() {
  if (!m_bEnableSelection) return;
  SelectRange(m_nFixedRows, m_nFixedCols, GetRowCount() - 1, GetColumnCount() - 1);
}

void CGridCtrl::SelectColumns(const CellId& current, bool forceRedraw) {
  if (!m_bEnableSelection || current.col < m_nFixedCols) return;
  const int from = m_SelectionStartCell.col >= m_nFixedCols ? m_SelectionStartCell.col : current.col;
  SelectRange(m_nFixedRows, std::min(from, current.col), GetRowCount() - 1, std::max(from, current.col), forceRedraw);
}

void CGridCtrl::SelectRows(const CellId& current, bool forceRedraw) {
  if (!m_bEnableSelection || current.row < m_nFixedRows) return;
  int from = m_SelectionStartCell.row >= m_nFixedRows ? m_SelectionStartCell.row : current.row;
  if (m_bSingleRowSelection) from = current.row;
  SelectRange(std::min(from, current.row), m_nFixedCols, std::max(from, current.row), GetColumnCount() - 1,
              forceRedraw);
}

void CGridCtrl::SelectCells(const CellId& current, bool forceRedraw) {
  if (!m_bEnableSelection || current.row < m_nFixedRows || current.col < m_nFixedCols) return;
  if (m_bRowMode) {
    SelectRows(current, forceRedraw);
    return;
  }
  const CellId from = IsValid(m_SelectionStartCell) && !IsCellFixed(m_SelectionStartCell.row, m_SelectionStartCell.col)
                          ? m_SelectionStartCell
                          : current;
  SelectRange(from.row, from.col, current.row, current.col, forceRedraw);
}

void CGridCtrl::OnSelecting(const CellId& current) {
  switch (m_MouseMode) {
    case MouseMode::SelectAll:
      SelectAllCells();
      break;
    case MouseMode::SelectCol:
      SelectColumns(current);
      break;
    case MouseMode::SelectRow:
      SelectRows(current);
      break;
    case MouseMode::SelectCells:
      SelectCells(current);
      break;
    default:
      break;
  }
}

CellRange CGridCtrl::GetCellRange() const {
  if (GetRowCount() == 0 || GetColumnCount() == 0) return {};
  return CellRange(0, 0, GetRowCount() - 1, GetColumnCount() - 1);
}

void CGridCtrl::MoveFocusTo(int row, int col, bool keepAnchor) {
  if (!IsValid(row, col)) return;
  const CellId next(row, col);
  if (!keepAnchor || !IsValid(m_SelectionStartCell)) m_SelectionStartCell = next;
  SendNotify(kNotifySelChanging, row, col);
  if (m_bEnableSelection) {
    if (m_bRowMode)
      SelectRows(next);
    else
      SelectCells(next);
  }
  SendNotify(kNotifySelChanged, row, col);
  SetFocusCell(next);
  EnsureVisible(next);
  if (m_bAllowDraw) viewport()->update();
}

// ---------------------------------------------------------------- notifications

int CGridCtrl::SendNotify(int code, int row, int col) {
  GridNotify n;
  n.grid = this;
  n.id = m_id;
  n.code = code;
  n.row = row;
  n.col = col;
  OnNotifyReflect(n);
  emit Notify(n);
  return n.result;
}

void CGridCtrl::OnNotifyReflect(GridNotify&) {}
