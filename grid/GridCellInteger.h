#pragma once
// A cell that holds a long integer shown as "%ld", or grouped with the user locale's thousands
// separator when the flag is set. Edited in a digits-only editor of `width` digits. The cell keeps
// the integer and makes its text when asked (painting asks only for the cells on screen); a text
// stored raw (SetRawText) is kept as it is.
#include <cstdint>

#include "grid/GridCell.h"

class CGridCellInteger : public CGridCell {
  GRID_CELL_DECLARE(CGridCellInteger)

 public:
  // Empty text stays empty; anything else is read as an integer (separator removed when the
  // flag is set) and stored as that integer.
  void SetText(std::string_view text) override;
  void SetRawText(std::string_view text) override;
  std::string GetText() const override;
  void SetInteger(std::int64_t value);
  // The integer; for a raw text, the text (separator removed when the flag is set) read as an
  // integer; 0 for an empty text.
  std::int64_t GetInteger() const;
  void SetWidth(int digits) { m_width = static_cast<std::int16_t>(digits < 1 ? 1 : digits > 30 ? 30 : digits); }
  int GetWidth() const { return m_width; }
  // Changing the flag shows the current value the new way.
  void SetThousandSeparator(bool on);
  bool GetThousandSeparator() const { return m_thousands; }

  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  // Empty, or an integer with an optional sign (separators allowed when the flag is set).
  bool ValidateEdit(std::string_view text) override;

  // Compact form: the integer as the value, a raw text as the text.
  bool SaveToSlot(CellSlot& slot) const override;
  void LoadFromSlot(const CellSlot& slot) override;
  static std::uint64_t EncodeValue(std::int64_t value) { return static_cast<std::uint64_t>(value); }

 private:
  bool IsEmpty() const { return !m_hasValue && m_text.empty(); }

  std::int16_t m_width = 10;
  bool m_thousands = false;
  bool m_hasValue = false;  // the text is made from m_value
  std::int64_t m_value = 0;
};
