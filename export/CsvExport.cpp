#include "export/CsvExport.h"

#include <filesystem>
#include <string_view>

#include "data/DbRecordset.h"
#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/VariantText.h"
#include "data/ado/Variant.h"
#include "export/ExportUi.h"
#include "export/OutputFile.h"
#include "export/ScriptGenerator.h"
#include "text/OleDate.h"
#include "text/UserLocale.h"

namespace {
constexpr const char* kFailure = "Error during document generation";

void AppendQuoted(std::string& line, std::string_view text, std::string_view separator) {
  bool quote = text.find(separator) != std::string_view::npos;
  for (char c : text) {
    if (quote) break;
    if (c == '"' || c == '\r' || c == '\n') quote = true;
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
void AppendValueText(std::string& out, const ado::Variant& value, char point) {
  switch (value.vt()) {
    case ado::VT_EMPTY:
    case ado::VT_NULL:
      return;
    case ado::VT_BSTR:
      out += value.Str();
      return;
    case ado::VT_DATE: {
      const std::optional<DateParts> parts = OleDateToParts(value.Real());
      if (!parts || parts->year < 0 || parts->year > 9999) return;
      char text[] = "00/00/0000 00:00:00.000";
      AppendTwoDigits(text, parts->day);
      AppendTwoDigits(text + 3, parts->month);
      AppendTwoDigits(text + 6, parts->year / 100);
      AppendTwoDigits(text + 8, parts->year % 100);
      // A date at midnight is a day; any other keeps its time of day, and milliseconds when it has them.
      std::size_t length = 10;
      if (parts->hour != 0 || parts->minute != 0 || parts->second != 0 || parts->millisecond != 0) {
        AppendTwoDigits(text + 11, parts->hour);
        AppendTwoDigits(text + 14, parts->minute);
        AppendTwoDigits(text + 17, parts->second);
        length = 19;
        if (parts->millisecond != 0) {
          text[20] = static_cast<char>('0' + parts->millisecond / 100 % 10);
          AppendTwoDigits(text + 21, parts->millisecond % 100);
          length = 23;
        }
      }
      out.append(text, length);
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

void AppendField(std::string& line, const ado::Variant& value, std::string_view separator, char point,
                 std::string& scratch) {
  if (value.vt() == ado::VT_BSTR) return AppendQuoted(line, value.Str(), separator);
  scratch.clear();
  AppendValueText(scratch, value, point);
  AppendQuoted(line, scratch, separator);
}

// The first character of a UTF-8 text, all of its bytes; a byte that starts no valid sequence
// stands alone.
std::string_view FirstCharacter(std::string_view text) {
  if (text.empty()) return text;
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 1;
  if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  else if (lead >= 0xE0)
    length = 3;
  else if (lead >= 0xC2 && lead < 0xE0)
    length = 2;
  if (lead >= 0xF5 || length > text.size()) return text.substr(0, 1);
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return text.substr(0, 1);
  return text.substr(0, length);
}
}  // namespace

std::string CsvSeparator(const std::string& separatorText) {
  if (separatorText.empty()) return ";";
  return std::string(FirstCharacter(separatorText));
}

std::string CsvCellText(const ado::Variant& value, const std::string& separator) {
  std::string field;
  std::string scratch;
  AppendField(field, value, separator, UserDecimalPoint(), scratch);
  return field;
}

std::string CsvCellText(const ado::Variant& value, char separator) {
  return CsvCellText(value, std::string(1, separator));
}

bool WriteCsvFile(const std::string& path, DbRecordset& recordset, const std::string& separatorText, ExportUi& ui) {
  const std::string separator = CsvSeparator(separatorText);
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
  bool canceled = false;
  try {
    long rows = 0;
    while (!recordset.IsEOF()) {
      // Between two rows, so that a stopped export leaves only whole lines.
      if (rows % kProgressRows == 0 && !ui.Progress("", rows)) throw ExportCanceled();
      ++rows;
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
  } catch (const ExportCanceled&) {
    Trace(TraceWarning, "WriteCsvFile(\"%s\") : canceled", path.c_str());
    canceled = true;
    ok = false;
  } catch (const ado::ComError& e) {
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
  if (!ok && !canceled) ui.ShowMessage(kFailure, MessageIcon::Error);
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
