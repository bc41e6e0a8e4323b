// One database value into one grid cell.
#include <charconv>
#include <cstdlib>
#include <exception>

#include "data/Trace.h"
#include "data/ado/ComError.h"
#include "grid/GridCellCheckEx.h"
#include "grid/GridCellComboEx.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridCellTextWithButton.h"
#include "grid/db/DbGridCtrl.h"
#include "grid/db/NullLabel.h"
#include "text/DateScan.h"
#include "text/NumberFormat.h"
#include "text/OleDate.h"
#include "text/TextUtil.h"
#include "text/UserLocale.h"

namespace {

// The kind of a cell by its class, as CGridCtrlEx::GetCellType reads it, without comparing class
// names: this runs once per cell of every fill.
int KindOfCell(const CGridCtrlEx& grid, int row, int col) {
  const GridCellClass* cls = grid.GetCellClass(row, col);
  if (cls == &CGridCell::ClassInfo()) return gctText;
  if (cls == &CGridCellInteger::ClassInfo()) return gctInteger;
  if (cls == &CGridCellNumericEx::ClassInfo()) return gctNumericEx;
  if (cls == &CGridCellCheckEx::ClassInfo()) return gctCheckbox;
  if (cls == &CGridCellDateTimeEx::ClassInfo()) return gctDate;
  if (cls == &CGridCellComboEx::ClassInfo()) return gctComboEx;
  if (cls == &CGridCellTextWithButton::ClassInfo()) return gctButtonText;
  return gctUnknown;
}

std::string HexBytes(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.resize(bytes.size() * 3);
  char* out = text.data();
  for (unsigned char b : bytes) {
    *out++ = kDigits[b >> 4];
    *out++ = kDigits[b & 0xF];
    *out++ = ' ';
  }
  return text;
}

// The text a value shows as: the null label, the bytes in hex, the text itself, or the standard
// conversion. A value with no text form at all shows nothing and leaves an error line.
std::string TextForm(const ado::Variant& value, int row, int col) {
  if (!value.HasValue()) return GetNullLabel();
  if (value.IsByteArray()) return HexBytes(value.Str());
  if (value.vt() == ado::VT_BSTR) return value.Str();
  try {
    return value.ToText();
  } catch (const std::exception&) {
    // The platform lets a failed conversion escape the fill; one odd value must not end it.
    Trace(TraceError, "VariantToGridCell() --> cell(%d,%d) : Unable to convert variant to string", row, col);
    return {};
  }
}

bool IsSignedIntType(ado::VARTYPE vt) {
  return vt == ado::VT_I1 || vt == ado::VT_I2 || vt == ado::VT_I4 || vt == ado::VT_I8 || vt == ado::VT_INT;
}
bool IsUnsignedIntType(ado::VARTYPE vt) {
  return vt == ado::VT_UI1 || vt == ado::VT_UI2 || vt == ado::VT_UI4 || vt == ado::VT_UI8 || vt == ado::VT_UINT;
}

// The whole text as a 64-bit integer (blanks around allowed); false for anything else.
bool ReadWholeInteger(const std::string& text, std::int64_t& value) {
  const std::string t = Trim(RemoveThousandsSeparator(text));
  const char* begin = t.data();
  const char* end = begin + t.size();
  if (begin != end && *begin == '+') ++begin;
  const auto result = std::from_chars(begin, end, value);
  return begin != end && result.ec == std::errc() && result.ptr == end;
}

// The whole text as a number: first as a database writes it (C form, "12.5"), then in the
// user's form with the locale's grouping removed ("1.234,5" in it_IT).
bool ReadWholeNumber(const std::string& text, double& value) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  const char* begin = t.data();
  const char* end = begin + t.size();
  if (*begin == '+') ++begin;
  auto result = std::from_chars(begin, end, value);
  if (result.ec == std::errc() && result.ptr == end) return true;
  return CGridCellNumericEx::ParseNumber(RemoveThousandsSeparator(t), false, value);
}

