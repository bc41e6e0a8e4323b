#include "workspace/ui/ConfigPage.h"

ConfigPage::ConfigPage(SettingsStore& settings, QWidget* parent) : QWidget(parent), settings_(settings) {}

void ConfigPage::Activate() {
  if (loaded_) return;
  loaded_ = true;
  DoDataExchange(ExchangeDirection::Load);
  OnInitPage();
}

void ConfigPage::Store() {
  if (loaded_) DoDataExchange(ExchangeDirection::Store);
}
