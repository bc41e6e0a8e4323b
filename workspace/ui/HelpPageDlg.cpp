#include "workspace/ui/HelpPageDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/framework/DialogUnits.h"

HelpPageDlg::HelpPageDlg(const std::string& path, QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("HelpPage"));
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
  const QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? QFileInfo(QString::fromStdString(path)).fileName() : title);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
  resize(DialogUnits().ToPixels(QSize(420, 320)));
}
