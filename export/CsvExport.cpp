#include "export/CsvExport.h"

#include <filesystem>

#include "data/DbRecordset.h"
#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/VariantText.h"
#include "data/ado/OleDate.h"
#include "data/ado/UserLocale.h"
#include "data/ado/Variant.h"
#include "export/ExportUi.h"
#include "export/OutputFile.h"
#include "export/ScriptGenerator.h"

namespace {
constexpr const char* kFailure = "Error during document generation";

void AppendQuoted(std::string& line, const std::string& text, char separator) {
  if (text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
    line += text;
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

std::string ValueText(const Variant& value, char point) {
  if (!value.HasValue()) return {};
  if (value.vt() == VT_DATE) {
    const std::optional<DateParts> parts = OleDateToParts(value.Real());
    if (!parts) return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", parts->day, parts->month, parts->year);
    return buffer;
  }
  if (value.vt() == VT_BSTR) return value.Str();
  if (value.IsByteArray()) return "0x" + HexDigits(value.Str());
  std::string text;
  if (AppendExactNumber(text, value, point)) return text;
  return VariantToText(value);
}
}  // namespace

std::string CsvCellText(const Variant& value, char separator) {
  std::string field;
  AppendQuoted(field, ValueText(value, UserDecimalPoint()), separator);
  return field;
}

bool WriteCsvFile(const std::string& path, DbRecordset& recordset, const std::string& separatorText, ExportUi& ui) {
  const char separator = separatorText.empty() ? ';' : separatorText[0];
  OutputFile file;
  if (!file.Open(path, false)) {
    Trace(TraceError, "WriteCsvFile(\"%s\") : cannot create the file", path.c_str());
    ui.ShowMessage(kFailure, MessageIcon::Error);
    return false;
  }
  std::vector<DbFieldInfo> fields;
  if (!recordset.GetFieldsInfo(fields)) {
    // Without the column list every line would come out empty.
    file.Close();
    ui.ShowMessage(kFailure, MessageIcon::Error);
    return false;
  }
  const char point = UserDecimalPoint();
  std::string line;
  for (std::size_t c = 0; c < fields.size(); ++c) {
    if (c) line += separator;
    AppendQuoted(line, fields[c].name, separator);
  }
  line += "\r\n";
  file.Write(line);
  bool ok = true;
  try {
    while (!recordset.IsEOF()) {
      line.clear();
      for (std::size_t c = 0; c < fields.size(); ++c) {
        if (c) line += separator;
        // By position: a query may hold two columns of the same name.
        AppendQuoted(line, ValueText(recordset.GetFieldVariantIdx(static_cast<long>(c)), point), separator);
      }
      line += "\r\n";
      file.Write(line);
      recordset.MoveNext();
    }
  } catch (const ComError& e) {
    Trace(TraceError, "%s", ComErrorText(e).c_str());
    ok = false;
  } catch (const std::exception&) {
    Trace(TraceError, "Generic error");
    ok = false;
  }
  if (!file.Close()) {
    Trace(TraceError, "WriteCsvFile(\"%s\") : writing failed", path.c_str());
    ok = false;
  }
  if (!ok) ui.ShowMessage(kFailure, MessageIcon::Error);
  return ok;
}

std::string ChangeFileExtension(const std::string& path, const std::string& extension) {
  std::filesystem::path p(path);
  p.replace_extension(extension);
  return p.string();
}

ResultExportFileChoice ResultExportFileChoiceFor(bool csv) {
  if (csv) return {ChangeFileExtension("export.xlsx", "csv"), "csv", "Csv files (*.csv)|*.csv|All files (*.*)|*.*||"};
  return {ChangeFileExtension("export.xlsx", "xlsx"), "xlsx", "Excel files (*.xlsx)|*.xlsx|All files (*.*)|*.*||"};
}
