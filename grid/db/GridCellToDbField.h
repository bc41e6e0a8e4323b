#pragma once
// Cells of a grid back into database values: shared by in-place editing in the result grid and
// by the record form. A cell showing the null label exactly is no value.
#include "data/DbFieldInfo.h"
#include "data/ado/Variant.h"

class CGridCtrlEx;
class DbRecordset;

// The field shows a column of a table, so a value can go back to it; a computed column's base
// table name reads as empty or as the text of NULL.
bool HasBaseTable(const DbFieldInfo& field);

// The database value of cell (row, col) by the cell's kind: a text, an 8-byte integer, a double,
// a boolean (a check box is never NULL), a date (NULL when the cell holds no valid date), a combo
// value of at least 1; NULL otherwise. An emptied number cell is NULL too.
ado::Variant GridCellToVariant(CGridCtrlEx& grid, int row, int col);

// Writes cell (row, col) into the recordset's field named by `field` (only its name is used):
// the value, or NULL where the field may be NULL. A non-nullable field without a value is left
// alone in a new record (the database's default applies) and set to "" in an existing one.
// Each case leaves a grid trace line. Raises ComError from the recordset.
void GridCellToDbField(CGridCtrlEx* grid, int row, int col, DbRecordset* recordset, const DbFieldInfo& field,
                       bool isNew);
// The same by field index.
void GridCellToDbFieldIdx(CGridCtrlEx* grid, int row, int col, DbRecordset* recordset, long fieldIndex, bool isNew);
