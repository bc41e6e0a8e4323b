#pragma once
// Editors for number cells, on the single-line editor. Control keys such as Backspace always
// pass; the key that opened the editor skips the length checks.
#include "grid/InPlaceEdit.h"

// Digits, and a minus sign leading them, while the text holds fewer than `width` digits.
class InPlaceIntegerEdit : public InPlaceEdit {
  Q_OBJECT

 public:
  InPlaceIntegerEdit(CGridCtrl* grid, int row, int col, const QRect& rect, const InPlaceEditOptions& options, int id,
                     const QString& text, int openKey, int width);

 protected:
  bool FilterChar(QChar& ch, bool firstKey) override;

 private:
  int m_width;
};

// Digits and one decimal point (the user locale's; '.' and ',' both type it). Before the point
// at most width - decimals - 1 digits (width without decimals), after it at most `decimals`;
// no point without decimals; a minus sign only in front.
class InPlaceNumericEdit : public InPlaceEdit {
  Q_OBJECT

 public:
  InPlaceNumericEdit(CGridCtrl* grid, int row, int col, const QRect& rect, const InPlaceEditOptions& options, int id,
                     const QString& text, int openKey, int width, int decimals, QChar decimalPoint);

 protected:
  bool FilterChar(QChar& ch, bool firstKey) override;

 private:
  int m_width;
  int m_decimals;
  QChar m_point;
};
