#include "workspace/ui/ConfigEditor.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/framework/PromptSeam.h"
#include "workspace/ProfileStore.h"
#include "workspace/ui/ConfigPageGrid.h"

CConfigEditor::CConfigEditor(QWidget* parent, FrameIconAccess icon) : QDialog(parent), settings_(AppSettings()) {
  setObjectName(QStringLiteral("ConfigEditor"));
  setWindowTitle(QStringLiteral("Configuration"));
  tabs_ = new QTabWidget(this);
  general_ = new CConfigPageGeneral(settings_, std::move(icon), tabs_);
  grid_ = new CConfigPageGrid(settings_, tabs_);
  tabs_->addTab(general_, QStringLiteral("General"));
  tabs_->addTab(grid_, QStringLiteral("Grid"));
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(buttons_, &QDialogButtonBox::accepted, this, &CConfigEditor::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &CConfigEditor::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &CConfigEditor::OnPageChanged);
  // The first page is loaded as the sheet opens, even when it is run without being shown.
  OnPageChanged(tabs_->currentIndex());
}

bool CConfigEditor::Run(QWidget* parent, FrameIconAccess icon) {
  CConfigEditor sheet(parent, std::move(icon));
  if (Prompts().ExecDialog(sheet) != QDialog::Accepted) return false;
  AppSettings() = sheet.Settings();
  AppSettings().SaveAll(AppProfile());
  return true;
}

void CConfigEditor::SetActivePage(int index) {
  tabs_->setCurrentIndex(index);
}

void CConfigEditor::OnPageChanged(int index) {
  // The page left keeps what was typed on it in the sheet's copy.
  if (auto* left = qobject_cast<ConfigPage*>(tabs_->widget(activePage_))) left->Store();
  activePage_ = index;
  if (auto* page = qobject_cast<ConfigPage*>(tabs_->widget(index))) page->Activate();
}

void CConfigEditor::showEvent(QShowEvent* event) {
  if (auto* page = qobject_cast<ConfigPage*>(tabs_->currentWidget())) page->Activate();
  QDialog::showEvent(event);
}

void CConfigEditor::accept() {
  general_->Store();
  grid_->Store();
  QDialog::accept();
}
