#include <map>

#include <gtest/gtest.h>

#include "workspace/SettingsExchange.h"
#include "workspace/SettingsStore.h"

namespace {

// The controls of a dialog as plain values, as the real dialog's widgets would hold them.
class FakeControls : public DialogControls {
 public:
  std::string GetText(int id) const override { return texts.count(id) ? texts.at(id) : ""; }
  void SetText(int id, const std::string& text) override { texts[id] = text; }
  bool IsChecked(int id) const override { return checks.count(id) && checks.at(id); }
  void SetChecked(int id, bool checked) override { checks[id] = checked; }
  void SetItems(int id, const std::vector<std::string>& list) override { items[id] = list; }
  int GetSelection(int id) const override { return selections.count(id) ? selections.at(id) : -1; }
  void SetSelection(int id, int index) override { selections[id] = index; }

  std::map<int, std::string> texts;
  std::map<int, bool> checks;
  std::map<int, std::vector<std::string>> items;
  std::map<int, int> selections;
};

class SettingsExchange : public testing::Test {
 protected:
  SettingsStore settings;
  FakeControls dialog;
};

TEST_F(SettingsExchange, TextGoesBothWays) {
  settings.SetText("General", "BatchSeparator", "GO");
  ExchangeText(settings, dialog, ExchangeDirection::Load, 1100, "General", "BatchSeparator");
  EXPECT_EQ(dialog.texts[1100], "GO");
  dialog.texts[1100] = "  ;  ";
  ExchangeText(settings, dialog, ExchangeDirection::Store, 1100, "General", "BatchSeparator");
  EXPECT_EQ(settings.GetString("General", "BatchSeparator"), "  ;  ");
}

TEST_F(SettingsExchange, CheckReadsAnyNonZeroNumber) {
  settings.SetText("Grid", "Colorize", " 7");
  ExchangeCheck(settings, dialog, ExchangeDirection::Load, 1200, "Grid", "Colorize");
  EXPECT_TRUE(dialog.checks[1200]);
  settings.SetText("Grid", "Colorize", "yes");
  ExchangeCheck(settings, dialog, ExchangeDirection::Load, 1200, "Grid", "Colorize");
  EXPECT_FALSE(dialog.checks[1200]);
  dialog.checks[1200] = true;
  ExchangeCheck(settings, dialog, ExchangeDirection::Store, 1200, "Grid", "Colorize");
  EXPECT_EQ(settings.GetString("Grid", "Colorize"), "1");
  dialog.checks[1200] = false;
  ExchangeCheck(settings, dialog, ExchangeDirection::Store, 1200, "Grid", "Colorize");
  EXPECT_EQ(settings.GetString("Grid", "Colorize"), "0");
}

TEST_F(SettingsExchange, RadioIsAOneBasedChoice) {
  settings.SetText("Grid", "MoveCursorAfterEdit", "2");
  ExchangeRadio(settings, dialog, ExchangeDirection::Load, 1300, 1302, "Grid", "MoveCursorAfterEdit");
  EXPECT_FALSE(dialog.checks[1300]);
  EXPECT_TRUE(dialog.checks[1301]);
  EXPECT_FALSE(dialog.checks[1302]);

  dialog.checks[1301] = false;
  dialog.checks[1302] = true;
  ExchangeRadio(settings, dialog, ExchangeDirection::Store, 1300, 1302, "Grid", "MoveCursorAfterEdit");
  EXPECT_EQ(settings.GetString("Grid", "MoveCursorAfterEdit"), "3");

  // A value outside the group checks nothing and clears what was checked.
  settings.SetText("Grid", "MoveCursorAfterEdit", "2147483647");
  ExchangeRadio(settings, dialog, ExchangeDirection::Load, 1300, 1302, "Grid", "MoveCursorAfterEdit");
  EXPECT_FALSE(dialog.checks[1300] || dialog.checks[1301] || dialog.checks[1302]);
  ExchangeRadio(settings, dialog, ExchangeDirection::Store, 1300, 1302, "Grid", "MoveCursorAfterEdit");
  EXPECT_EQ(settings.GetString("Grid", "MoveCursorAfterEdit"), "0");
}

TEST_F(SettingsExchange, ComboListsTrimmedChoicesAndSelectsByIndex) {
  settings.SetText("Grid", "AutoSizeColumns", "2");
  ExchangeCombo(settings, dialog, ExchangeDirection::Load, 1400, " Default | Header|Data |Both|", "Grid",
                "AutoSizeColumns");
  EXPECT_EQ(dialog.items[1400], (std::vector<std::string>{"Default", "Header", "Data", "Both"}));
  EXPECT_EQ(dialog.selections[1400], 2);

  // Loading again does not repeat the choices.
  ExchangeCombo(settings, dialog, ExchangeDirection::Load, 1400, "Default|Header|Data|Both", "Grid", "AutoSizeColumns");
  EXPECT_EQ(dialog.items[1400].size(), 4u);

  dialog.selections[1400] = 3;
  ExchangeCombo(settings, dialog, ExchangeDirection::Store, 1400, "Default|Header|Data|Both", "Grid",
                "AutoSizeColumns");
  EXPECT_EQ(settings.GetString("Grid", "AutoSizeColumns"), "3");
  dialog.selections[1400] = -1;
  ExchangeCombo(settings, dialog, ExchangeDirection::Store, 1400, "Default|Header|Data|Both", "Grid",
                "AutoSizeColumns");
  EXPECT_EQ(settings.GetString("Grid", "AutoSizeColumns"), "-1");

  // An empty value selects the first choice, as 0.
  settings.SetText("Grid", "AutoSizeColumns", "");
  ExchangeCombo(settings, dialog, ExchangeDirection::Load, 1400, "Default|Header", "Grid", "AutoSizeColumns");
  EXPECT_EQ(dialog.selections[1400], 0);
}

}  // namespace
