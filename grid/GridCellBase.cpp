#include "grid/GridCellBase.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QStyle>
#include <QStyleOption>
#include <cmath>

#include "grid/GridCell.h"
#include "grid/GridColour.h"
#include "grid/GridCtrl.h"

namespace {

// The sorted header's solid triangle, sized from the letter M; always an odd width.
int SortArrowWidth(const QFont& font) {
  const QFontMetrics fm(font);
  return std::max(7, fm.boundingRect(QLatin1Char('M')).height() * 3 / 4) | 1;
}

}  // namespace

const GridCellClass& CGridCellBase::ClassInfo() {
  static const GridCellClass info{"CGridCellBase", nullptr, nullptr};
  return info;
}

void CGridCellBase::CopyPropertiesFrom(const CGridCellBase& other) {
  SetText(other.GetText());
  SetData(other.GetData());
  SetImage(other.GetImage());
  SetState(other.GetState());
  const auto* plain = dynamic_cast<const CGridCell*>(&other);
  SetFormat(plain ? plain->GetOwnFormat() : other.GetFormat());
  SetTextColour(other.GetTextColour());
  SetBackColour(other.GetBackColour());
  SetMargin(other.GetMargin());
}

const CGridDefaultCell* CGridCellBase::GetDefaultCell() const {
  if (m_grid) return m_grid->GetDefaultCell((m_state & kCellFixedRow) != 0, (m_state & kCellFixedCol) != 0);
  static const CGridDefaultCell* fallback = [] {
    auto* cell = new CGridDefaultCell;  // lives as long as the process, like the pool of styles
    cell->SizeFromFont();
    return cell;
  }();
  return fallback;
}

bool CGridCellBase::IsEditing() const {
  return m_grid && m_grid->IsEditing(this);
}

QColor CGridCellBase::DrawBackground(QPainter& painter, int row, int col, const QRect& rect, bool erase) const {
  const CGridCtrl* grid = GetGrid();
  const CGridDefaultCell* def = GetDefaultCell();
  const unsigned state = grid ? grid->GetCellState(row, col) : GetState();
  const bool printing = grid && grid->IsPrinting();
  const bool fixed = (state & kCellFixed) != 0;
  const QPalette palette = grid ? grid->palette() : QApplication::palette();

  COLORREF back = GetBackColour();
  if (back == CLR_DEFAULT) back = def->GetBackColour();
  COLORREF text = GetTextColour();
  if (text == CLR_DEFAULT) text = def->GetTextColour();
  QColor bg = ToQColor(back);
  QColor fg = ToQColor(text);

  if (fixed) {
    // Headers of the focus cell's row and column are shown pressed when tracking is on.
    bool track = false;
    if (grid && !printing && grid->GetTrackFocusCell()) {
      const CellId focus = grid->GetFocusCell();
      track = focus.IsValid() && ((row < grid->GetFixedRowCount() && col == focus.col) ||
                                  (col < grid->GetFixedColumnCount() && row == focus.row));
    }
    if (erase || track) {
      QStyleOptionButton opt;
      opt.rect = rect;
      opt.palette = palette;
      opt.palette.setColor(QPalette::Button, track ? bg.darker(112) : bg);
      opt.palette.setColor(QPalette::Window, bg);
      opt.state = QStyle::State_Enabled | (track ? QStyle::State_Sunken : QStyle::State_Raised);
      painter.fillRect(rect, opt.palette.color(QPalette::Button));
      const QWidget* widget = grid;
      QStyle* style = widget ? widget->style() : QApplication::style();
      // A bevel: light top-left edge, dark bottom-right edge.
      style->drawPrimitive(QStyle::PE_FrameButtonBevel, &opt, &painter, widget);
    }
  } else {
    const bool selected = !printing && (state & kCellSelected);
    const bool dropTarget = !printing && (state & kCellDropTarget);
    if (selected || dropTarget) {
      bg = palette.color(QPalette::Highlight);
      fg = palette.color(QPalette::HighlightedText);
    }
    if (erase || selected || dropTarget) painter.fillRect(rect, bg);
    if (!printing && grid && grid->GetFrameFocusCell() && (state & kCellFocused)) {
      painter.save();
      painter.setPen(QPen(palette.color(QPalette::WindowText), 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rect.adjusted(0, 0, -1, -1));
      painter.restore();
    }
  }
  return fg;
}

QFont CGridCellBase::PaintFont() const {
  QFont font = GetFont();
  if (m_grid && m_grid->IsPrinting()) font.setPixelSize(QFontInfo(GetFont()).pixelSize());
  return font;
}

void CGridCellBase::DrawContent(QPainter& painter, int row, int col, const QRect& area, const QColor& fg) const {
  const CGridCtrl* grid = GetGrid();
  const int margin = GetMargin();
  QRect textRect = area;

  const int image = GetImage();
  if (grid && image >= 0 && image < grid->GetImageList().size()) {
    const QPixmap& pm = grid->GetImageList().at(image);
    const int y = area.top() + (area.height() - pm.height()) / 2;
    painter.drawPixmap(area.left() + margin, y, pm);
    textRect.setLeft(area.left() + margin + pm.width());
  }

  if (grid && row == 0 && grid->GetFixedRowCount() > 0 && grid->GetSortColumn() == col) {
    // A solid triangle in the text colour, sized from the letter M: up for ascending, down for
    // descending. The style's arrow primitive is drawn too faint to find at a glance.
    const int width = SortArrowWidth(PaintFont());
    const int height = width / 2 + 1;
    const int x = area.right() - margin - width;
    const int y = area.top() + (area.height() - height) / 2;
    QPolygon triangle;
    if (grid->GetSortAscending())
      triangle << QPoint(x, y + height) << QPoint(x + width, y + height) << QPoint(x + width / 2, y);
    else
      triangle << QPoint(x, y) << QPoint(x + width, y) << QPoint(x + width / 2, y + height);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fg);
    painter.drawPolygon(triangle);
    painter.restore();
    textRect.setRight(x - 1);
  }

  textRect.adjust(margin, 0, -margin, 0);
  if (textRect.width() <= 0) return;
  const unsigned format = GetFormat();
  QString text = QString::fromStdString(GetDisplayText());
  if (text.isEmpty()) return;
  int flags = (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
  const QFont font = PaintFont();
  const QFontMetrics fm(font);
  if (format & DT_SINGLELINE) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (format & DT_END_ELLIPSIS) text = fm.elidedText(text, Qt::ElideRight, textRect.width());
  } else if (format & DT_WORDBREAK) {
    flags |= Qt::TextWordWrap;
  }
  painter.setFont(font);
  painter.setPen(fg);
  painter.drawText(textRect, flags, text);
}

