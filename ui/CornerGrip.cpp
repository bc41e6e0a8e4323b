#include "ui/CornerGrip.h"

#include <QApplication>
#include <QSizeGrip>
#include <QStyle>

CCornerGrip::CCornerGrip() {
  const int extent = QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
  size_ = QSize(extent, extent);
}

QWidget* CCornerGrip::Widget() const {
  return grip_.data();
}

QRegion CCornerGrip::TriangleRegion(QSize size) {
  QRegion region;
  for (int row = 1; row < size.height(); ++row) {
    const int from = std::max(0, size.width() - row);
    region += QRect(from, row, size.width() - from, 1);
  }
  return region;
}

bool CCornerGrip::CreateGrip(QWidget* parent) {
  if (!parent) return false;
  grip_ = new QSizeGrip(parent);
  grip_->hide();
  grip_->setGeometry(QRect(QPoint(0, 0), size_));
  grip_->setMask(TriangleRegion(size_));
  PlaceGrip();
  grip_->show();
  return true;
}

void CCornerGrip::PlaceGrip() {
  if (!grip_) return;
  QWidget* parent = grip_->parentWidget();
  const QRect client = parent->rect();
  grip_->move(client.right() + 1 - size_.width(), client.bottom() + 1 - size_.height());
  grip_->lower();
  grip_->setEnabled(!(parent->window()->windowState() & Qt::WindowMaximized));
}

void CCornerGrip::ShowGrip(bool show) {
  if (grip_) grip_->setVisible(show);
}
