#include "platform/framework/WaitCursor.h"

#include <QApplication>
#include <QCursor>

namespace {
int depth = 0;
}

WaitCursor::WaitCursor() {
  ++depth;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
  End();
}

void WaitCursor::Restore() {
  if (!active_) return;
  // Put the wait cursor back on top of whatever was pushed since.
  QCursor* current = QApplication::overrideCursor();
  if (!current || current->shape() != Qt::WaitCursor) QApplication::changeOverrideCursor(Qt::WaitCursor);
}

void WaitCursor::End() {
  if (!active_) return;
  active_ = false;
  --depth;
  QApplication::restoreOverrideCursor();
}

bool WaitCursor::Active() {
  return depth > 0;
}