bool CGridCellBase::Draw(QPainter& painter, int row, int col, const QRect& rect, bool erase) {
  const QColor fg = DrawBackground(painter, row, col, rect, erase);
  DrawContent(painter, row, col, GetTextRect(rect), fg);
  return true;
}

QRect CGridCellBase::GetTextRect(const QRect& rect) const {
  return rect;
}

int CGridCellBase::SortArrowRoom(const QFont& font, int margin) {
  // The arrow, the pixel between it and the text, and its own margin.
  return SortArrowWidth(font) + 1 + margin;
}

QSize CGridCellBase::GetCellExtent() const {
  const QFontMetrics fm(GetFont());
  QString text = QString::fromStdString(GetDisplayText());
  QSize size(0, fm.height());
  if (GetFormat() & DT_SINGLELINE) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Rounded up: a text a fraction of a pixel wider than its cell is elided when painted.
    size.setWidth(static_cast<int>(std::ceil(QFontMetricsF(GetFont()).horizontalAdvance(text))));
  } else if (!text.isEmpty()) {
    size = fm.size(0, text);
  }
  const int margin = GetMargin();
  size += QSize(2 * margin, 2 * margin);
  const CGridCtrl* grid = GetGrid();
  const int image = GetImage();
  if (grid && image >= 0 && image < grid->GetImageList().size()) {
    const QPixmap& pm = grid->GetImageList().at(image);
    size.rwidth() += pm.width();
    size.setHeight(std::max(size.height(), pm.height() + 2 * margin));
  }
  return size;
}

bool CGridCellBase::Edit(int, int, const QRect&, const QPoint&, int, int) {
  return false;
}

bool CGridCellBase::CanEdit(const QRect&, const QPoint&, int) const {
  return true;
}

bool CGridCellBase::ValidateEdit(std::string_view) {
  return true;
}

void CGridCellBase::EndEdit() {
  if (m_grid && IsEditing()) m_grid->StopEdit();
}

void CGridCellBase::OnEndEdit() {}

void CGridCellBase::OnClick(const CellId&, const QPoint&) {}

void CGridCellBase::OnClickDown(const CellId&, const QPoint&) {}
