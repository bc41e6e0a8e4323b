#pragma once
// The workbook of the result export: one worksheet, a header row with the column names, one row
// per record from the recordset's current row to its end, saved under the path.
#include <string>

class DbRecordset;
class ExportUi;

// True on success. A text that begins with a digit (or with an apostrophe) goes to the sheet with
// an apostrophe in front, Excel's mark that keeps it a text; NULL gives an empty cell. Failures
// show "Error during Excel document generation" (error icon) after any more specific message: the
// spreadsheet missing ("Si prega di verificare l'istallazione di Excel", caption "ERROR"), or a
// result larger than a worksheet holds. Nothing is saved then. Rows written are reported to
// ui.Progress; when it answers false the workbook is discarded and the result is false, without a
// message.
bool WriteExcelFile(const std::string& path, const std::string& sheetName, DbRecordset& recordset, ExportUi& ui);
