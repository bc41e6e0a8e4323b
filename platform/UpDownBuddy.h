#pragma once
// An up-down control attached to a line edit (its buddy): two small arrow buttons at the edit's
// right edge, and the Up and Down keys in the edit, step the number in the edit within a range.
// Typed text is never changed or clamped: the range only bounds what the arrows produce, so a
// number beyond it stays as typed. The number is shown plainly, without thousands separators.
#include <QPointer>
#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDownBuddy : public QWidget {
  Q_OBJECT
 public:
  // Attaches to `buddy` (sharing its parent) and takes the right end of the edit's room.
  explicit UpDownBuddy(QLineEdit* buddy);

  void SetRange(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  QLineEdit* Buddy() const;

  // One step up (+1) or down (-1): the edit's number, brought into the range, moved by the step
  // and kept in the range.
  void Step(int delta);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QLineEdit> buddy_;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
};
