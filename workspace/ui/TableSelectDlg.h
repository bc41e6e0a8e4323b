#pragma once
// CTableSelectDlg: the filterable table list of List Tables. The caller sets title, prompt, the
// entries (name and kind, in the database's order) and, when it counted records, one count per
// entry; it runs the dialog through the prompt seam and reads Result() after OK.
//
// The filter edit starts with General/LastTablesFilterUsed and narrows the list on every
// keystroke (names containing the text, case ignored); the dialog stores the text back when it
// goes. Down in the filter moves into the list, Up on the first row moves back, Return or a
// double click takes the focused table, a header click sorts (the same column again reverses).
// OK is enabled only while a table row has the focus.
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/ControlTable.h"
#include "ui/SizableDialog.h"

class CGridCtrlEx;
class QLineEdit;
struct GridNotify;

class CTableSelectDlg : public CSizableDialog {
  Q_OBJECT
 public:
  enum ControlId { kOk = 1, kCancel = 2, kPrompt = 1006, kGrid = 1007, kFilter = 32790, kFilterLabel = 1008 };

  explicit CTableSelectDlg(QWidget* parent = nullptr);
  ~CTableSelectDlg() override;

  std::string title;
  std::string prompt;
  // (name, kind 1 table, 2 synonym or link, 4 view)
  std::vector<std::pair<std::string, int>> entries;
  // Empty, or counts[i] for entries[i]; an entry without one (or with kNoRecordCount) shows none.
  std::vector<long> counts;

  // The chosen table after OK.
  const std::string& Result() const { return result_; }

  CGridCtrlEx* Grid() const { return grid_; }
  QLineEdit* FilterEdit() const;
  QWidget* Control(int id) const { return controls_.Get(id); }

  // Rebuilds the list from the entries and the filter text.
  void FillGrid();
  // Sorts the entries by a column (0 kind, 1 name, 2 count) and shows them again.
  void SortByColumn(int col, bool ascending);

  void accept() override;

 protected:
  bool OnInitDialog() override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnGridNotify(GridNotify& n);
  void UpdateOkButton();
  bool FocusOnDataRow() const;

  ControlTable controls_;
  CGridCtrlEx* grid_ = nullptr;
  // The sort shown by the header; the grid forgets its own when cells of the column change.
  int sortColumn_ = -1;
  bool sortAscending_ = true;
  std::string result_;
};
