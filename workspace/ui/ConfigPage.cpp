#include "workspace/ui/ConfigPage.h"

CConfigPage::CConfigPage(SettingsStore& settings, QWidget* parent) : QWidget(parent), settings_(settings) {}

void CConfigPage::Activate() {
  if (loaded_) return;
  loaded_ = true;
  DoDataExchange(ExchangeDirection::Load);
  OnInitPage();
}

void CConfigPage::Store() {
  if (loaded_) DoDataExchange(ExchangeDirection::Store);
}
