// Printing: a wide grid shrunk to the paper width, a narrow one at its screen size, pages of whole
// rows, header, column headings and footer on every page.
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <ctime>

#include "grid/GridColour.h"
#include "grid/GridCtrl.h"

void CGridCtrl::SetPrintMargins(int header, int footer, int left, int right, int top, int bottom, int gap) {
  if (header >= 0) m_nHeaderHeight = header;
  if (footer >= 0) m_nFooterHeight = footer;
  if (left >= 0) m_nLeftMargin = left;
  if (right >= 0) m_nRightMargin = right;
  if (top >= 0) m_nTopMargin = top;
  if (bottom >= 0) m_nBottomMargin = bottom;
  if (gap >= 0) m_nGap = gap;
}

void CGridCtrl::SetPrintHeaderText(const std::string& left, const std::string& right) {
  m_printHeaderLeft = left;
  m_printHeaderRight = right;
}

void CGridCtrl::SetPrintFooterText(const std::string& left, const std::string& right) {
  m_printFooterLeft = left;
  m_printFooterRight = right;
}

void CGridCtrl::Print(QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return;
  BeginPrint(painter, printer);
  for (int page = 1; page <= GetPrintPageCount(); ++page) {
    if (page > 1) printer.newPage();
    PrintPage(painter, page);
  }
  EndPrint();
  painter.end();
}

int CGridCtrl::PrintableWidth() const {
  long long width = 0;
  for (int w : m_colWidths) width += std::max(w, 0);
  return static_cast<int>(std::min<long long>(width, INT_MAX / 2));
}

void CGridCtrl::BeginPrint(QPainter& painter, QPrinter& printer) {
  StopEdit();
  HideTitleTip();
  m_printer = &printer;
  m_printFont = QFont(QStringLiteral("Arial"));
  m_printFont.setPixelSize(10);
  m_printFont.setWeight(QFont::Normal);
  const QFontMetrics fm(m_printFont);
  const QString sample = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ");
  m_printCharWidth = std::max(1, fm.horizontalAdvance(sample.left(52)) / 52);
  m_printLineHeight = fm.height();

  // A grid wider than the paper is shrunk to the paper width; a narrower one prints at the size it
  // has on screen (an inch of screen pixels to an inch of paper), so its text is never blown up.
  // The logical page then covers the whole paper, which leaves the header and footer room.
  const QPaintDevice* device = painter.device();
  const int gridWidth = std::max(1, PrintableWidth() + (m_nLeftMargin + m_nRightMargin) * m_printCharWidth);
  const double natural = static_cast<double>(device->logicalDpiX()) / std::max(1, logicalDpiX());
  m_printScale = std::min(natural, static_cast<double>(device->width()) / gridWidth);
  if (!(m_printScale > 0)) m_printScale = 1.0;
  m_printPageWidth = std::max(gridWidth, static_cast<int>(device->width() / m_printScale));
  m_printPageHeight = static_cast<int>(device->height() / m_printScale);

  const int lines = m_nTopMargin + m_nBottomMargin + m_nHeaderHeight + m_nFooterHeight + 2 * m_nGap;
  const int room = m_printPageHeight - lines * m_printLineHeight - GetFixedRowHeight();
  m_printPageStarts.clear();
  int used = 0;
  for (int row = m_nFixedRows; row < GetRowCount(); ++row) {
    const int h = m_rowHeights[static_cast<std::size_t>(row)];
    if (m_printPageStarts.empty() || (used + h > room && used > 0)) {
      m_printPageStarts.push_back(row);
      used = 0;
    }
    used += h;
  }
  if (m_printPageStarts.empty()) m_printPageStarts.push_back(m_nFixedRows);  // headings alone
}

void CGridCtrl::PrintPage(QPainter& painter, int page) {
  if (page < 1 || page > GetPrintPageCount() || m_printPageWidth <= 0) return;
  painter.save();
  painter.scale(m_printScale, m_printScale);
  m_bPrinting = true;
  PrintHeader(painter, page);
  PrintHeadings(painter, page);
  int y = (m_nTopMargin + m_nHeaderHeight + m_nGap) * m_printLineHeight + GetFixedRowHeight();
  const int first = m_printPageStarts[static_cast<std::size_t>(page - 1)];
  const int end = page < GetPrintPageCount() ? m_printPageStarts[static_cast<std::size_t>(page)] : GetRowCount();
  for (int row = first; row < end; ++row) {
    PrintRow(painter, row, y);
    y += m_rowHeights[static_cast<std::size_t>(row)];
  }
  PrintFooter(painter, page);
  m_bPrinting = false;
  painter.restore();
}

