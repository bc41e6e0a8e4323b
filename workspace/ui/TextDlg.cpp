#include "workspace/ui/TextDlg.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QResizeEvent>

#include "platform/framework/DialogUnits.h"

QFont TextDialogFont() {
  // "Courier New" where it is a real monospaced face; else the desktop's fixed font; else the first
  // face the font database knows as monospaced (font substitutes are not always fixed-pitch).
  auto sized = [](QFont font) {
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(14);
    font.setWeight(QFont::Normal);
    return font;
  };
  QFont font = sized(QFont(QStringLiteral("Courier New")));
  if (QFontInfo(font).fixedPitch()) return font;
  font = sized(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  if (QFontInfo(font).fixedPitch()) return font;
  for (const QString& family : QFontDatabase::families()) {
    if (!QFontDatabase::isFixedPitch(family)) continue;
    font = sized(QFont(family));
    if (QFontInfo(font).fixedPitch()) return font;
  }
  return font;
}

CTextDlg::CTextDlg(QWidget* parent) : QDialog(parent), edit_(new QPlainTextEdit(this)), font_(TextDialogFont()) {
  setWindowTitle(QStringLiteral("Text dialog ..."));
  setSizeGripEnabled(false);
  edit_->setObjectName(QStringLiteral("control%1").arg(kText));
  edit_->setProperty("controlId", kText);
  edit_->setReadOnly(true);
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit_->setFrameStyle(QFrame::Box | QFrame::Plain);
  edit_->setFont(font_);
  // Tab stops every eight characters, as a terminal has them, so the columns of a list line up.
  edit_->setTabStopDistance(8 * QFontMetricsF(font_).horizontalAdvance(QLatin1Char(' ')));
  // A read-only edit still keeps its cursor for selecting and copying.
  edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  resize(DialogUnits().ToPixels(QSize(400, 300)));
}

void CTextDlg::showEvent(QShowEvent* event) {
  if (!prepared_) {
    prepared_ = true;
    setWindowTitle(QString::fromStdString(title));
    // Lines end in CR LF; the edit wants bare line feeds.
    edit_->setPlainText(QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  }
  QDialog::showEvent(event);
}

void CTextDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  edit_->setGeometry(0, 0, event->size().width(), event->size().height());
}
