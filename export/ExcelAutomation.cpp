#include "export/ExcelAutomation.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "data/Trace.h"
#include "data/VariantText.h"
#include "data/ado/ComError.h"
#include "data/ado/Variant.h"
#include "export/ScriptGenerator.h"
#include "text/OleDate.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kSource = "Qelvo.Spreadsheet";
constexpr const char* kNoSheet = "Error: no active sheet to work with.";
// Doubles hold every integer up to 2^53 exactly.
constexpr std::int64_t kExactIntegerLimit = std::int64_t{1} << 53;
// The first automation date the sheet's 1900 calendar shares with it: 1 March 1900.
constexpr double kFirstSharedDate = 61.0;

[[noreturn]] void Raise(const std::string& text) {
  throw ado::ComError(ado::E_FAIL, text, kSource);
}

void Check(lxw_error error, const char* what) {
  if (error == LXW_NO_ERROR) return;
  if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
    throw SheetLimitError("A text is longer than a worksheet cell holds (32,767 characters).");
  Raise(std::string(what) + ": " + lxw_strerror(error));
}

// The file format writes control characters as _xHHHH_ (the writer does so); a text that holds such
// a sequence itself keeps it by escaping its underscore, _x005F_, as spreadsheets do.
std::string EscapeUnderscoreSequences(const std::string& text) {
  if (text.find("_x") == std::string::npos) return text;
  auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && isHex(text[i + 2]) && isHex(text[i + 3]) &&
        isHex(text[i + 4]) && isHex(text[i + 5]) && text[i + 6] == '_') {
      out += "_x005F";
    }
    out += text[i];
  }
  return out;
}

std::string ShortestFloatText(float value) {
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, ec == std::errc() ? end : buffer);
}
}  // namespace

std::string ExcelColumnName(int column) {
  std::string name;
  for (long n = static_cast<long>(column) + 1; n > 0; n = (n - 1) / 26)
    name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

std::string ExcelCellAddress(int column, long row) {
  return ExcelColumnName(column) + std::to_string(row + 1);
}

struct ExcelAutomation::Workbook {
  lxw_workbook* book = nullptr;
  lxw_worksheet* sheet = nullptr;
  lxw_format* date = nullptr;
  lxw_format* dateTime = nullptr;
  lxw_format* time = nullptr;
  std::string file;       // the temporary file the workbook is built in
  std::string tmpFolder;  // the writer's own temporary files, for the life of the workbook
  long row = 0;           // the row being written

  ~Workbook() {
    if (book) lxw_workbook_free(book);
    if (!file.empty()) ::unlink(file.c_str());
  }

  void Text(int column, long r, const std::string& text) {
    Check(worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(column),
                                 EscapeUnderscoreSequences(text).c_str(), nullptr),
          "Cannot set a cell");
  }

  void Number(int column, long r, double value, lxw_format* format = nullptr) {
    Check(worksheet_write_number(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(column), value, format),
          "Cannot set a cell");
  }
};

namespace {
// The folder the workbook is built in: the writer needs it as Excel needs its program.
std::string WorkFolder() {
  std::error_code error;
  const fs::path folder = fs::temp_directory_path(error);
  if (error || ::access(folder.c_str(), W_OK | X_OK) != 0) return {};
  return folder.string();
}
}  // namespace

ExcelAutomation::ExcelAutomation() {
  if (WorkFolder().empty()) {
    failed_ = true;
    lastError_ = "Cannot create Excel app object.";
    Trace(TraceError, "COM not initialized or Excel not installed");
  }
}

ExcelAutomation::~ExcelAutomation() {
  CloseWorkbooks();
}

bool ExcelAutomation::IsAvailable() const {
  return !WorkFolder().empty();
}

bool ExcelAutomation::NeedSheet() {
  if (workbook_ && workbook_->sheet) return true;
  failed_ = true;
  lastError_ = kNoSheet;
  return false;
}

void ExcelAutomation::NewWorkbook(const std::string& sheetName) {
  workbook_.reset();
  auto made = std::make_unique<Workbook>();
  std::string folder = WorkFolder();
  if (folder.empty()) Raise("No writable folder for temporary files");
  std::string pattern = (fs::path(folder) / "qelvo-workbook-XXXXXX").string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) Raise("Cannot create a temporary file for the workbook");
  ::close(fd);
  made->file = pattern;
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  made->tmpFolder = folder;
  options.tmpdir = made->tmpFolder.data();
  made->book = workbook_new_opt(made->file.c_str(), &options);
  if (!made->book) Raise("Cannot create the workbook");
  const lxw_error nameError = workbook_validate_sheet_name(made->book, sheetName.c_str());
  if (nameError != LXW_NO_ERROR) Raise("\"" + sheetName + "\" is not a valid sheet name: " + lxw_strerror(nameError));
  made->sheet = workbook_add_worksheet(made->book, sheetName.c_str());
  if (!made->sheet) Raise("Cannot add the worksheet \"" + sheetName + "\"");
  made->date = workbook_add_format(made->book);
  format_set_num_format(made->date, "dd/mm/yyyy");
  made->dateTime = workbook_add_format(made->book);
  format_set_num_format(made->dateTime, "dd/mm/yyyy hh:mm:ss");
  made->time = workbook_add_format(made->book);
  format_set_num_format(made->time, "hh:mm:ss");
  workbook_ = std::move(made);
  scrollRow_ = 1;
}

