#pragma once
// A cell that holds a long integer as its text: "%ld", or grouped with the user locale's
// thousands separator when the flag is set. Edited in a digits-only editor of `width` digits.
#include <cstdint>

#include "grid/GridCell.h"

class CGridCellInteger : public CGridCell {
  GRID_CELL_DECLARE(CGridCellInteger)

 public:
  // Empty text stays empty; anything else is read as an integer (separator removed when the
  // flag is set) and stored as that integer.
  void SetText(std::string_view text) override;
  void SetInteger(std::int64_t value);
  // The text (separator removed when the flag is set) read as an integer; 0 for an empty text.
  std::int64_t GetInteger() const;
  void SetWidth(int digits) { m_width = static_cast<std::int16_t>(digits < 1 ? 1 : digits > 30 ? 30 : digits); }
  int GetWidth() const { return m_width; }
  // Changing the flag shows the current value the new way.
  void SetThousandSeparator(bool on);
  bool GetThousandSeparator() const { return m_thousands; }

  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  // Empty, or an integer with an optional sign (separators allowed when the flag is set).
  bool ValidateEdit(std::string_view text) override;

 private:
  std::int16_t m_width = 10;
  bool m_thousands = false;
};
