#pragma once
// An up-down control: two arrow buttons attached to the right side of an edit (its buddy). A
// click or the Up / Down key in the edit steps the edit's number by one within the range and
// writes it back as a plain integer (no thousands separators). Only the steps keep to the range:
// a larger number typed into the edit stays as it was typed, and the next step starts from the
// range's end.
#include <QPointer>
#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDownControl : public QWidget {
  Q_OBJECT
 public:
  explicit UpDownControl(QWidget* parent = nullptr);

  // Attaches to the edit (digits only from then on); the control keeps the geometry it was given.
  void SetBuddy(QLineEdit* buddy);
  // Takes the right end of the buddy's rectangle, narrowing the edit to make room; from then on
  // the control is part of the edit and follows its enabled state.
  void AlignInsideBuddy();
  QLineEdit* Buddy() const;
  void SetRange(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }

  // One step up (+1) or down (-1) from the edit's number, brought into the range first.
  void Step(int direction);
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPointer<QLineEdit> buddy_;
  // The buddy as the event filter sees it: compared without a cast, since the filter also sees
  // events sent while the edit is being destroyed, when it is no longer a QLineEdit.
  const QObject* buddyObject_ = nullptr;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  bool followBuddy_ = false;
};
