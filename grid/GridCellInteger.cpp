#include "grid/GridCellInteger.h"

#include <cctype>
#include <cstdlib>

#include "grid/CellSlot.h"
#include "grid/CellTypeProfile.h"
#include "grid/GridCtrl.h"
#include "grid/InPlaceNumberEdit.h"
#include "text/NumberFormat.h"
#include "text/TextUtil.h"

GRID_CELL_IMPLEMENT(CGridCellInteger, CGridCell)

namespace {

std::int64_t ReadInteger(const std::string& text) {
  return std::strtoll(text.c_str(), nullptr, 10);
}

}  // namespace

void CGridCellInteger::SetText(std::string_view text) {
  if (text.empty()) {
    SetRawText({});
    return;
  }
  std::string plain(text);
  if (m_thousands) plain = RemoveThousandsSeparator(plain);
  SetInteger(ReadInteger(plain));
}

void CGridCellInteger::SetRawText(std::string_view text) {
  m_hasValue = false;
  m_text.assign(text);
}

std::string CGridCellInteger::GetText() const {
  if (!m_hasValue) return m_text.str();
  return m_thousands ? FormatIntegerGrouped(m_value) : std::to_string(m_value);
}

void CGridCellInteger::SetInteger(std::int64_t value) {
  m_value = value;
  m_hasValue = true;
  m_text.clear();
}

std::int64_t CGridCellInteger::GetInteger() const {
  if (m_hasValue) return m_value;
  std::string text = m_text.str();
  if (m_thousands) text = RemoveThousandsSeparator(text);
  return ReadInteger(text);
}

void CGridCellInteger::SetThousandSeparator(bool on) {
  if (on == m_thousands) return;
  const bool hasValue = !IsEmpty();
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
  const QString text = IsEmpty() ? QString() : QString::number(GetInteger());
  auto* editor = new InPlaceIntegerEdit(grid, row, col, rect, options, id, text, key, m_width);
  editor->Open();
  return true;
}

bool CGridCellInteger::SaveToSlot(CellSlot& slot) const {
  if (&GetRuntimeClass() != &ClassInfo() || !FitsSlot()) return false;
  CellTypeProfile profile;
  profile.cls = &ClassInfo();
  profile.width = m_width;
  profile.thousands = m_thousands;
  SaveTypedToSlot(slot, profile, m_hasValue, m_hasValue ? EncodeValue(m_value) : 0);
  return true;
}

void CGridCellInteger::LoadFromSlot(const CellSlot& slot) {
  LoadCommonFromSlot(slot);
  const CellTypeProfile& profile = CellTypePool::Get(slot.Profile());
  m_width = profile.width;
  m_thousands = profile.thousands;
  if (slot.HasValue())
    SetInteger(static_cast<std::int64_t>(slot.Value()));
  else
    SetRawText(slot.Text());
}
