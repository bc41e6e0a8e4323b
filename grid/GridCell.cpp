#include "grid/GridCell.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPalette>

#include "grid/CellSlot.h"
#include "grid/GridColour.h"
#include "grid/GridCtrl.h"
#include "grid/InPlaceEdit.h"

GRID_CELL_IMPLEMENT(CGridCell, CGridCellBase)
GRID_CELL_IMPLEMENT(CGridDefaultCell, CGridCell)

void CGridCell::CopyPropertiesFrom(const CGridCellBase& other) {
  const auto* plain = dynamic_cast<const CGridCell*>(&other);
  if (!plain) {
    CGridCellBase::CopyPropertiesFrom(other);
    return;
  }
  // The style number carries format, colours, font, margin and the text limits at once.
  m_style = plain->m_style;
  SetState(plain->GetState());
  // The text first: for classes whose text and data value are one thing, the data value wins.
  SetText(plain->GetText());
  SetData(plain->GetData());
  SetImage(plain->GetImage());
}

bool CGridCell::SaveToSlot(CellSlot& slot) const {
  if (&GetRuntimeClass() != &CGridCell::ClassInfo() || !FitsSlot()) return false;
  slot.SetText(m_text.view());
  slot.SetState(m_state);
  slot.SetStyle(static_cast<std::uint16_t>(m_style));
  return true;
}

void CGridCell::SaveTypedToSlot(CellSlot& slot, const CellTypeProfile& profile, bool hasValue,
                                std::uint64_t encoded) const {
  const std::uint32_t id = CellTypePool::Intern(profile);
  if (hasValue)
    slot.SetTypedValue(id, encoded);
  else
    slot.SetTypedText(id, m_text.view());
  slot.SetState(m_state);
  slot.SetStyle(static_cast<std::uint16_t>(m_style));
}

void CGridCell::LoadCommonFromSlot(const CellSlot& slot) {
  m_state = slot.State();
  m_style = slot.Style();
  m_data = 0;
  m_image = -1;
}

void CGridCell::LoadFromSlot(const CellSlot& slot) {
  LoadCommonFromSlot(slot);
  m_text.assign(slot.Text());
}

void CGridCell::SetFormat(unsigned format) {
  ChangeStyle([format](CellStyle& s) { s.format = format; });
}

void CGridCell::SetTextColour(COLORREF colour) {
  ChangeStyle([colour](CellStyle& s) { s.textColour = colour; });
}

void CGridCell::SetBackColour(COLORREF colour) {
  ChangeStyle([colour](CellStyle& s) { s.backColour = colour; });
}

void CGridCell::SetMargin(int margin) {
  ChangeStyle([margin](CellStyle& s) { s.margin = margin < 0 ? -1 : margin; });
}

void CGridCell::SetFont(const QFont* font) {
  ChangeStyle([font](CellStyle& s) {
    if (font)
      s.font = *font;
    else
      s.font.reset();
  });
}

void CGridCell::SetMaxLength(unsigned length) {
  ChangeStyle([length](CellStyle& s) { s.maxLength = length; });
}

void CGridCell::SetLongText(bool longText) {
  ChangeStyle([longText](CellStyle& s) { s.longText = longText; });
}

unsigned CGridCell::GetFormat() const {
  const unsigned own = Style().format;
  return own == kFormatDefault ? GetDefaultCell()->GetFormat() : own;
}

const QFont& CGridCell::GetFont() const {
  const CellStyle& s = Style();
  return s.font ? *s.font : GetDefaultCell()->GetFont();
}

int CGridCell::GetMargin() const {
  const int own = Style().margin;
  return own < 0 ? GetDefaultCell()->GetMargin() : own;
}

bool CGridCell::Edit(int row, int col, const QRect& rect, const QPoint&, int id, int key) {
  CGridCtrl* grid = GetGrid();
  if (!grid) return false;
  InPlaceEditOptions options;
  options.multiLine = IsLongText();
  options.format = GetFormat();
  options.maxLength = GetMaxLength();
  options.font = GetFont();
  OpenTextEditor(grid, row, col, rect, options, id, QString::fromStdString(GetText()), key);
  return true;
}

void CGridCell::EndEdit() {
  CGridCellBase::EndEdit();
}

CGridDefaultCell::CGridDefaultCell() {
  CellStyle s;
  s.format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT;
  const QPalette palette = QApplication::palette();
  s.textColour = ToColorRef(palette.color(QPalette::WindowText));
  s.backColour = ToColorRef(palette.color(QPalette::Base));
  s.margin = 3;
  m_style = CellStylePool::Intern(s);
  m_font = QApplication::font();
}

void CGridDefaultCell::SetFont(const QFont* font) {
  m_font = font ? *font : QApplication::font();
  SizeFromFont();
}

void CGridDefaultCell::SizeFromFont() {
  const QFontMetrics fm(m_font);
  m_width = fm.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX "));
  m_height = fm.height() * 3 / 2;
  const int blank = fm.horizontalAdvance(QLatin1Char(' '));
  ChangeStyle([blank](CellStyle& s) { s.margin = blank; });
}
