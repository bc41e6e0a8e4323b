#pragma once
// Data exchange between a dialog's controls and settings: a dialog loads its controls from the
// settings when it opens and stores them back when it is confirmed. The dialog implements
// DialogControls over its widgets; the rules of each kind of control live here.
#include <string>
#include <vector>

class SettingsStore;

// What a dialog gives access to, by control id.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual std::string GetText(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  // Drop-down lists: the items replaced as a whole, the selection by index (-1 none).
  virtual void SetItems(int id, const std::vector<std::string>& items) = 0;
  virtual int GetSelection(int id) const = 0;
  virtual void SetSelection(int id, int index) = 0;
};

enum class ExchangeDirection { Load, Store };

// The control's text and the value.
void ExchangeText(SettingsStore& settings, DialogControls& controls, ExchangeDirection direction, int id,
                  const std::string& section, const std::string& key);
// Checked when the value is a non-zero integer; stores "1" or "0".
void ExchangeCheck(SettingsStore& settings, DialogControls& controls, ExchangeDirection direction, int id,
                   const std::string& section, const std::string& key);
// A group of radio buttons firstId … lastId and a 1-based choice: loading checks button
// firstId + value - 1 and clears the others (a value outside the range leaves none checked);
// storing writes the checked button's position, 1-based, or "0" when none is checked.
void ExchangeRadio(SettingsStore& settings, DialogControls& controls, ExchangeDirection direction, int firstId,
                   int lastId, const std::string& section, const std::string& key);
// A drop-down list of choices given in one text separated by "|": loading sets the list to the
// pieces (trimmed of blanks; an empty last piece dropped) and selects the value's index; storing
// writes the selected index ("-1" when nothing is selected).
void ExchangeCombo(SettingsStore& settings, DialogControls& controls, ExchangeDirection direction, int id,
                   const std::string& items, const std::string& section, const std::string& key);
