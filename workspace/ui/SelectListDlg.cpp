#include "workspace/ui/SelectListDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "text/TextUtil.h"

namespace {
using C = CSelectListDlg;
// The prompt stands above the list it explains.
const ControlDef kControls[] = {
    {C::kPrompt, ControlKind::Static, "Prompt ...", 12, 6, 158, 8},
    {C::kList, ControlKind::ListBox, "", 12, 17, 158, 128},
    {C::kOk, ControlKind::DefPushButton, "OK", 180, 17, 50, 14},
    {C::kCancel, ControlKind::PushButton, "Cancel", 180, 35, 50, 14},
};
}  // namespace

CSelectListDlg::CSelectListDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Selection list dialog"));
  const DialogUnits units;
  controls_.Create(this, kControls, units);
  setFixedSize(units.ToPixels(QSize(239, 153)));
  connect(controls_.As<QPushButton>(kOk), &QPushButton::clicked, this, &QDialog::accept);
  connect(controls_.As<QPushButton>(kCancel), &QPushButton::clicked, this, &QDialog::reject);
  connect(List(), &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

QListWidget* CSelectListDlg::List() const {
  return controls_.As<QListWidget>(kList);
}

void CSelectListDlg::Prepare() {
  if (filled_) return;
  filled_ = true;
  setWindowTitle(QString::fromStdString(title));
  controls_.As<QLabel>(kPrompt)->setText(QString::fromStdString(prompt));
  QListWidget* list = List();
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const std::string& item : items) {
    list->addItem(QString::fromStdString(item));
    if (CompareNoCase(item, preselect) == 0) list->setCurrentRow(list->count() - 1);
  }
}

void CSelectListDlg::showEvent(QShowEvent* event) {
  Prepare();
  QDialog::showEvent(event);
}

void CSelectListDlg::accept() {
  Prepare();
  QList<QListWidgetItem*> selected = List()->selectedItems();
  result_ = selected.isEmpty() ? std::string() : selected.first()->text().toStdString();
  QDialog::accept();
}
