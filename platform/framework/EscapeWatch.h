#pragma once
// Holds the user's input back while a long task runs inside the event loop: while it lives, key,
// mouse, wheel, touch, context-menu and close events to every window of the application are
// dropped, so no command can start in the middle of the task; an Esc press is noted, so the
// task can stop.
#include <QObject>

class EscapeWatch : public QObject {
 public:
  EscapeWatch();
  ~EscapeWatch() override;
  EscapeWatch(const EscapeWatch&) = delete;
  EscapeWatch& operator=(const EscapeWatch&) = delete;

  bool EscapePressed() const { return escapePressed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool escapePressed_ = false;
};
