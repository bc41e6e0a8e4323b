#include "export/CsvExport.h"

#include <filesystem>
#include <string_view>

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

void AppendQuoted(std::string& line, std::string_view text, char separator) {
  bool quote = false;
  for (char c : text) {
    if (c == separator || c == '"' || c == '\r' || c == '\n') {
      quote = true;
      break;
    }
  }
  if (!quote) {
    line.append(text);
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

void AppendTwoDigits(char* at, int n) {
  at[0] = static_cast<char>('0' + n / 10 % 10);
  at[1] = static_cast<char>('0' + n % 10);
}

// The field text of a value (before quoting) appended to out.
void AppendValueText(std::string& out, const Variant& value, char point) {
  switch (value.vt()) {
    case VT_EMPTY:
    case VT_NULL:
      return;
    case VT_BSTR:
      out += value.Str();
      return;
    case VT_DATE: {
      const std::optional<DateParts> parts = OleDateToParts(value.Real());
      if (!parts || parts->year < 0 || parts->year > 9999) return;
      char text[10] = {0, 0, '/', 0, 0, '/'};
      AppendTwoDigits(text, parts->day);
      AppendTwoDigits(text + 3, parts->month);
      AppendTwoDigits(text + 6, parts->year / 100);
      AppendTwoDigits(text + 8, parts->year % 100);
      out.append(text, sizeof text);
      return;
    }
    default:
      break;
  }
  if (value.IsByteArray()) {
    out += "0x";
    out += HexDigits(value.Str());
    return;
  }
  if (AppendExactNumber(out, value, point)) return;
  out += VariantToText(value);
}

void AppendField(std::string& line, const Variant& value, char separator, char point, std::string& scratch) {
  if (value.vt() == VT_BSTR) return AppendQuoted(line, value.Str(), separator);
  scratch.clear();
  AppendValueText(scratch, value, point);
  AppendQuoted(line, scratch, separator);
}
}  // namespace

std::string CsvCellText(const Variant& value, char separator) {
  std::string field;
  std::string scratch;
  AppendField(field, value, separator, UserDecimalPoint(), scratch);
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
  std::string scratch;
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
        AppendField(line, recordset.GetFieldVariantIdx(static_cast<long>(c)), separator, point, scratch);
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
