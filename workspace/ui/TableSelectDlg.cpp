#include "workspace/ui/TableSelectDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <numeric>

#include "grid/GridCtrlEx.h"
#include "resources/Art.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/SchemaBrowsing.h"

namespace {
using D = CTableSelectDlg;

// Template 464: 348 x 234 dialog units. The black frame marks where the grid goes.
const ControlDef kControls[] = {
    {D::kPrompt, ControlKind::Static, "Prompt ...", 7, 4, 270, 8},
    {D::kFilterLabel, ControlKind::Static, "Filter", 7, 15, 60, 8},
    {D::kFilter, ControlKind::Edit, "", 7, 24, 176, 14},
    {D::kOk, ControlKind::DefPushButton, "OK", 291, 7, 50, 14, ControlFlag::Disabled},
    {D::kCancel, ControlKind::PushButton, "Cancel", 291, 24, 50, 14},
    {D::kGrid, ControlKind::Frame, "", 7, 45, 332, 183},
};

// Kind, name and count: text columns with empty headers.
std::vector<GridColumnDef> TableColumns() {
  std::vector<GridColumnDef> columns(3);
  const int widths[] = {15, 100, 20};
  for (std::size_t i = 0; i < columns.size(); ++i) {
    columns[i].kind = gctText;
    columns[i].width = widths[i];
  }
  return columns;
}

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}
}  // namespace

CTableSelectDlg::CTableSelectDlg(QWidget* parent) : CSizableDialog(parent) {
  setWindowTitle(QStringLiteral("Selection list dialog"));
  const DialogUnits units;
  controls_.Create(this, kControls, units);
  resize(units.ToPixels(QSize(348, 234)));

  // The grid takes the frame's place, id and tab position; the frame itself goes.
  QWidget* frame = controls_.Get(kGrid);
  grid_ = new CGridCtrlEx(this);
  grid_->Create(frame->geometry(), this, kGrid);
  grid_->setObjectName(QStringLiteral("control%1").arg(kGrid));
  grid_->setProperty("controlId", kGrid);
  grid_->Initialize();
  grid_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);  // the client edge
  grid_->setFocusPolicy(Qt::StrongFocus);
  grid_->SetHeaderSort(false);  // sorting is the dialog's, so a filtered list keeps its order
  grid_->EnableDragAndDrop(false);
  grid_->SetImageList(TableKindImages());
  grid_->SetColumns(TableColumns());
  QWidget::setTabOrder(frame, grid_);
  delete frame;
  grid_->show();

  connect(controls_.As<QPushButton>(kOk), &QPushButton::clicked, this, &QDialog::accept);
  connect(controls_.As<QPushButton>(kCancel), &QPushButton::clicked, this, &QDialog::reject);
  connect(FilterEdit(), &QLineEdit::textChanged, this, [this] { FillGrid(); });
  connect(grid_, &CGridCtrl::Notify, this, [this](GridNotify& n) { OnGridNotify(n); });
  FilterEdit()->installEventFilter(this);
  grid_->installEventFilter(this);
}

CTableSelectDlg::~CTableSelectDlg() {
  // Kept in memory; the next SaveAll writes it.
  AppSettings().SetText("General", "LastTablesFilterUsed", FilterEdit()->text().toStdString());
}

QLineEdit* CTableSelectDlg::FilterEdit() const {
  return controls_.As<QLineEdit>(kFilter);
}