// The text as the cell's own text, past the cell's parsing: what shows when the value does not
// fit the cell's kind, and the null label in number cells.
void SetRawText(CGridCtrlEx& grid, int row, int col, const std::string& text) {
  if (grid.GetCellObject(row, col)) {
    if (auto* plain = dynamic_cast<CGridCell*>(grid.GetCell(row, col)))
      plain->SetRawText(text);
    else
      grid.StoreCellText(row, col, text);
    return;
  }
  const GridCellClass* cls = grid.GetCellClass(row, col);
  if (cls == &CGridCell::ClassInfo())
    grid.StoreCellText(row, col, text);
  else if (cls)
    grid.StoreCompactText(row, col, *cls, text);  // a check box has no text to keep: nothing happens
}

// The Store functions are called for cells whose exact class KindOfCell has seen.
void StoreInteger(const ado::Variant& value, CGridCellInteger* cell, int row, int col) {
  const ado::VARTYPE vt = value.vt();
  if (IsSignedIntType(vt)) return cell->SetInteger(value.Int());
  if (IsUnsignedIntType(vt) && value.UInt() <= static_cast<std::uint64_t>(INT64_MAX))
    return cell->SetInteger(static_cast<std::int64_t>(value.UInt()));
  const std::string text = TextForm(value, row, col);
  std::int64_t number = 0;
  if (ReadWholeInteger(text, number))
    cell->SetInteger(number);
  else
    cell->SetRawText(text);  // SQLite keeps any value in any column: show it as it is
}

void StoreNumber(const ado::Variant& value, CGridCellNumericEx* cell, int row, int col) {
  const ado::VARTYPE vt = value.vt();
  if (vt == ado::VT_R4 || vt == ado::VT_R8) return cell->SetNumber(value.Real());
  if (IsSignedIntType(vt)) return cell->SetNumber(static_cast<double>(value.Int()));
  if (IsUnsignedIntType(vt)) return cell->SetNumber(static_cast<double>(value.UInt()));
  if (vt == ado::VT_CY || vt == ado::VT_DECIMAL) {
    try {
      return cell->SetNumber(value.ToDouble());
    } catch (const ado::ComError&) {
    }
  }
  const std::string text = TextForm(value, row, col);
  double number = 0;
  if (ReadWholeNumber(text, number))
    cell->SetNumber(number);
  else
    cell->SetRawText(text);
}

void StoreDate(const ado::Variant& value, CGridCellDateTimeEx* cell, int row, int col) {
  if (!value.HasValue()) return cell->SetStatus(CGridCellDateTimeEx::Status::Null);
  double date = 0;
  bool isDate = false;
  if (value.vt() == ado::VT_DATE) {
    date = value.Real();
    isDate = true;
  } else if (value.vt() == ado::VT_BSTR) {
    if (auto parsed = ParseIsoDateTime(value.Str())) {
      date = *parsed;
      isDate = true;
    }
  }
  if (isDate) {
    if (auto parts = OleDateToParts(date)) {
      cell->SetDateTime(GridDateTime{parts->year, parts->month, parts->day, parts->hour, parts->minute, parts->second});
      return;
    }
  }
  // Not a date (a number or a free text in a SQLite date column): shown as it is, not erased.
  cell->SetStatus(CGridCellDateTimeEx::Status::Invalid);
  cell->SetRawText(TextForm(value, row, col));
}

