#pragma once
// A cell that holds a floating number shown with a fixed number of decimals and the user
// locale's decimal point ("%.*lf"), grouped with the locale's separators when the flag is set.
// Edited in a numeric editor of `width` digits with `decimals` after the point.
#include <cstdint>

#include "grid/GridCell.h"

class CGridCellNumericEx : public CGridCell {
  GRID_CELL_DECLARE(CGridCellNumericEx)

 public:
  // Empty text stays empty; anything else is read as a number (grouping removed) and stored.
  void SetText(std::string_view text) override;
  void SetNumber(double value);
  // The text read as a number (separator removed when the flag is set); 0 for an empty text.
  double GetNumber() const;
  void SetWidth(int digits) { m_width = static_cast<std::int16_t>(digits < 1 ? 1 : digits > 40 ? 40 : digits); }
  int GetWidth() const { return m_width; }
  void SetDecimals(int decimals) {
    m_decimals = static_cast<std::int16_t>(decimals < 0 ? 0 : decimals > 15 ? 15 : decimals);
  }
  int GetDecimals() const { return m_decimals; }
  void SetThousandSeparator(bool on);
  bool GetThousandSeparator() const { return m_thousands; }

  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  // Empty, or a number in the user locale's form.
  bool ValidateEdit(std::string_view text) override;

  // The text of a number by these rules, and the reverse (false when the text is no number).
  static std::string FormatNumber(double value, int decimals, bool grouped);
  static bool ParseNumber(std::string_view text, bool grouped, double& value);

 private:
  std::int16_t m_width = 10;
  std::int16_t m_decimals = 2;
  bool m_thousands = false;
};