void CGridCtrl::PrintRow(QPainter& painter, int row, int y) {
  const int h = m_rowHeights[static_cast<std::size_t>(row)];
  if (h <= 0) return;
  int x = m_nLeftMargin * m_printCharWidth;
  for (int col = 0; col < GetColumnCount(); ++col) {
    const int w = m_colWidths[static_cast<std::size_t>(col)];
    if (w <= 0) continue;
    const QRect rect(x, y, w, h);
    painter.save();
    painter.setClipRect(rect);
    CellForRead(row, col)->Draw(painter, row, col, rect.adjusted(0, 0, -1, -1), true);
    painter.restore();
    painter.save();
    painter.setPen(ToQColor(m_crGridLineColour));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
    x += w;
  }
}

void CGridCtrl::PrintHeadings(QPainter& painter, int) {
  int y = (m_nTopMargin + m_nHeaderHeight + m_nGap) * m_printLineHeight;
  for (int row = 0; row < m_nFixedRows; ++row) {
    PrintRow(painter, row, y);
    y += m_rowHeights[static_cast<std::size_t>(row)];
  }
}

void CGridCtrl::PrintHeader(QPainter& painter, int) {
  QString left = QString::fromStdString(m_printHeaderLeft);
  if (left.isEmpty()) {
    for (const QWidget* w = parentWidget(); w; w = w->parentWidget())
      if (!w->windowTitle().isEmpty()) {
        left = w->windowTitle();
        break;
      }
  }
  QString right = QString::fromStdString(m_printHeaderRight);
  if (right.isEmpty()) right = QApplication::applicationDisplayName();
  const int x0 = m_nLeftMargin * m_printCharWidth;
  const int x1 = m_printPageWidth - m_nRightMargin * m_printCharWidth;
  const QRect area(x0, m_nTopMargin * m_printLineHeight, x1 - x0, m_nHeaderHeight * m_printLineHeight);
  QFont bold = m_printFont;
  bold.setBold(true);
  painter.save();
  painter.setFont(bold);
  painter.setPen(Qt::black);
  PrintSideTexts(painter, area, left, right);
  painter.drawLine(x0, area.bottom(), x1, area.bottom());
  painter.restore();
}

void CGridCtrl::PrintFooter(QPainter& painter, int page) {
  QString left = QString::asprintf("Pagina %d of %d", page, GetPrintPageCount());
  if (!m_printFooterLeft.empty()) left += QStringLiteral(" - ") + QString::fromStdString(m_printFooterLeft);
  char date[128] = "";
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(date, sizeof date, "%c", &local);
  QString right = QString::fromLocal8Bit(date);
  if (!m_printFooterRight.empty()) right = QString::fromStdString(m_printFooterRight) + QStringLiteral(" - ") + right;
  const int x0 = m_nLeftMargin * m_printCharWidth;
  const int x1 = m_printPageWidth - m_nRightMargin * m_printCharWidth;
  const int top = m_printPageHeight - (m_nBottomMargin + m_nFooterHeight) * m_printLineHeight;
  const QRect area(x0, top, x1 - x0, m_nFooterHeight * m_printLineHeight);
  painter.save();
  painter.setFont(m_printFont);
  painter.setPen(Qt::black);
  painter.drawLine(x0, area.top(), x1, area.top());
  PrintSideTexts(painter, area, left, right);
  painter.restore();
}

void CGridCtrl::PrintSideTexts(QPainter& painter, const QRect& area, const QString& left, const QString& right) const {
  const QFontMetrics fm = painter.fontMetrics();
  const int gap = 2 * std::max(1, m_printCharWidth);
  const int leftWidth = fm.horizontalAdvance(left);
  const int rightWidth = fm.horizontalAdvance(right);
  const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
  if (left.isEmpty() || right.isEmpty() || leftWidth + gap + rightWidth <= area.width()) {
    painter.drawText(area, flags | Qt::AlignLeft, fm.elidedText(left, Qt::ElideRight, area.width()));
    painter.drawText(area, flags | Qt::AlignRight, fm.elidedText(right, Qt::ElideLeft, area.width()));
    return;
  }
  if (area.height() >= 2 * fm.height()) {
    // Too long for one line: the left text above, the right text below it.
    const int half = area.height() / 2;
    const QRect upper(area.left(), area.top(), area.width(), half);
    const QRect lower(area.left(), area.top() + half, area.width(), area.height() - half);
    painter.drawText(upper, flags | Qt::AlignLeft, fm.elidedText(left, Qt::ElideRight, area.width()));
    painter.drawText(lower, flags | Qt::AlignRight, fm.elidedText(right, Qt::ElideRight, area.width()));
    return;
  }
  // One line only: the left text keeps its place, the right one is shortened to what is left.
  const QString shownLeft = fm.elidedText(left, Qt::ElideRight, area.width());
  const int room = area.width() - fm.horizontalAdvance(shownLeft) - gap;
  painter.drawText(area, flags | Qt::AlignLeft, shownLeft);
  if (room > 0) painter.drawText(area, flags | Qt::AlignRight, fm.elidedText(right, Qt::ElideRight, room));
}

void CGridCtrl::EndPrint() {
  m_printer = nullptr;
  m_bPrinting = false;
}
