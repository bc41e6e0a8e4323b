#include "grid/GridCellNumericEx.h"

#include <charconv>

#include "data/ValueFormat.h"
#include "grid/GridCtrl.h"
#include "grid/InPlaceNumberEdit.h"

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
    m_text.clear();
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

void CGridCellNumericEx::SetNumber(double value) {
  m_text.assign(FormatNumber(value, m_decimals, m_thousands));
}

double CGridCellNumericEx::GetNumber() const {
  double value = 0;
  if (!m_text.empty() && !ParseNumber(m_text.view(), m_thousands, value)) value = 0;
  return value;
}

void CGridCellNumericEx::SetThousandSeparator(bool on) {
  if (on == m_thousands) return;
  const bool hasValue = !m_text.empty();
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
  const QString text =
      m_text.empty() ? QString() : QString::fromStdString(FormatNumber(GetNumber(), m_decimals, false));
  auto* editor = new CInPlaceNumericEdit(grid, row, col, rect, options, id, text, key, m_width, m_decimals,
                                         QLatin1Char(DecimalSeparator()));
  editor->Open();
  return true;
}
