#include "platform/UpDownBuddy.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "workspace/SettingsStore.h"

UpDownBuddy::UpDownBuddy(QLineEdit* buddy) : QWidget(buddy->parentWidget()), buddy_(buddy) {
  setObjectName(buddy->objectName() + QStringLiteral("Spin"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(button);
  }
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });

  // The arrows sit inside the edit's rectangle, at its right end, as an attached up-down does.
  const QRect area = buddy->geometry();
  const int width = std::max(12, area.height() * 2 / 3);
  buddy->setGeometry(area.x(), area.y(), std::max(1, area.width() - width), area.height());
  setGeometry(area.x() + area.width() - width, area.y(), width, area.height());
  buddy->installEventFilter(this);
  raise();
}

QLineEdit* UpDownBuddy::Buddy() const {
  return buddy_;
}

void UpDownBuddy::SetRange(int minimum, int maximum) {
  minimum_ = std::min(minimum, maximum);
  maximum_ = std::max(minimum, maximum);
}

void UpDownBuddy::Step(int delta) {
  if (!buddy_ || !isEnabled()) return;
  const int current = std::clamp(TextToInt(buddy_->text().toStdString()), minimum_, maximum_);
  const int next = std::clamp(current + delta, minimum_, maximum_);
  buddy_->setText(QString::number(next));
}

bool UpDownBuddy::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
      Step(key->key() == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  if (watched == buddy_ && event->type() == QEvent::EnabledChange) setEnabled(buddy_->isEnabled());
  return QWidget::eventFilter(watched, event);
}
