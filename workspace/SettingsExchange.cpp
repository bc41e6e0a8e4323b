#include "workspace/SettingsExchange.h"

#include "text/TextUtil.h"
#include "workspace/SettingsStore.h"

void ExchangeText(SettingsStore& settings, DialogControls& controls, ExchangeDirection direction, int id,
                  const std::string& section, const std::string& key) {
  if (direction == ExchangeDirection::Load)
    controls.SetText(id, settings.GetString(section, key));
  else
    settings.SetText(section, key, controls.GetText(id));
}

void ExchangeCheck(SettingsStore& settings, DialogControls& controls, ExchangeDirection direction, int id,
                   const std::string& section, const std::string& key) {
  if (direction == ExchangeDirection::Load)
    controls.SetChecked(id, settings.GetBool(section, key));
  else
    settings.SetText(section, key, controls.IsChecked(id) ? "1" : "0");
}

void ExchangeRadio(SettingsStore& settings, DialogControls& controls, ExchangeDirection direction, int firstId,
                   int lastId, const std::string& section, const std::string& key) {
  if (direction == ExchangeDirection::Load) {
    long long chosen = static_cast<long long>(firstId) + settings.GetInt(section, key) - 1;
    for (int id = firstId; id <= lastId; ++id) controls.SetChecked(id, id == chosen);
    return;
  }
  int position = 0;
  for (int id = firstId; id <= lastId; ++id) {
    if (controls.IsChecked(id)) {
      position = id - firstId + 1;
      break;
    }
  }
  settings.SetValue(section, key, "%d", position);
}

void ExchangeCombo(SettingsStore& settings, DialogControls& controls, ExchangeDirection direction, int id,
                   const std::string& items, const std::string& section, const std::string& key) {
  if (direction == ExchangeDirection::Load) {
    std::vector<std::string> pieces;
    SplitTrimmed(items, '|', pieces);
    // The list is replaced rather than added to, so that loading twice does not repeat the items.
    controls.SetItems(id, pieces);
    int index = settings.GetInt(section, key);
    controls.SetSelection(id, index >= 0 && index < static_cast<int>(pieces.size()) ? index : -1);
    return;
  }
  settings.SetValue(section, key, "%d", controls.GetSelection(id));
}
