#pragma once
// ExportDlg: the "Export" dialog of the script export commands. It collects the options of a run
// and keeps them in the settings section "Export" (output file, append, mode, max records,
// autonumbers, drop / zap, the tables checked last time, the target table name).
//
// Table mode (a table list was set): the tables with check boxes and their kind's image, All and
// None. A table is checked when its name occurs anywhere in the saved SelectedTableList (a plain,
// case-sensitive substring search, so a saved "Orders|" also checks "Order"). OK puts the checked
// tables, in list order, into the caller's list and stores them as SelectedTableList.
// Query mode (no table list): the target table name instead, stored as TargetTableName.
//
// OK stores every option; Cancel stores nothing. Nothing typed is checked: an empty name, path or
// selection goes to the run as it is.
#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/ControlTable.h"

class QTreeWidget;
class SettingsStore;
class UpDownControl;

class ExportDlg : public QDialog {
  Q_OBJECT
 public:
  enum ControlId {
    IDC_OUTPUT_FILE = 1013,
    IDC_APPEND = 1025,
    IDC_BROWSE = 1026,
    IDC_STRUCT_AND_DATA = 1028,
    IDC_STRUCT_ONLY = 1029,
    IDC_DATA_ONLY = 1030,
    IDC_MAX_RECORDS = 1031,
    IDC_MAX_RECORDS_SPIN = 1032,
    IDC_MAX_RECORDS_LABEL = 1061,
    IDC_TABLES = 1005,
    IDC_ALL = 1047,
    IDC_NONE = 1048,
    IDC_AUTONUMBERS = 1060,
    IDC_DROP_OR_ZAP = 1062,
    IDC_TARGET_LABEL = 1078,
    IDC_TARGET_NAME = 1077,
    IDC_OUTPUT_GROUP = -1,
    IDC_MODE_GROUP = -2,
  };
  // (name, kind) as EnumTables lists them: 1 table, 2 synonym or link, 4 view.
  using TableList = std::vector<std::pair<std::string, int>>;

  explicit ExportDlg(QWidget* parent = nullptr);
  ExportDlg(QWidget* parent, SettingsStore& settings);

  // Table mode: the caller's list, shown when the dialog starts and filled with the checked tables
  // (kind 0) on OK. Without one the dialog is in query mode.
  void SetTableList(TableList* tables) { tables_ = tables; }
  // The typed target table name after OK (query mode).
  const std::string& TargetTableName() const { return targetTableName_; }

  // Loads the controls from the settings and shows the mode's controls (once); running the dialog
  // does it too.
  void Prepare();

  QWidget* Control(int id) const { return controls_.Get(id); }
  QTreeWidget* Tables() const { return list_; }
  UpDownControl* MaxRecordsSpin() const { return spin_; }
  void CheckAll(bool checked);
  // "...": the save dialog of the prompt seam, asking before overwriting only without append.
  void Browse();

  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Build();
  void ApplyEnablingRule();
  void ExchangeSettings(bool store);

  SettingsStore& settings_;
  ControlTable controls_;
  QTreeWidget* list_ = nullptr;
  UpDownControl* spin_ = nullptr;
  TableList* tables_ = nullptr;
  std::string targetTableName_;
  bool prepared_ = false;
};