// The value straight into a compact cell, as the general path below would store it, for the
// common values of each kind; false (nothing changed) for anything else.
bool StoreInCompactCell(const ado::ValueView& value, CGridCtrlEx& grid, int row, int col,
                        const std::string& nullLabel) {
  if (grid.GetCellObject(row, col)) return false;
  const GridCellClass* cls = grid.GetCellClass(row, col);
  const ado::VARTYPE vt = value.vt;
  const bool noValue = value.IsNull();
  if (cls == &CGridCell::ClassInfo()) {
    if (noValue) return grid.StoreCellText(row, col, nullLabel);
    if (vt == ado::VT_BSTR) return grid.StoreCellText(row, col, value.s);
    return false;
  }
  if (cls == &CGridCellInteger::ClassInfo()) {
    if (noValue) return grid.StoreCompactText(row, col, *cls, nullLabel);
    if (IsSignedIntType(vt)) return grid.StoreCompactValue(row, col, *cls, CGridCellInteger::EncodeValue(value.i));
    if (IsUnsignedIntType(vt) && value.u <= static_cast<std::uint64_t>(INT64_MAX))
      return grid.StoreCompactValue(row, col, *cls, CGridCellInteger::EncodeValue(static_cast<std::int64_t>(value.u)));
    return false;
  }
  if (cls == &CGridCellNumericEx::ClassInfo()) {
    double number = 0;
    if (noValue) return grid.StoreCompactText(row, col, *cls, nullLabel);
    if (vt == ado::VT_R4 || vt == ado::VT_R8)
      number = value.d;
    else if (IsSignedIntType(vt))
      number = static_cast<double>(value.i);
    else if (IsUnsignedIntType(vt))
      number = static_cast<double>(value.u);
    else if (vt == ado::VT_CY)
      number = static_cast<double>(value.i) / 10000.0;
    else if (vt == ado::VT_DECIMAL)
      number = value.dec.ToDouble();
    else
      return false;
    return grid.StoreCompactValue(row, col, *cls, CGridCellNumericEx::EncodeValue(number));
  }
  if (cls == &CGridCellCheckEx::ClassInfo()) {
    // The state is the value's text read as a long: the null label's, -1 for true.
    long state = 0;
    if (noValue)
      state = std::atol(nullLabel.c_str());
    else if (vt == ado::VT_BOOL)
      state = value.b ? -1 : 0;
    else if (IsSignedIntType(vt))
      state = static_cast<long>(value.i);
    else
      return false;
    return grid.StoreCompactValue(row, col, *cls, static_cast<std::uint64_t>(static_cast<std::int64_t>(state)));
  }
  if (cls == &CGridCellDateTimeEx::ClassInfo()) {
    using Status = CGridCellDateTimeEx::Status;
    if (noValue) return grid.StoreCompactValue(row, col, *cls, CGridCellDateTimeEx::EncodeValue({}, Status::Null));
    if (vt != ado::VT_DATE) return false;
    const auto parts = OleDateToParts(value.d);
    if (!parts) return false;
    const GridDateTime date{parts->year, parts->month, parts->day, parts->hour, parts->minute, parts->second};
    const bool real = CGridCellDateTimeEx::IsRealDateTime(date);
    return grid.StoreCompactValue(
        row, col, *cls,
        CGridCellDateTimeEx::EncodeValue(real ? date : GridDateTime{}, real ? Status::Valid : Status::Invalid));
  }
  return false;
}

}  // namespace

bool CDbGridCtrl::StoreValueInCell(const ado::ValueView& value, CGridCtrlEx& grid, int row, int col,
                                   const std::string& nullLabel) {
  if (!grid.IsValid(row, col)) return false;
  if (StoreInCompactCell(value, grid, row, col, nullLabel)) return true;
  VariantToGridCell(value.ToVariant(), grid, row, col);
  return true;
}

void CDbGridCtrl::VariantToGridCell(const ado::Variant& value, CGridCtrlEx& grid, int row, int col) {
  if (!grid.IsValid(row, col)) return;
  if (StoreInCompactCell(ado::ValueView::Of(value), grid, row, col, GetNullLabel())) {
    grid.RedrawCell(row, col);
    return;
  }
  // The cell is made an object for the general path; one that was compact is compacted again.
  const bool wasCompact = !grid.GetCellObject(row, col);
  const int kind = KindOfCell(grid, row, col);
  const bool noValue = !value.HasValue();
  if (noValue && kind != gctDate) SetRawText(grid, row, col, GetNullLabel());
  switch (kind) {
    case gctText:
      if (!noValue) grid.StoreCellText(row, col, TextForm(value, row, col));
      break;
    case gctInteger:
      if (!noValue) StoreInteger(value, static_cast<CGridCellInteger*>(grid.GetCell(row, col)), row, col);
      break;
    case gctNumericEx:
      if (!noValue) StoreNumber(value, static_cast<CGridCellNumericEx*>(grid.GetCell(row, col)), row, col);
      break;
    case gctCheckbox:
      if (CGridCellBase* cell = grid.GetCell(row, col)) cell->SetData(std::atol(TextForm(value, row, col).c_str()));
      break;
    case gctDate:
      StoreDate(value, static_cast<CGridCellDateTimeEx*>(grid.GetCell(row, col)), row, col);
      break;
    case gctComboEx:
      if (!noValue)
        if (CGridCellBase* cell = grid.GetCell(row, col)) cell->SetData(std::atol(TextForm(value, row, col).c_str()));
      break;
    default:
      SetRawText(grid, row, col, "???");
      break;
  }
  if (wasCompact) grid.CompactCell(row, col);
  grid.RedrawCell(row, col);
}
