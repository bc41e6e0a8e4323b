#pragma once
// The plain text cell and the default cell. A cell keeps only what was set: its text in a compact
// holder, its data value, an image index, and the number of its style (format, colours, font,
// margin, text limits: see CellStyle.h). Unset properties come from the grid's default cell.
#include <QFont>

#include "grid/CellStyle.h"
#include "grid/CellTypeProfile.h"
#include "grid/CompactText.h"
#include "grid/GridCellBase.h"

class CellSlot;

class CGridCell : public CGridCellBase {
  GRID_CELL_DECLARE(CGridCell)

 public:
  CGridCell() = default;

  void CopyPropertiesFrom(const CGridCellBase& other) override;

  void SetText(std::string_view text) override { m_text.assign(text); }
  void SetImage(int image) override { m_image = static_cast<std::int16_t>(image < 0 ? -1 : image); }
  void SetData(std::intptr_t data) override { m_data = data; }
  void SetFormat(unsigned format) override;
  void SetTextColour(COLORREF colour) override;
  void SetBackColour(COLORREF colour) override;
  void SetMargin(int margin) override;
  std::string GetText() const override { return m_text.str(); }
  int GetImage() const override { return m_image; }
  std::intptr_t GetData() const override { return m_data; }
  unsigned GetFormat() const override;
  COLORREF GetTextColour() const override { return Style().textColour; }
  COLORREF GetBackColour() const override { return Style().backColour; }
  const QFont& GetFont() const override;
  int GetMargin() const override;
  bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int key) override;
  void EndEdit() override;

  // The cell's own font; null goes back to the default cell's.
  virtual void SetFont(const QFont* font);
  // Longest text the editor accepts (0: no limit).
  void SetMaxLength(unsigned length);
  unsigned GetMaxLength() const { return Style().maxLength; }
  // Long text is edited in a multi-line editor.
  void SetLongText(bool longText);
  bool IsLongText() const { return Style().longText; }
  // The own format, or kFormatDefault when the cell takes the default cell's.
  unsigned GetOwnFormat() const { return Style().format; }

  // Stores the text as it is, past any reading of the class (what a cell shows for a value its
  // class cannot hold).
  virtual void SetRawText(std::string_view text) { m_text.assign(text); }

  // ---- The compact form in the grid's storage (CellSlot.h). SaveToSlot puts the whole cell into
  // `slot` and returns true, or returns false (slot untouched) when the cell keeps something the
  // compact form cannot: a data value, an image, a style number beyond 16 bits, or a class that
  // has no compact form (each class answers for itself only, not for classes derived from it).
  // LoadFromSlot makes the cell what the slot holds (a slot of this class's form).
  virtual bool SaveToSlot(CellSlot& slot) const;
  virtual void LoadFromSlot(const CellSlot& slot);

  // The number of the cell's style in the pool, and the style itself.
  std::uint32_t GetStyleId() const { return m_style; }
  void SetStyleId(std::uint32_t id) { m_style = id; }
  const CellStyle& Style() const { return CellStylePool::Get(m_style); }

 protected:
  template <typename Change>
  void ChangeStyle(Change change) {
    CellStyle s = Style();
    change(s);
    m_style = CellStylePool::Intern(s);
  }
  // What every compact form needs: no data value, no image, a style number of 16 bits.
  bool FitsSlot() const { return m_data == 0 && m_image < 0 && m_style <= 0xFFFF; }
  // The state, style, data and image of a compact cell (no data, no image).
  void LoadCommonFromSlot(const CellSlot& slot);
  // Stores a typed cell in its compact form: the profile, then the encoded value when the cell has
  // one, else its raw text, and the common state and style.
  void SaveTypedToSlot(CellSlot& slot, const CellTypeProfile& profile, bool hasValue, std::uint64_t encoded) const;

  // Small members first: they fill the base's tail padding.
  std::int16_t m_image = -1;
  std::uint32_t m_style = 0;
  CompactText m_text;
  std::intptr_t m_data = 0;
};

// One of the grid's four template cells (normal, fixed column, fixed row, both). Its properties
// are always set; it adds the default width and height and owns its font.
class CGridDefaultCell : public CGridCell {
  GRID_CELL_DECLARE(CGridDefaultCell)

 public:
  CGridDefaultCell();

  const QFont& GetFont() const override { return m_font; }
  void SetFont(const QFont* font) override;
  unsigned GetFormat() const override { return Style().format; }
  int GetMargin() const override { return Style().margin; }

  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  void SetWidth(int width) { m_width = width; }
  void SetHeight(int height) { m_height = height; }
  // Width from " XXXXXXXXXXXX " in the font, height 3/2 of the text height, margin one blank.
  void SizeFromFont();

 private:
  QFont m_font;
  int m_width = 40;
  int m_height = 16;
};
