#include "grid/GridCellInteger.h"

#include <cctype>
#include <cstdlib>

#include "data/ValueFormat.h"
#include "grid/GridCtrl.h"
#include "grid/InPlaceNumberEdit.h"

GRID_CELL_IMPLEMENT(CGridCellInteger, CGridCell)

namespace {

std::int64_t ReadInteger(const std::string& text) {
  return std::strtoll(text.c_str(), nullptr, 10);
}

}  // namespace

void CGridCellInteger::SetText(std::string_view text) {
  if (text.empty()) {
    m_text.clear();
    return;
  }
  std::string plain(text);
  if (m_thousands) plain = RemoveThousandsSeparator(plain);
  SetInteger(ReadInteger(plain));
}

void CGridCellInteger::SetInteger(std::int64_t value) {
  m_text.assign(m_thousands ? FormatIntegerGrouped(value) : std::to_string(value));
}

std::int64_t CGridCellInteger::GetInteger() const {
  std::string text = m_text.str();
  if (m_thousands) text = RemoveThousandsSeparator(text);
  return ReadInteger(text);
}

void CGridCellInteger::SetThousandSeparator(bool on) {
  if (on == m_thousands) return;
  const bool hasValue = !m_text.empty();
  const std::int64_t value = GetInteger();
  m_thousands = on;
  if (hasValue) SetInteger(value);
}

bool CGridCellInteger::ValidateEdit(std::string_view text) {
  std::string plain = Trim(std::string(text));
  if (plain.empty()) return true;
  if (m_thousands) plain = RemoveThousandsSeparator(plain);
  std::size_t i = (plain[0] == '-' || plain[0] == '+') ? 1 : 0;
  if (i == plain.size()) return false;
  for (; i < plain.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(plain[i]))) return false;
  return true;
}

bool CGridCellInteger::Edit(int row, int col, const QRect& rect, const QPoint&, int id, int key) {
  CGridCtrl* grid = GetGrid();
  if (!grid) return false;
  InPlaceEditOptions options;
  options.format = GetFormat();
  options.maxLength = GetMaxLength();
  options.font = GetFont();
  // The editor shows the bare digits; committing groups them again.
  const QString text = m_text.empty() ? QString() : QString::number(GetInteger());
  auto* editor = new CInPlaceIntegerEdit(grid, row, col, rect, options, id, text, key, m_width);
  editor->Open();
  return true;
}
