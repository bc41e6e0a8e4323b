#pragma once
// The CSV writer of the result export, and the file names the export command proposes.
//
// A CSV file: the column names, then one line per row from the recordset's current row to its end;
// fields separated by one character; CR LF after every line; UTF-8 text without a byte-order mark.
// It reads back as the same table with a strict CSV reader: a field (names included) is enclosed in
// double quotes, its quotes doubled, when it holds the separator, a double quote, CR or LF. Numbers
// keep every digit, with the user's decimal point; dates are written day first, dd/mm/yyyy, with the
// time of day (hh:mm:ss, and .mmm when it has milliseconds) unless it is midnight.
#include <string>

class DbRecordset;
class ExportUi;
namespace ado {
class Variant;
}  // namespace ado

// The separator is the first character of separatorText (CsvSeparator). True on success;
// otherwise "Error during document generation" was shown with the error icon: the file could not be
// created, a row could not be read (the lines written so far stay), or a write failed. Rows written
// are reported to ui.Progress; when it answers false the file ends after the last whole line and the
// result is false, without a message.
bool WriteCsvFile(const std::string& path, DbRecordset& recordset, const std::string& separatorText, ExportUi& ui);

// The field separator of a setting: its first character, all the bytes of a UTF-8 character
// ("é" stays whole), or ";" when the setting is empty.
std::string CsvSeparator(const std::string& separatorText);

// One field of a CSV line: empty for NULL; a date as dd/mm/yyyy, or dd/mm/yyyy hh:mm:ss[.mmm] when
// it has a time of day (empty when it has no calendar date); numbers exactly (integers in digits, doubles as the
// shortest text that reads back, decimals and currency in full); booleans TRUE or FALSE; bytes as 0x and hexadecimal
// digits; anything else as VariantToText gives it. Quoted as above.
std::string CsvCellText(const ado::Variant& value, const std::string& separator);
std::string CsvCellText(const ado::Variant& value, char separator);

// The path with its extension replaced, or added when it has none ("export.xlsx", "csv" gives
// "export.csv").
std::string ChangeFileExtension(const std::string& path, const std::string& extension);

// What the export command offers in its file dialog: the proposed file name, the default extension
// and the filter, for CSV or for a workbook (.xlsx).
struct ResultExportFileChoice {
  std::string proposedName;
  std::string defaultExtension;
  std::string filter;
};
ResultExportFileChoice ResultExportFileChoiceFor(bool csv);
