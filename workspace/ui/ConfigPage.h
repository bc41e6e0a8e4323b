#pragma once
// One page of the configuration sheet. A page loads its controls from the sheet's copy of the
// settings the first time it is shown, and stores them back when it is left and when the sheet is
// confirmed; a page that was never shown neither loads nor stores anything.
#include <QWidget>

#include "platform/framework/ControlTable.h"
#include "platform/framework/WidgetDialogControls.h"
#include "workspace/SettingsExchange.h"

class SettingsStore;

class ConfigPage : public QWidget {
  Q_OBJECT
 public:
  ConfigPage(SettingsStore& settings, QWidget* parent);

  // Loads the page when it is shown for the first time.
  void Activate();
  // Stores the controls into the sheet's copy; nothing for a page never shown.
  void Store();
  bool IsLoaded() const { return loaded_; }

  QWidget* Control(int id) const { return controls_.Get(id); }
  template <class T>
  T* As(int id) const {
    return controls_.As<T>(id);
  }

 protected:
  // The page's settings-bound exchanges, in the page's order.
  virtual void DoDataExchange(ExchangeDirection direction) = 0;
  // After the first load: ranges, lists and the enabling that follows the loaded values.
  virtual void OnInitPage() {}

  SettingsStore& settings_;
  ControlTable controls_;
  WidgetDialogControls exchange_{controls_};

 private:
  bool loaded_ = false;
};
