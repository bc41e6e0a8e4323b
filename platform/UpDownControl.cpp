#include "platform/UpDownControl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <algorithm>

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(6, 6));
  }
  connect(up_, &QToolButton::clicked, this, [this] { Step(+1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  setFocusPolicy(Qt::NoFocus);
}

void UpDownControl::SetBuddy(QLineEdit* buddy) {
  if (buddy_) buddy_->removeEventFilter(this);
  buddy_ = buddy;
  buddyObject_ = buddy;
  if (!buddy_) return;
  buddy_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), buddy_));
  buddy_->installEventFilter(this);
  if (objectName().isEmpty()) setObjectName(buddy_->objectName() + QStringLiteral("Spin"));
}

QLineEdit* UpDownControl::Buddy() const {
  return buddy_;
}

void UpDownControl::AlignInsideBuddy() {
  if (!buddy_) return;
  const QRect area = buddy_->geometry();
  const int width = std::max(12, area.height() * 2 / 3);
  buddy_->setGeometry(area.x(), area.y(), std::max(1, area.width() - width), area.height());
  setGeometry(area.x() + area.width() - width, area.y(), width, area.height());
  raise();
  followBuddy_ = true;
  setEnabled(buddy_->isEnabled());
}

void UpDownControl::SetRange(int minimum, int maximum) {
  minimum_ = std::min(minimum, maximum);
  maximum_ = std::max(minimum, maximum);
}

void UpDownControl::Step(int direction) {
  if (!buddy_ || !isEnabled()) return;
  bool ok = false;
  const long long typed = buddy_->text().toLongLong(&ok);
  long long value = ok ? std::clamp<long long>(typed, minimum_, maximum_) : minimum_;
  if (ok) value = std::clamp<long long>(value + direction, minimum_, maximum_);
  buddy_->setText(QString::number(value));
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched == buddyObject_ && buddy_) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? +1 : -1);
      return true;
    }
  }
  if (followBuddy_ && event->type() == QEvent::EnabledChange && watched == buddyObject_ && buddy_)
    setEnabled(buddy_->isEnabled());
  return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}
