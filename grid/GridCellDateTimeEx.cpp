#include "grid/GridCellDateTimeEx.h"

#include <QDate>
#include <QTime>
#include <cstdio>

#include "grid/CellSlot.h"
#include "grid/CellTypeProfile.h"
#include "grid/GridCtrl.h"
#include "grid/InPlaceDateTime.h"
#include "text/DateScan.h"
#include "text/TextUtil.h"

GRID_CELL_IMPLEMENT(CGridCellDateTimeEx, CGridCell)

namespace {

bool IsTimeCode(int code) {
  return (code & 9) != 0;
}
bool IsDateTimeCode(int code) {
  return !IsTimeCode(code) && (code & 4) != 0;
}

}  // namespace

bool CGridCellDateTimeEx::IsRealDateTime(const GridDateTime& v) {
  return QDate::isValid(v.year, v.month, v.day) && v.year >= 100 && v.year <= 9999 &&
         QTime::isValid(v.hour, v.minute, v.second);
}

std::string CGridCellDateTimeEx::FormatDateTime(const GridDateTime& v, int code) {
  char text[64];
  if (IsTimeCode(code))
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", v.hour, v.minute, v.second);
  else if (IsDateTimeCode(code))
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", v.day, v.month, v.year, v.hour, v.minute,
                  v.second);
  else
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", v.day, v.month, v.year);
  return text;
}

bool CGridCellDateTimeEx::ParseDateTime(std::string_view input, int code, const GridDateTime& datePart,
                                        GridDateTime& value) {
  const std::optional<ScannedDate> scanned = ScanDate(input);
  // A cell keeps whole seconds: a fraction it would drop is refused rather than lost.
  if (!scanned || scanned->parts.millisecond != 0) return false;
  GridDateTime v = datePart;
  if (IsTimeCode(code)) {
    if (scanned->form != DateForm::TimeOnly) return false;
  } else {
    // A time after the date is read in every date format; date-and-time also accepts none.
    if (scanned->form != DateForm::Iso && scanned->form != DateForm::DayFirst) return false;
    if (scanned->yearDigits == 3) return false;  // neither windowed nor as the cell shows a year
    v.year = scanned->parts.year;
    v.month = scanned->parts.month;
    v.day = scanned->parts.day;
  }
  v.hour = scanned->parts.hour;
  v.minute = scanned->parts.minute;
  v.second = scanned->parts.second;
  if (!IsRealDateTime(v)) return false;
  value = v;
  return true;
}

void CGridCellDateTimeEx::SetDisplayCode(int code) {
  m_code = static_cast<std::uint8_t>(code & 0xFF);
  SetStatus(Status::Null);
  SetFormat(DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS);
}

GridDateTime CGridCellDateTimeEx::GetDateTime() const {
  return GridDateTime{m_year, m_month, m_day, m_hour, m_minute, m_second};
}

void CGridCellDateTimeEx::SetDateTime(const GridDateTime& v) {
  if (!IsRealDateTime(v)) {
    SetStatus(Status::Invalid);
    return;
  }
  m_year = static_cast<std::int16_t>(v.year);
  m_month = static_cast<std::uint8_t>(v.month);
  m_day = static_cast<std::uint8_t>(v.day);
  m_hour = static_cast<std::uint8_t>(v.hour);
  m_minute = static_cast<std::uint8_t>(v.minute);
  m_second = static_cast<std::uint8_t>(v.second);
  m_status = Status::Valid;
  m_text.clear();
}

void CGridCellDateTimeEx::SetStatus(Status status) {
  m_status = status;
  if (status != Status::Valid) m_text.clear();
}

void CGridCellDateTimeEx::SetRawText(std::string_view text) {
  m_text.assign(text);
}

std::string CGridCellDateTimeEx::GetText() const {
  // A valid value shows its text unless a raw text was stored over it.
  if (m_status == Status::Valid && m_text.empty()) return FormatDateTime(GetDateTime(), m_code);
  return m_text.str();
}

std::uint64_t CGridCellDateTimeEx::EncodeValue(const GridDateTime& v, Status status) {
  const auto year = static_cast<std::uint16_t>(static_cast<std::int16_t>(v.year));
  return static_cast<std::uint64_t>(year) | (static_cast<std::uint64_t>(v.month & 0xFF) << 16) |
         (static_cast<std::uint64_t>(v.day & 0xFF) << 24) | (static_cast<std::uint64_t>(v.hour & 0xFF) << 32) |
         (static_cast<std::uint64_t>(v.minute & 0xFF) << 40) | (static_cast<std::uint64_t>(v.second & 0xFF) << 48) |
         (static_cast<std::uint64_t>(status) << 56);
}

bool CGridCellDateTimeEx::SaveToSlot(CellSlot& slot) const {
  if (&GetRuntimeClass() != &ClassInfo() || !FitsSlot()) return false;
  // The text form stands for an invalid value: a raw text over another status keeps the object.
  if (!m_text.empty() && m_status != Status::Invalid) return false;
  CellTypeProfile profile;
  profile.cls = &ClassInfo();
  profile.code = m_code;
  SaveTypedToSlot(slot, profile, m_text.empty(), m_text.empty() ? EncodeValue(GetDateTime(), m_status) : 0);
  return true;
}

void CGridCellDateTimeEx::LoadFromSlot(const CellSlot& slot) {
  LoadCommonFromSlot(slot);
  m_code = CellTypePool::Get(slot.Profile()).code;
  if (slot.HasValue()) {
    const std::uint64_t v = slot.Value();
    m_year = static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF));
    m_month = static_cast<std::uint8_t>(v >> 16);
    m_day = static_cast<std::uint8_t>(v >> 24);
    m_hour = static_cast<std::uint8_t>(v >> 32);
    m_minute = static_cast<std::uint8_t>(v >> 40);
    m_second = static_cast<std::uint8_t>(v >> 48);
    m_status = static_cast<Status>(static_cast<std::uint8_t>(v >> 56));
    m_text.clear();
  } else {
    const GridDateTime none;
    m_year = static_cast<std::int16_t>(none.year);
    m_month = static_cast<std::uint8_t>(none.month);
    m_day = static_cast<std::uint8_t>(none.day);
    m_hour = m_minute = m_second = 0;
    m_status = Status::Invalid;
    m_text.assign(slot.Text());
  }
}

void CGridCellDateTimeEx::SetText(std::string_view text) {
  if (Trim(std::string(text)).empty()) {
    SetStatus(Status::Null);
    return;
  }
  const GridDateTime datePart = IsValidDateTime() ? GetDateTime() : GridDateTime{};
  GridDateTime value;
  if (ParseDateTime(text, m_code, datePart, value))
    SetDateTime(value);
  else
    SetStatus(Status::Invalid);
}

bool CGridCellDateTimeEx::ValidateEdit(std::string_view text) {
  if (Trim(std::string(text)).empty()) return true;
  GridDateTime value;
  return ParseDateTime(text, m_code, GridDateTime{}, value);
}

bool CGridCellDateTimeEx::Edit(int row, int col, const QRect& rect, const QPoint&, int id, int key) {
  CGridCtrl* grid = GetGrid();
  if (!grid) return false;
  auto* editor =
      new InPlaceDateTime(grid, row, col, rect, id, key, m_code, IsValidDateTime(), GetDateTime(), GetFont());
  editor->Open();
  return true;
}
