#include "ui/AboutDlg.h"

#include <algorithm>

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "ui/Link.h"
#include "ui/ModuleVersion.h"

namespace {
using A = AboutDlg;
const ControlDef kControls[] = {
    {A::kOk, ControlKind::DefPushButton, "OK", 178, 7, 50, 14}, {A::kIcon, ControlKind::Static, "", 9, 10, 24, 24},
    {A::kVersion, ControlKind::Static, "", 40, 9, 134, 8},      {A::kLegal, ControlKind::Static, "", 40, 21, 134, 16},
    {A::kLinkText, ControlKind::Static, "", 40, 40, 134, 9},
};
}  // namespace

AboutDlg::AboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDlg"));
  setWindowTitle(QStringLiteral("About Qelvo"));
  const DialogUnits units;
  controls_.Create(this, kControls, units);
  setFixedSize(units.ToPixels(QSize(235, 55)));
  connect(controls_.As<QPushButton>(kOk), &QPushButton::clicked, this, &QDialog::accept);

  tvapi::ModuleVersion version;
  version.LoadVersionInfo();
  controls_.As<QLabel>(kVersion)->setText(QString::fromStdString(version.VersionLine()));
  auto* legal = controls_.As<QLabel>(kLegal);
  legal->setWordWrap(true);
  legal->setText(QString::fromStdString(version.GetVersionString("LegalCopyright") + " - " +
                                        version.GetVersionString("CompanyName")));

  const std::string address = tvapi::ProgramWebAddress();
  auto* iconLabel = controls_.As<QLabel>(kIcon);
  const QRect iconRect = iconLabel->geometry();
  const int side = std::min(iconRect.width(), iconRect.height());
  iconLabel->setPixmap(icon.pixmap(QSize(side, side)));
  iconLink_ = CLink::Replace(iconLabel);
  iconLink_->SetTarget(address);
  controls_.As<QLabel>(kLinkText)->setText(QString::fromStdString(address));
  textLink_ = CLink::Replace(controls_.As<QLabel>(kLinkText));
  textLink_->SetTarget(address);
}
