#pragma once
// The controls of a ControlTable as seen by the settings-bound exchanges (DialogControls): line
// edits, multi-line edits, labels, check boxes, radio buttons and drop-down lists, by id.
#include "platform/framework/ControlTable.h"
#include "workspace/SettingsExchange.h"

class WidgetDialogControls : public DialogControls {
 public:
  explicit WidgetDialogControls(const ControlTable& table) : table_(table) {}

  std::string GetText(int id) const override;
  void SetText(int id, const std::string& text) override;
  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  void SetItems(int id, const std::vector<std::string>& items) override;
  int GetSelection(int id) const override;
  void SetSelection(int id, int index) override;

 private:
  const ControlTable& table_;
};