void ExcelAutomation::SetCell(int column, long row, const ado::Variant& value) {
  if (!NeedSheet()) return;
  Workbook& w = *workbook_;
  if (column < 0 || column >= kSheetMaxColumns)
    throw SheetLimitError("The result has more columns than a worksheet holds (16,384).");
  if (row < 0 || row >= kSheetMaxRows)
    throw SheetLimitError("The result has more rows than a worksheet holds (1,048,575 rows below the header).");
  // The rows stream out as they are written: one left behind cannot be changed any more.
  if (row < w.row)
    throw ado::ComError(ado::E_INVALIDARG,
                        "Cell " + ExcelCellAddress(column, row) + " comes after row " + std::to_string(w.row + 1) +
                            ": cells are written row by row",
                        kSource);
  w.row = row;

  switch (value.vt()) {
    case ado::VT_EMPTY:
    case ado::VT_NULL:
      return;
    case ado::VT_BSTR: {
      const std::string& text = value.Str();
      // Excel's mark for text: the apostrophe itself is not part of the value.
      if (!text.empty() && text.front() == '\'') return w.Text(column, row, text.substr(1));
      return w.Text(column, row, text);
    }
    case ado::VT_BOOL:
      Check(worksheet_write_boolean(w.sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                    value.Bool() ? 1 : 0, nullptr),
            "Cannot set a cell");
      return;
    case ado::VT_DATE: {
      const double date = value.Real();
      const double whole = std::floor(date);
      if (date >= 0 && date < 1) return w.Number(column, row, date, w.time);
      // The sheet counts a 29 February 1900 that never was: before March its numbers are one less.
      double serial = date;
      if (date >= 2 && date < kFirstSharedDate) serial = date - 1;
      if (date >= 2) return w.Number(column, row, serial, date == whole ? w.date : w.dateTime);
      std::string text = "";
      if (auto p = OleDateToParts(date)) {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", p->day, p->month, p->year, p->hour,
                      p->minute, p->second);
        text = buffer;
      }
      return w.Text(column, row, text);
    }
    case ado::VT_R4:
      if (!std::isfinite(value.Real())) return w.Text(column, row, value.ToText());
      // Through the single's own shortest text, so that 0.1f is the cell 0.1.
      return w.Number(column, row, std::strtod(ShortestFloatText(static_cast<float>(value.Real())).c_str(), nullptr));
    case ado::VT_R8:
      if (!std::isfinite(value.Real())) return w.Text(column, row, value.ToText());
      return w.Number(column, row, value.Real());
    default:
      break;
  }
  if (value.IsByteArray()) return w.Text(column, row, "0x" + HexDigits(value.Str()));
  if (IsNumberVariant(value)) {
    std::string digits;
    AppendExactNumber(digits, value);
    const double number = value.ToDouble();
    bool exact = false;
    if (value.vt() == ado::VT_DECIMAL || value.vt() == ado::VT_CY) {
      const std::optional<ado::Decimal> back = ado::Decimal::FromDouble(number);
      exact = back && back->Compare(value.ToDecimal()) == 0;
    } else if (value.vt() == ado::VT_UI1 || value.vt() == ado::VT_UI2 || value.vt() == ado::VT_UI4 ||
               value.vt() == ado::VT_UI8) {
      exact = value.UInt() <= static_cast<std::uint64_t>(kExactIntegerLimit);
    } else {
      exact = value.Int() >= -kExactIntegerLimit && value.Int() <= kExactIntegerLimit;
    }
    if (exact) return w.Number(column, row, number);
    return w.Text(column, row, digits);
  }
  w.Text(column, row, VariantToText(value));
}

void ExcelAutomation::ScrollToRow(long row) {
  if (!NeedSheet()) return;
  scrollRow_ = row;
}

void ExcelAutomation::SaveAs(const std::string& path) {
  if (!NeedSheet()) return;
  std::error_code error;
  const fs::path target = fs::absolute(fs::path(path), error);
  if (error) Raise("Cannot save the workbook as \"" + path + "\": " + error.message());
  if (scrollRow_ > 1) {
    // The saved view starts at the scroll row: its first cell is the active one.
    const auto top = static_cast<lxw_row_t>(scrollRow_ - 1);
    worksheet_set_selection(workbook_->sheet, top, 0, top, 0);
  }
  lxw_workbook* book = workbook_->book;
  workbook_->book = nullptr;
  workbook_->sheet = nullptr;
  const lxw_error closed = workbook_close(book);
  if (closed != LXW_NO_ERROR) {
    workbook_.reset();
    Raise("Cannot write the workbook: " + std::string(lxw_strerror(closed)));
  }
  // The finished file replaces the target in one step where both are on one file system.
  fs::rename(workbook_->file, target, error);
  if (!error) {
    workbook_->file.clear();
  } else {
    error.clear();
    fs::copy_file(workbook_->file, target, fs::copy_options::overwrite_existing, error);
  }
  workbook_.reset();
  if (error) Raise("Cannot save the workbook as \"" + target.string() + "\": " + error.message());
  Trace(TraceInfo, "ExcelAutomation::SaveAs(\"%s\")", target.string().c_str());
}

void ExcelAutomation::CloseWorkbooks() {
  workbook_.reset();
}
