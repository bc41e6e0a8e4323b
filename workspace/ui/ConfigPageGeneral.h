#pragma once
// CConfigPageGeneral, the page "General" of the configuration sheet: the script viewer, the name
// delimiters, the batch separator, the history size, the formatter's split words, the fields left
// out of listings, the cursor location, the editor font and the window icon.
//
// Two choices act at once: a font picked with "..." is the shared display font from then on
// (General/Font takes it only when the page is stored), and the icon chosen in the list becomes
// the frame's icon (never stored).
#include <functional>

#include "workspace/ui/ConfigPage.h"

class QComboBox;
class UpDownControl;

// The frame's icon as the page sees it.
struct FrameIconAccess {
  std::function<int()> current;
  std::function<void(int)> set;
};

class CConfigPageGeneral : public ConfigPage {
  Q_OBJECT
 public:
  enum ControlId {
    kScriptReader = 1013,
    kScriptReaderBrowse = 1035,
    kCacheSize = 1041,
    kTablePrefix = 1068,
    kTablePostfix = 1069,
    kTableUseAlways = 1073,
    kFieldPrefix = 1071,
    kFieldPostfix = 1074,
    kFieldUseAlways = 1075,
    kSplitWords = 1072,
    kFieldsToExclude = 1076,
    kBatchSeparator = 1070,
    kCursorLocation = 1083,
    kFont = 1033,
    kFontBrowse = 1034,
    kIcon = 1080,
  };

  CConfigPageGeneral(SettingsStore& settings, FrameIconAccess icon, QWidget* parent);

  UpDownControl* CacheSizeSpin() const { return cacheSpin_; }

  // "...": a program for the script viewer, through the prompt seam.
  void BrowseScriptReader();
  // "...": the shared font's dialog; a chosen font is used at once.
  void BrowseFont();

 protected:
  void DoDataExchange(ExchangeDirection direction) override;
  void OnInitPage() override;

 private:
  void ShowFontName();

  FrameIconAccess icon_;
  UpDownControl* cacheSpin_ = nullptr;
};
