#include "export/ExcelExport.h"

#include <vector>

#include "data/DbRecordset.h"
#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/ado/Variant.h"
#include "export/ExcelAutomation.h"
#include "export/ExportUi.h"

namespace {
// Excel would read a text such as 007 as the number 7, and would take a leading apostrophe as its
// text mark: such texts get the mark of their own.
ado::Variant CellValue(ado::Variant value) {
  if (value.vt() != ado::VT_BSTR) return value;
  const std::string& text = value.Str();
  if (text.empty()) return value;
  const char first = text.front();
  if ((first >= '0' && first <= '9') || first == '\'') return ado::Variant("'" + text);
  return value;
}
}  // namespace

bool WriteExcelFile(const std::string& path, const std::string& sheetName, DbRecordset& recordset, ExportUi& ui) {
  bool result = false;
  ExcelAutomation excel;
  if (!excel.IsAvailable()) {
    ui.ShowMessage("Si prega di verificare l'istallazione di Excel", MessageIcon::Exclamation, "ERROR");
  } else {
    try {
      std::vector<DbFieldInfo> fields;
      if (!recordset.GetFieldsInfo(fields))
        throw ado::ComError(ado::E_FAIL, "The fields of the result cannot be described.");
      excel.SetVisible(true);
      excel.SetScreenUpdating(true);
      excel.SetDisplayAlerts(true);
      excel.NewWorkbook(sheetName);
      for (std::size_t c = 0; c < fields.size(); ++c)
        excel.SetCell(static_cast<int>(c), 0, CellValue(ado::Variant(fields[c].name)));
      long row = 1;
      while (!recordset.IsEOF()) {
        if ((row - 1) % kProgressRows == 0 && !ui.Progress("", row - 1)) throw ExportCanceled();
        for (std::size_t c = 0; c < fields.size(); ++c) {
          // By position: a query may hold two columns of the same name.
          excel.SetCell(static_cast<int>(c), row, CellValue(recordset.GetFieldVariantIdx(static_cast<long>(c))));
        }
        excel.ScrollToRow(row);
        recordset.MoveNext();
        ++row;
      }
      excel.ScrollToRow(1);
      excel.SaveAs(path);
      excel.CloseWorkbooks();
      result = !excel.Failed();
      if (!result) Trace(TraceError, "%s", excel.LastError().c_str());
    } catch (const ExportCanceled&) {
      // Stopped by the user: the workbook is discarded, which is no failure to report.
      Trace(TraceWarning, "WriteExcelFile() : canceled");
      return false;
    } catch (const SheetLimitError& e) {
      Trace(TraceError, "%s", e.what());
      ui.ShowMessage(e.what(), MessageIcon::Exclamation);
    } catch (const ado::ComError& e) {
      Trace(TraceError, "%s", ComErrorText(e).c_str());
    } catch (const std::exception&) {
      Trace(TraceError, "Generic error");
    }
  }
  if (!result) ui.ShowMessage("Error during Excel document generation", MessageIcon::Error);
  return result;
}
