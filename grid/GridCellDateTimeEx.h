#pragma once
// A cell that holds a date-time value with a status (valid, invalid, null; initially null) and
// shows it by a display code: any bit of 9 set "%H:%M:%S" (time), bit 4 "%d/%m/%Y %H:%M:%S"
// (date and time), else "%d/%m/%Y" (date). Years always show four digits, so that 753, 1953 and
// 2053 stay apart. Null and invalid values show an empty text, or a
// text stored raw (SetRawText). The text of a valid value is made when asked (painting asks only
// for the cells on screen).
#include <cstdint>

#include "grid/GridCell.h"

struct GridDateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const GridDateTime&) const = default;
};

class CGridCellDateTimeEx : public CGridCell {
  GRID_CELL_DECLARE(CGridCellDateTimeEx)

 public:
  enum class Status : std::uint8_t { Valid, Invalid, Null };
  enum : int { kDisplayDate = 0, kDisplayDateTime = 4, kDisplayTime = 9 };

  // Resets the value to null and sets the format to single line, centred both ways, ellipsis.
  void SetDisplayCode(int code);
  int GetDisplayCode() const { return m_code; }
  // Stores the value (Invalid when it is no real date and time) and sets the text.
  void SetDateTime(const GridDateTime& value);
  void SetStatus(Status status);  // Null or Invalid empty the text
  Status GetStatus() const { return m_status; }
  bool IsValidDateTime() const { return m_status == Status::Valid; }
  GridDateTime GetDateTime() const;

  // Empty text makes the value null; other texts are read by ScanDate (text/DateScan.h): a date
  // day first or ISO, with or without a time, in a date format (a four-digit year is taken as it
  // is, one or two digits as 1930..2029, three are refused); a time alone in a time format,
  // which keeps the date part. A fraction of a second the cell cannot keep is refused.
  void SetText(std::string_view text) override;
  void SetRawText(std::string_view text) override;
  std::string GetText() const override;
  // Empty, or a text the display format reads.
  bool ValidateEdit(std::string_view text) override;
  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;

  // The text of a value by a display code, and the reverse.
  static std::string FormatDateTime(const GridDateTime& value, int code);
  static bool ParseDateTime(std::string_view text, int code, const GridDateTime& datePart, GridDateTime& value);
  static bool IsRealDateTime(const GridDateTime& value);

  // Compact form: value and status as the value (EncodeValue), or an invalid value's raw text as
  // the text.
  bool SaveToSlot(CellSlot& slot) const override;
  void LoadFromSlot(const CellSlot& slot) override;
  static std::uint64_t EncodeValue(const GridDateTime& value, Status status);

 private:
  std::int16_t m_year = 1899;
  std::uint8_t m_month = 12, m_day = 30, m_hour = 0, m_minute = 0, m_second = 0;
  Status m_status = Status::Null;
  std::uint8_t m_code = kDisplayDate;
};
