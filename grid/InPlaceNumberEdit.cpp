#include "grid/InPlaceNumberEdit.h"

namespace {

// The text as it will be once the selection is replaced, and where the typed key lands.
void TextAfterSelection(const QLineEdit* edit, QString& text, int& position) {
  text = edit->text();
  position = edit->cursorPosition();
  if (edit->hasSelectedText()) {
    const int start = edit->selectionStart();
    text.remove(start, edit->selectedText().size());
    position = start;
  }
}

// A minus sign only leads the number, once: negative values are ordinary data.
bool AcceptsMinus(const QLineEdit* edit, bool firstKey) {
  if (firstKey) return true;
  QString text;
  int position;
  TextAfterSelection(edit, text, position);
  return position == 0 && !text.startsWith(QLatin1Char('-'));
}

int CountDigits(const QString& text, int from, int to) {
  int n = 0;
  for (int i = std::max(0, from); i < std::min(to, static_cast<int>(text.size())); ++i)
    if (text.at(i).isDigit()) ++n;
  return n;
}

}  // namespace

InPlaceIntegerEdit::InPlaceIntegerEdit(CGridCtrl* grid, int row, int col, const QRect& rect,
                                       const InPlaceEditOptions& options, int id, const QString& text, int openKey,
                                       int width)
    : InPlaceEdit(grid, row, col, rect, options, id, text, openKey), m_width(width) {}

bool InPlaceIntegerEdit::FilterChar(QChar& ch, bool firstKey) {
  if (ch == QLatin1Char('-')) return AcceptsMinus(this, firstKey);
  if (!ch.isDigit() || ch.unicode() > 0x7F) return false;
  if (firstKey) return true;
  QString text;
  int position;
  TextAfterSelection(this, text, position);
  return CountDigits(text, 0, static_cast<int>(text.size())) < m_width;
}

InPlaceNumericEdit::InPlaceNumericEdit(CGridCtrl* grid, int row, int col, const QRect& rect,
                                       const InPlaceEditOptions& options, int id, const QString& text, int openKey,
                                       int width, int decimals, QChar decimalPoint)
    : InPlaceEdit(grid, row, col, rect, options, id, text, openKey),
      m_width(width),
      m_decimals(decimals),
      m_point(decimalPoint) {}

bool InPlaceNumericEdit::FilterChar(QChar& ch, bool firstKey) {
  if (ch == QLatin1Char('-')) return AcceptsMinus(this, firstKey);
  QString text;
  int position;
  TextAfterSelection(this, text, position);
  const int point = static_cast<int>(text.indexOf(m_point));
  if (ch == QLatin1Char('.') || ch == QLatin1Char(',')) {
    if (m_decimals <= 0 || point >= 0) return false;
    ch = m_point;
    return true;
  }
  if (!ch.isDigit() || ch.unicode() > 0x7F) return false;
  if (firstKey) return true;
  if (point < 0 || position <= point) {
    const int before = CountDigits(text, 0, point < 0 ? static_cast<int>(text.size()) : point);
    return before < (m_decimals > 0 ? m_width - m_decimals - 1 : m_width);
  }
  return CountDigits(text, point + 1, static_cast<int>(text.size())) < m_decimals;
}
