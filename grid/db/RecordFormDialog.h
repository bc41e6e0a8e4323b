#pragma once
// The record form: one record of the result grid's recordset as a two-column grid of field names
// and values, to change it (Edit), add one (New) or delete it (Delete). A resizable dialog: OK and
// Cancel keep their distance to the right edge, the grid stretches with the dialog.
//
// OK writes through the recordset; a database error is shown (naming the field being written
// when there is one), the pending changes are cancelled and the dialog stays open with every
// value as typed. Cancel leaves the recordset untouched.
#include <string>
#include <vector>

#include "data/DbFieldInfo.h"
#include "grid/GridDefs.h"
#include "platform/framework/ControlTable.h"
#include "ui/SizableDialog.h"

class CGridCtrlEx;
class DbRecordset;

enum RecordFormMode : int { kRecordFormEdit = 1, kRecordFormNew = 2, kRecordFormDelete = 3 };

class CRecordFormDialog : public CSizableDialog {
  Q_OBJECT
 public:
  enum ControlId { kOk = 1, kCancel = 2, kGrid = 1007 };
  static constexpr COLORREF kBackground = RGB(211, 238, 255);
  static constexpr COLORREF kReadOnlyBackground = RGB(230, 230, 230);

  // `recordset` is the result grid's, standing on the record to show (not owned).
  CRecordFormDialog(DbRecordset* recordset, RecordFormMode mode, QWidget* parent = nullptr);

  RecordFormMode Mode() const { return mode_; }
  CGridCtrlEx* Grid() const { return grid_; }
  QWidget* Control(int id) const { return controls_.Get(id); }
  // The fields as they were described when the form opened, one per grid row.
  const std::vector<DbFieldInfo>& Fields() const { return fields_; }

  void accept() override;

 protected:
  bool OnInitDialog() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FillGrid();
  // Column 1 takes what column 0 leaves of the grid's client width.
  void FitValueColumn();
  bool Save();
  // The field whose row caused `error` when the database names it; -1 when none can be told.
  int FieldNamedIn(const std::string& errorText) const;
  void FocusValue(int row);

  DbRecordset* recordset_;
  RecordFormMode mode_;
  ControlTable controls_;
  CGridCtrlEx* grid_ = nullptr;
  std::vector<DbFieldInfo> fields_;
};

// Runs the record form modally (through the prompt seam); true when the user confirmed and the
// action succeeded.
bool ShowRecordForm(DbRecordset* recordset, QWidget* parent, RecordFormMode mode);
