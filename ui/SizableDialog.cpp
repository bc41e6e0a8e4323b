#include "ui/SizableDialog.h"

#include <QEvent>

CSizableDialog::CSizableDialog(QWidget* parent) : QDialog(parent) {
  // Our own grip replaces the one QDialog could add; the frame is a sizing one by default.
  setSizeGripEnabled(false);
  grip_.CreateGrip(this);
}

bool CSizableDialog::OnInitDialog() {
  minimumTracking_ = size();
  setMinimumSize(minimumTracking_);
  grip_.PlaceGrip();
  initialized_ = true;
  return true;
}

void CSizableDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!initDone_) {
    initDone_ = true;
    OnInitDialog();
  }
}

void CSizableDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (!initialized_) return;
  grip_.PlaceGrip();
  LayoutControls();
}

void CSizableDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) grip_.PlaceGrip();
}
