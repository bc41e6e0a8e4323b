#include "ui/AnchoredFormView.h"

#include <QResizeEvent>
#include <algorithm>

CAnchoredFormView::CAnchoredFormView(QSize formSize, QWidget* parent)
    : QScrollArea(parent), form_(new QWidget), total_(formSize) {
  setWidgetResizable(false);
  setFrameShape(QFrame::NoFrame);
  form_->resize(total_);
  setWidget(form_);
}

void CAnchoredFormView::SetScrollSizes(QSize total) {
  total_ = total;
  FitForm();
}

void CAnchoredFormView::SetScaleToFit(bool on) {
  scaleToFit_ = on;
  FitForm();
}

QRect CAnchoredFormView::GetLayoutRect() const {
  if (!initialized_) return QRect(QPoint(0, 0), total_);
  const QSize client = viewport()->size();
  if (scaleToFit_) return QRect(QPoint(0, 0), client);
  return QRect(0, 0, std::max(client.width(), total_.width()), std::max(client.height(), total_.height()));
}

void CAnchoredFormView::FitForm() {
  if (!initialized_) return;
  const QSize size = GetLayoutRect().size();
  if (form_->size() != size) form_->resize(size);
}

void CAnchoredFormView::OnInitialUpdate() {
  initialized_ = true;
  FitForm();
  LayoutControls();
}

void CAnchoredFormView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  if (!initialized_) return;
  FitForm();
  LayoutControls();
}
