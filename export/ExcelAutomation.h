#pragma once
// The spreadsheet behind the result export: the operations the export asks of Excel (a new workbook
// with one named sheet, a cell set by column and row, a scroll position, save under a path, close),
// done with libxlsxwriter. No program is started; the workbook is an .xlsx file.
//
// Rows stream out as they are written (libxlsxwriter's constant-memory mode): cells are set row by
// row, the header row first, and a row once left cannot be written again. The workbook is built in
// a temporary file and moves to its path only when saved, so a failed export leaves no half-written
// file and an existing file at the path stays until the new one replaces it.
//
// Cell values follow Excel's automation rules: a text is a text cell, and a leading apostrophe is
// Excel's mark for "keep as text", not part of the value; numbers are number cells (a number a cell
// cannot hold exactly, a 64-bit integer beyond 2^53 or a decimal with more digits than a double,
// becomes the text of its digits); booleans are boolean cells; dates are date cells shown as
// dd/mm/yyyy, dd/mm/yyyy hh:mm:ss or hh:mm:ss (dates before March 1900, which the sheet's calendar
// lacks, are texts); NULL leaves the cell empty; bytes are 0x and hexadecimal digits.
//
// The writer is available when the folder for temporary files (TMPDIR, else /tmp) can be written;
// otherwise construction fails as Excel's would ("Cannot create Excel app object.").
//
// Failures: an operation without a workbook sets Failed() and LastError() ("Error: no active sheet
// to work with."); what the sheet cannot hold raises SheetLimitError; other failures of the writer
// raise ComError.
#include <memory>
#include <stdexcept>
#include <string>

namespace ado {

class Variant;

}  // namespace ado

// What a worksheet cannot hold: more than 1,048,576 rows or 16,384 columns, a text of more than
// 32,767 characters. The message is for the user.
class SheetLimitError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr long kSheetMaxRows = 1048576;
inline constexpr int kSheetMaxColumns = 16384;
inline constexpr long kCellMaxTextLength = 32767;

// Column letters of a zero-based index: A..Z, AA..ZZ, AAA.. (bijective base 26), as far as XFD.
std::string ExcelColumnName(int column);
// The address of a zero-based column and row: "A1", "AB12".
std::string ExcelCellAddress(int column, long row);

class ExcelAutomation {
 public:
  ExcelAutomation();
  ~ExcelAutomation();  // an unsaved workbook is discarded
  ExcelAutomation(const ExcelAutomation&) = delete;
  ExcelAutomation& operator=(const ExcelAutomation&) = delete;

  bool IsAvailable() const;
  bool Failed() const { return failed_; }
  const std::string& LastError() const { return lastError_; }

  // There is no window to show: kept for the calls' sake.
  void SetVisible(bool visible) { visible_ = visible; }
  void SetScreenUpdating(bool updating) { screenUpdating_ = updating; }
  void SetDisplayAlerts(bool alerts) { displayAlerts_ = alerts; }

  // A new workbook with one worksheet of that name (any workbook not yet saved is discarded).
  // ComError when the name is not a valid sheet name.
  void NewWorkbook(const std::string& sheetName);
  // Zero-based column and row.
  void SetCell(int column, long row, const ado::Variant& value);
  // The first row shown (one-based), as Excel's ScrollRow.
  void ScrollToRow(long row);
  long ScrollRow() const { return scrollRow_; }
  // Writes the workbook under the path (a path without a folder is in the current directory),
  // replacing any file of that name. The workbook is closed by saving.
  void SaveAs(const std::string& path);
  // Discards a workbook that was not saved.
  void CloseWorkbooks();

 private:
  struct Workbook;
  bool NeedSheet();

  std::unique_ptr<Workbook> workbook_;
  bool failed_ = false;
  std::string lastError_;
  bool visible_ = false;
  bool screenUpdating_ = false;
  bool displayAlerts_ = false;
  long scrollRow_ = 1;
};
