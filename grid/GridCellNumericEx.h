#pragma once
// A cell that holds a floating number shown with a fixed number of decimals and the user
// locale's decimal point ("%.*lf"), grouped with the locale's separators when the flag is set.
// Edited in a numeric editor of `width` digits with `decimals` after the point. The cell keeps the
// number and makes its text when asked (painting asks only for the cells on screen); a text stored
// raw (SetRawText) is kept as it is.
#include <bit>
#include <cstdint>

#include "grid/GridCell.h"

class CGridCellNumericEx : public CGridCell {
  GRID_CELL_DECLARE(CGridCellNumericEx)

 public:
  // Empty text stays empty; anything else is read as a number (grouping removed) and stored.
  void SetText(std::string_view text) override;
  void SetRawText(std::string_view text) override;
  std::string GetText() const override;
  void SetNumber(double value);
  // The text read as a number (separator removed when the flag is set); 0 for an empty text.
  double GetNumber() const;
  void SetWidth(int digits) { m_width = static_cast<std::int16_t>(digits < 1 ? 1 : digits > 40 ? 40 : digits); }
  int GetWidth() const { return m_width; }
  // The text shown so far stays: a number's text keeps its decimals until it is set again.
  void SetDecimals(int decimals);
  int GetDecimals() const { return m_decimals; }
  void SetThousandSeparator(bool on);
  bool GetThousandSeparator() const { return m_thousands; }

  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  // Empty, or a number in the user locale's form.
  bool ValidateEdit(std::string_view text) override;

  // The text of a number by these rules, and the reverse (false when the text is no number).
  static std::string FormatNumber(double value, int decimals, bool grouped);
  static bool ParseNumber(std::string_view text, bool grouped, double& value);

  // Compact form: the number as the value, a raw text as the text.
  bool SaveToSlot(CellSlot& slot) const override;
  void LoadFromSlot(const CellSlot& slot) override;
  static std::uint64_t EncodeValue(double value) { return std::bit_cast<std::uint64_t>(value); }

 private:
  bool IsEmpty() const { return !m_hasValue && m_text.empty(); }

  std::int16_t m_width = 10;
  std::int16_t m_decimals = 2;
  bool m_thousands = false;
  bool m_hasValue = false;  // the text is made from m_value
  double m_value = 0;
};
