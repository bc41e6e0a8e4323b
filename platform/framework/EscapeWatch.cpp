#include "platform/framework/EscapeWatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

namespace {
bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}
}  // namespace

EscapeWatch::EscapeWatch() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

EscapeWatch::~EscapeWatch() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool EscapeWatch::eventFilter(QObject* watched, QEvent* event) {
  if (!IsInput(event->type())) return QObject::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
    escapePressed_ = true;
  return true;
}
