#include "grid/db/GridCellToDbField.h"

#include <cstdint>

#include "data/DbRecordset.h"
#include "data/Trace.h"
#include "data/VariantText.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridColumnDef.h"
#include "grid/GridCtrlEx.h"
#include "grid/db/NullLabel.h"
#include "text/OleDate.h"

bool HasBaseTable(const DbFieldInfo& field) {
  return !field.baseTableName.empty() && field.baseTableName != "NULL";
}

ado::Variant GridCellToVariant(CGridCtrlEx& grid, int row, int col) {
  ado::Variant value = ado::Variant::Null();
  if (!grid.IsValid(row, col)) return value;
  const int kind = grid.GetCellType(row, col);
  const std::string text = grid.GetCellText(row, col);
  const bool hasText = text != GetNullLabel();
  // A number cell the user cleared holds no number, whatever the null label reads.
  const bool hasNumber = hasText && !text.empty();
  const CGridCellBase* cell = grid.GetCellForRead(row, col);
  switch (kind) {
    case gctText:
      if (hasText) value = ado::Variant(text);
      break;
    case gctInteger:
      // Eight bytes: keys and counters beyond 2^31 come back as they were.
      if (hasNumber)
        if (auto* integer = dynamic_cast<const CGridCellInteger*>(cell)) value = ado::Variant(integer->GetInteger());
      break;
    case gctNumericEx:
      if (hasNumber)
        if (auto* number = dynamic_cast<const CGridCellNumericEx*>(cell)) value = ado::Variant(number->GetNumber());
      break;
    case gctCheckbox:
      value = ado::Variant(grid.GetCellData(row, col) != 0);
      break;
    case gctDate:
      if (auto* date = dynamic_cast<const CGridCellDateTimeEx*>(cell); date && date->IsValidDateTime()) {
        const GridDateTime d = date->GetDateTime();
        DateParts parts;
        parts.year = d.year;
        parts.month = d.month;
        parts.day = d.day;
        parts.hour = d.hour;
        parts.minute = d.minute;
        parts.second = d.second;
        if (auto ole = PartsToOleDate(parts)) value = ado::Variant::Date(*ole);
      }
      break;
    case gctComboEx:
      if (const std::intptr_t data = grid.GetCellData(row, col); data >= 1)
        value = ado::Variant(static_cast<std::int32_t>(data));
      break;
    default:
      break;
  }
  return value;
}

void GridCellToDbField(CGridCtrlEx* grid, int row, int col, DbRecordset* recordset, const DbFieldInfo& field,
                       bool isNew) {
  if (!grid || !recordset) return;
  const ado::Variant value = GridCellToVariant(*grid, row, col);
  const std::string& name = field.name;
  DbFieldInfo info;
  recordset->GetFieldInfo(name, info);
  const long r = row;
  const long c = col;
  if (!value.IsNull()) {
    Trace(TraceGrid, "GridCellToDbField() cell(%ld,%ld) --> rs.SetFieldValue( \"%s\", \"%s\" )\n", r, c, name.c_str(),
          VariantToText(value).c_str());
    recordset->SetFieldValue(name, value);
  } else if (info.mayBeNull) {
    Trace(TraceGrid, "GridCellToDbField() cell(%ld,%ld) --> rs.SetFieldNull( \"%s\" )\n", r, c, name.c_str());
    recordset->SetFieldNull(name);
  } else if (isNew) {
    Trace(TraceGrid, "GridCellToDbField() cell(%ld,%ld) --> do nothing on field \"%s\" (use default value)\n", r, c,
          name.c_str());
  } else {
    Trace(TraceGrid, "GridCellToDbField() cell(%ld,%ld) --> rs.SetFieldValue( \"%s\", \"\" )\n", r, c, name.c_str());
    recordset->SetFieldValue(name, ado::Variant(std::string()));
  }
}

void GridCellToDbFieldIdx(CGridCtrlEx* grid, int row, int col, DbRecordset* recordset, long fieldIndex, bool isNew) {
  if (!grid || !recordset) return;
  const ado::Variant value = GridCellToVariant(*grid, row, col);
  DbFieldInfo info;
  recordset->GetFieldInfoIdx(fieldIndex, info);
  const long r = row;
  const long c = col;
  if (!value.IsNull()) {
    Trace(TraceGrid, "GridCellToDbField() cell(%ld,%ld) --> rs.SetFieldValueIdx( %ld, \"%s\" )\n", r, c, fieldIndex,
          VariantToText(value).c_str());
    recordset->SetFieldValueIdx(fieldIndex, value);
  } else if (info.mayBeNull) {
    Trace(TraceGrid, "GridCellToDbField() cell(%ld,%ld) --> rs.SetFieldNullIdx(%ld)\n", r, c, fieldIndex);
    recordset->SetFieldNullIdx(fieldIndex);
  } else if (isNew) {
    Trace(TraceGrid, "GridCellToDbField() cell(%ld,%ld) --> do nothing on field [%ld] (use default value)\n", r, c,
          fieldIndex);
  } else {
    Trace(TraceGrid, "GridCellToDbField() cell(%ld,%ld) --> rs.SetFieldValueIdx(%ld,\"\")\n", r, c, fieldIndex);
    recordset->SetFieldValueIdx(fieldIndex, ado::Variant(std::string()));
  }
}