bool CTableSelectDlg::OnInitDialog() {
  CSizableDialog::OnInitDialog();
  setWindowTitle(ToQString(title));
  // Again: the widths are shared out over the grid's width, known once it is laid out.
  grid_->SetColumns(TableColumns());

  controls_.As<QLabel>(kPrompt)->setText(ToQString(prompt));
  AnchorControl(controls_.Get(kOk), ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT);
  AnchorControl(controls_.Get(kCancel), ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT);
  AnchorControl(grid_, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
  const QString last = ToQString(AppSettings().GetString("General", "LastTablesFilterUsed"));
  if (FilterEdit()->text() == last)
    FillGrid();  // no change, so no fill by the edit's signal
  else
    FilterEdit()->setText(last);
  FilterEdit()->setFocus();
  grid_->ExpandLastColumn();
  return true;
}

void CTableSelectDlg::FillGrid() {
  const QString filter = FilterEdit()->text();
  grid_->SetRedraw(false);
  grid_->ClearSelection();
  grid_->SetFocusCell(-1, -1);
  grid_->SetRowCount(static_cast<int>(entries.size()) + 1);
  int row = 1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& [name, kind] = entries[i];
    if (!filter.isEmpty() && !ToQString(name).contains(filter, Qt::CaseInsensitive)) continue;
    grid_->SetCellText(row, 0, TableKindLetter(kind));
    grid_->SetCellImage(row, 0, TableKindImageIndex(kind));
    grid_->SetCellText(row, 1, name);
    const bool counted = i < counts.size() && counts[i] != kNoRecordCount;
    grid_->SetCellText(row, 2, counted ? std::to_string(counts[i]) : std::string());
    ++row;
  }
  grid_->SetRowCount(row);
  grid_->SetSortColumn(sortColumn_);
  grid_->SetSortAscending(sortAscending_);
  grid_->SetRedraw(true, true);
  UpdateOkButton();
}

void CTableSelectDlg::SortByColumn(int col, bool ascending) {
  if (!counts.empty()) counts.resize(entries.size(), kNoRecordCount);
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0);
  auto countOf = [this](std::size_t i) { return i < counts.size() ? counts[i] : kNoRecordCount; };
  auto less = [&](std::size_t a, std::size_t b) {
    if (col == 0 && entries[a].second != entries[b].second)
      return TableKindLetter(entries[a].second) < TableKindLetter(entries[b].second);
    if (col == 2 && countOf(a) != countOf(b)) return countOf(a) < countOf(b);
    return ToQString(entries[a].first).compare(ToQString(entries[b].first), Qt::CaseInsensitive) < 0;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return ascending ? less(a, b) : less(b, a); });
  std::vector<std::pair<std::string, int>> sortedEntries;
  std::vector<long> sortedCounts;
  for (std::size_t i : order) {
    sortedEntries.push_back(std::move(entries[i]));
    if (!counts.empty()) sortedCounts.push_back(counts[i]);
  }
  entries = std::move(sortedEntries);
  counts = std::move(sortedCounts);
  sortColumn_ = col;
  sortAscending_ = ascending;
  FillGrid();
}

void CTableSelectDlg::OnGridNotify(GridNotify& n) {
  switch (n.code) {
    case kNotifySelChanged:
      UpdateOkButton();
      break;
    case kNotifyDoubleClick:
      if (n.row > 0) accept();
      break;
    case kNotifyClick:
      if (n.row == 0 && n.col >= 0) {
        const bool ascending = n.col == sortColumn_ ? !sortAscending_ : sortAscending_;
        SortByColumn(n.col, ascending);
      }
      break;
    default:
      break;
  }
}

bool CTableSelectDlg::FocusOnDataRow() const {
  const int row = grid_->GetFocusCell().row;
  return row > 0 && row < grid_->GetRowCount();
}

void CTableSelectDlg::UpdateOkButton() {
  controls_.Get(kOk)->setEnabled(FocusOnDataRow());
}

bool CTableSelectDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return CSizableDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (watched == FilterEdit() && key == Qt::Key_Down) {
    grid_->setFocus();
    if (grid_->GetRowCount() > 1) {
      grid_->SelectRow(1, true);
      grid_->SetFocusCell(1, 1);
    }
    UpdateOkButton();
    return true;
  }
  if (watched == grid_) {
    if (key == Qt::Key_Up && grid_->GetFocusCell().row == 1) {
      FilterEdit()->setFocus();
      return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Only a table row: the header row names no table.
      if (FocusOnDataRow()) accept();
      return true;
    }
  }
  return CSizableDialog::eventFilter(watched, event);
}

void CTableSelectDlg::accept() {
  if (!FocusOnDataRow()) return;
  result_ = grid_->GetCellText(grid_->GetFocusCell().row, 1);
  CSizableDialog::accept();
}

void CTableSelectDlg::resizeEvent(QResizeEvent* event) {
  CSizableDialog::resizeEvent(event);
  if (IsInitialized()) grid_->ExpandLastColumn();
}
