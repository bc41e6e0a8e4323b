// Sorting by a header click and filtering through the filter row: both go to the recordset,
// which decides the rows; the grid only refills.
#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/ado/ComError.h"
#include "grid/db/DataTypeToColumnType.h"
#include "grid/db/DbGridCtrl.h"
#include "grid/db/GridCriteria.h"
#include "text/StringFormat.h"
#include "text/TextUtil.h"

void CDbGridCtrl::OnGridClick(int row, int col) {
  GridTrace("OnGridClick( row=%d, col=%d )\n", row, col);
  SetFocusCell(row, col);
  if (IsFilterRow(row) && col >= 0 && col <= GetFixedColumnCount()) {
    ClearFilters();
    return;
  }
  if (!m_options.sortable || !m_recordset || !m_recordset->IsOpen() || row != 0) return;
  int sortColumn = col;
  bool ascending = GetSortAscending();
  if (col == 0) {
    sortColumn = -1;
    ascending = true;
  } else if (col == GetSortColumn()) {
    ascending = !ascending;
  }
  SortRecordset(sortColumn, ascending);
  SetSortColumn(sortColumn);
  SetSortAscending(ascending);
  // After the column and its arrow are set, so that the header is measured with the arrow.
  GrowColumnsToFit();
}

bool CDbGridCtrl::SortRecordset(int col, bool ascending) {
  if (!m_recordset || !m_recordset->IsOpen() || IsFetching()) return false;
  const int field = col - GetFixedColumnCount();
  DbFieldInfo info;
  if (field < 0 || !m_recordset->GetFieldInfoIdx(field, info)) return false;
  const std::string criteria = SortCriteria(info.name, ascending);
  GridTrace("CDbGridCtrl::SortRecordset() : criteria : \"%s\"\n", criteria.c_str());
  OnBeforeSort();
  emit SortChanging();
  try {
    m_recordset->Sort(criteria);
    Update(false);
    OnAfterSort();
    emit SortChanged();
  } catch (const ado::ComError&) {
    // The recordset has traced the refusal; the rows stay as they were.
  }
  return false;
}

std::string CDbGridCtrl::BuildFilterCriteria() {
  std::string criteria;
  const int filterRow = GetFilterRow();
  if (!IsFilterRow(filterRow) || filterRow >= GetRowCount() || !m_recordset || !m_recordset->IsOpen()) return criteria;
  for (int col = GetFixedColumnCount(); col < GetColumnCount(); ++col) {
    const std::string text = Trim(GetCellText(filterRow, col));
    if (text.empty()) continue;
    DbFieldInfo info;
    if (!m_recordset->GetFieldInfoIdx(col - GetFixedColumnCount(), info)) continue;
    const int kind = DataTypeToColumnType(info.type);
    std::string shown;
    const std::string condition = FilterCondition(kind, info.name, text, shown);
    if (kind == gctDate && condition.empty()) {
      // The typed text stays, so that the person sees what was not understood.
      emit FilterRefused(QString::fromStdString(
          FormatString("Filter on %s: \"%s\" is not a date (day/month/year).", info.name.c_str(), text.c_str())));
      continue;
    }
    if (kind == gctDate) SetCellText(filterRow, col, shown);
    if (condition.empty()) continue;
    if (!criteria.empty()) criteria += " AND ";
    criteria += condition;
  }
  return criteria;
}

void CDbGridCtrl::FilterRecordset(const std::string& criteria) {
  if (!m_recordset || !m_recordset->IsOpen() || IsFetching()) return;
  OnBeforeFilter();
  emit FilterChanging();
  GridTrace("CDbGridCtrl::FilterRecordset() : criteria is \"%s\"\n", criteria.c_str());
  try {
    m_recordset->Filter(criteria.empty() ? nullptr : criteria.c_str());
    SetRowCountAfterRecorset();
    Update(false);
    m_filterActive = !criteria.empty();
    SetFilterMarker(m_filterActive);
    GrowColumnsToFit();
    OnAfterFilter();
    emit FilterChanged();
  } catch (const ado::ComError& e) {
    // The recordset has traced the refusal; rows and marker stay as they were, and the person
    // is told why.
    const std::string why = e.Description().empty() ? ComErrorText(e) : e.Description();
    emit FilterRefused(QString::fromStdString("Filter not applied: " + why));
  }
}

void CDbGridCtrl::ClearFilters() {
  const int filterRow = GetFilterRow();
  if (IsFilterRow(filterRow) && filterRow < GetRowCount()) {
    for (int col = GetFixedColumnCount(); col < GetColumnCount(); ++col) {
      SetCellText(filterRow, col, "");
      SetCellData(filterRow, col, 0);
    }
  }
  FilterRecordset("");
}

void CDbGridCtrl::SetFilterMarker(bool on) {
  const int filterRow = GetFilterRow();
  if (!IsFilterRow(filterRow) || GetFixedColumnCount() < 1) return;
  SetCellImage(filterRow, GetFixedColumnCount() - 1, on ? kDbGridImageFilterOn : kDbGridImageNoFilter);
}
