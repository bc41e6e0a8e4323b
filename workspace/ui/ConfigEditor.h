#pragma once
// CConfigEditor: the property sheet "Configuration" with the pages "General" and "Grid". It edits
// a copy of the program's settings; OK copies the edited values back and writes every setting to
// the profile, Cancel drops them. The editor font and the window icon change at once when they
// are chosen, whatever button ends the sheet.
//
//   if (CConfigEditor::Run(frame, {[&] { return frame->FrameIconId(); },
//                                  [&](int id) { frame->SetFrameIcon(id); }}))
//     frame->ApplyConfiguration();
#include <QDialog>

#include "workspace/SettingsStore.h"
#include "workspace/ui/ConfigPageGeneral.h"

class CConfigPageGrid;
class QDialogButtonBox;
class QTabWidget;

class CConfigEditor : public QDialog {
  Q_OBJECT
 public:
  CConfigEditor(QWidget* parent, FrameIconAccess icon);

  // Copies the program's settings, runs the sheet through the prompt seam and, on OK, copies the
  // edited values back and saves them all to the program's profile. True after OK.
  static bool Run(QWidget* parent, FrameIconAccess icon);

  // The sheet's own copy of the settings.
  SettingsStore& Settings() { return settings_; }
  QTabWidget* Tabs() const { return tabs_; }
  CConfigPageGeneral* GeneralPage() const { return general_; }
  CConfigPageGrid* GridPage() const { return grid_; }
  // Shows a page by position (0 General, 1 Grid), as a click on its tab does.
  void SetActivePage(int index);

  // Every page that was shown stores its controls, then the sheet closes with OK.
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnPageChanged(int index);

  SettingsStore settings_;
  QTabWidget* tabs_;
  CConfigPageGeneral* general_;
  CConfigPageGrid* grid_;
  QDialogButtonBox* buttons_;
  int activePage_ = -1;
};
