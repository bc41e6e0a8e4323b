#include "ui/Link.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"

CLink::CLink(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
  Restyle();
}

CLink* CLink::Replace(QLabel* label) {
  auto* link = new CLink(label->parentWidget());
  link->setObjectName(label->objectName());
  link->setProperty("controlId", label->property("controlId"));
  link->setGeometry(label->geometry());
  link->setAlignment(label->alignment());
  if (!label->pixmap().isNull())
    link->setPixmap(label->pixmap());
  else
    link->setText(label->text());
  link->setFont(label->font());
  link->Restyle();
  link->stackUnder(label);
  delete label;
  link->show();
  return link;
}

void CLink::Restyle() {
  // Only a text is dressed as a link; a picture keeps its look.
  QFont underlined = font();
  underlined.setUnderline(pixmap().isNull());
  setFont(underlined);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, TextColour());
  setPalette(colours);
}

void CLink::Open() {
  if (target_.empty()) target_ = text().toStdString();
  if (!Prompts().OpenDocument(target_)) {
    Prompts().Beep(MB_OK);
    return;
  }
  visited_ = true;
  Restyle();
  update();
}

void CLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    Open();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void CLink::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Open();
    return;
  }
  QLabel::keyPressEvent(event);
}
