#include "grid/TitleTip.h"

TitleTip::TitleTip(QWidget* grid) : QLabel(grid, Qt::ToolTip | Qt::FramelessWindowHint) {
  setObjectName(QLatin1String(kWindowClassName));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setForegroundRole(QPalette::ToolTipText);
  setBackgroundRole(QPalette::ToolTipBase);
  setAutoFillBackground(true);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setMargin(0);
}

void TitleTip::Show(const QPoint& globalPos, int height, const QString& text, const QFont& font) {
  setFont(font);
  setText(QLatin1Char(' ') + text + QLatin1Char(' '));
  adjustSize();
  resize(width(), std::max(height, sizeHint().height()));
  move(globalPos);
  show();
  raise();
}
