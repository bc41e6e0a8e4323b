#pragma once
// The pop-up that shows the whole text of a cell too narrow for it, placed over the cell.
// Mouse events pass through it to the grid.
#include <QLabel>

class TitleTip : public QLabel {
  Q_OBJECT

 public:
  static constexpr const char* kWindowClassName = "QelvoTitleTip";
  explicit TitleTip(QWidget* grid);
  // Shows `text` (padded with a blank on each side) in `font` with its top left at `globalPos`,
  // at least `height` pixels tall.
  void Show(const QPoint& globalPos, int height, const QString& text, const QFont& font);
};
