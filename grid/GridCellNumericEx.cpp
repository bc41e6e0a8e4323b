#include "grid/GridCellNumericEx.h"

#include <charconv>

#include "grid/CellSlot.h"
#include "grid/CellTypeProfile.h"
#include "grid/GridCtrl.h"
#include "grid/InPlaceNumberEdit.h"
#include "text/NumberFormat.h"
#include "text/StringFormat.h"
#include "text/TextUtil.h"

GRID_CELL_IMPLEMENT(CGridCellNumericEx, CGridCell)

std::string CGridCellNumericEx::FormatNumber(double value, int decimals, bool grouped) {
  if (grouped) return FormatDoubleGrouped(value, decimals);
  return FormatStringUserLocale("%.*f", decimals, value);
}

bool CGridCellNumericEx::ParseNumber(std::string_view text, bool grouped, double& value) {
  std::string plain = Trim(std::string(text));
  if (grouped) plain = RemoveThousandsSeparator(plain);
  // The user's decimal point, or '.', reads as the point.
  const std::string point = DecimalSeparatorText();
  if (point != ".") ReplaceAll(plain, point, ".");
  if (!plain.empty() && plain[0] == '+') plain.erase(0, 1);
  if (plain.empty()) return false;
  const char* end = plain.data() + plain.size();
  const auto result = std::from_chars(plain.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

void CGridCellNumericEx::SetText(std::string_view text) {
  if (text.empty()) {
    SetRawText({});
    return;
  }
  double value = 0;
  if (!ParseNumber(text, m_thousands, value)) {
    // As the C library reads it: the longest leading number, else 0.
    std::string plain = Trim(std::string(text));
    if (m_thousands) plain = RemoveThousandsSeparator(plain);
    ReplaceAll(plain, DecimalSeparatorText(), ".");
    value = 0;
    std::from_chars(plain.data(), plain.data() + plain.size(), value);
  }
  SetNumber(value);
}

void CGridCellNumericEx::SetRawText(std::string_view text) {
  m_hasValue = false;
  m_text.assign(text);
}

std::string CGridCellNumericEx::GetText() const {
  return m_hasValue ? FormatNumber(m_value, m_decimals, m_thousands) : m_text.str();
}

void CGridCellNumericEx::SetNumber(double value) {
  m_value = value;
  m_hasValue = true;
  m_text.clear();
}

double CGridCellNumericEx::GetNumber() const {
  // What the text shows, not more: the number as rounded to the decimals.
  double value = 0;
  const std::string text = GetText();
  if (!text.empty() && !ParseNumber(text, m_thousands, value)) value = 0;
  return value;
}

void CGridCellNumericEx::SetDecimals(int decimals) {
  const auto clamped = static_cast<std::int16_t>(decimals < 0 ? 0 : decimals > 15 ? 15 : decimals);
  if (m_hasValue && clamped != m_decimals) SetRawText(GetText());
  m_decimals = clamped;
}

void CGridCellNumericEx::SetThousandSeparator(bool on) {
  if (on == m_thousands) return;
  const bool hasValue = !IsEmpty();
  const double value = GetNumber();
  m_thousands = on;
  if (hasValue) SetNumber(value);
}

bool CGridCellNumericEx::ValidateEdit(std::string_view text) {
  if (Trim(std::string(text)).empty()) return true;
  double value = 0;
  return ParseNumber(text, m_thousands, value);
}

bool CGridCellNumericEx::Edit(int row, int col, const QRect& rect, const QPoint&, int id, int key) {
  CGridCtrl* grid = GetGrid();
  if (!grid) return false;
  InPlaceEditOptions options;
  options.format = GetFormat();
  options.font = GetFont();
  // The editor shows the number without grouping; committing formats it again.
  const QString text = IsEmpty() ? QString() : QString::fromStdString(FormatNumber(GetNumber(), m_decimals, false));
  auto* editor = new InPlaceNumericEdit(grid, row, col, rect, options, id, text, key, m_width, m_decimals,
                                        QLatin1Char(DecimalSeparator()));
  editor->Open();
  return true;
}

bool CGridCellNumericEx::SaveToSlot(CellSlot& slot) const {
  if (&GetRuntimeClass() != &ClassInfo() || !FitsSlot()) return false;
  CellTypeProfile profile;
  profile.cls = &ClassInfo();
  profile.width = m_width;
  profile.decimals = m_decimals;
  profile.thousands = m_thousands;
  SaveTypedToSlot(slot, profile, m_hasValue, m_hasValue ? EncodeValue(m_value) : 0);
  return true;
}

void CGridCellNumericEx::LoadFromSlot(const CellSlot& slot) {
  LoadCommonFromSlot(slot);
  const CellTypeProfile& profile = CellTypePool::Get(slot.Profile());
  m_width = profile.width;
  m_decimals = profile.decimals;
  m_thousands = profile.thousands;
  if (slot.HasValue())
    SetNumber(std::bit_cast<double>(slot.Value()));
  else
    SetRawText(slot.Text());
}
