#pragma once
// A dialog that offers a list of texts and returns the chosen one (the ODBC driver choice of the
// connection builder). The caller sets title, prompt, items and preselect before running it
// (through the prompt seam) and reads Result() after OK.
#include <QDialog>
#include <string>
#include <vector>

#include "platform/framework/ControlTable.h"

class QListWidget;

class CSelectListDlg : public QDialog {
  Q_OBJECT
 public:
  enum ControlId { kList = 1005, kPrompt = 1006, kOk = 1, kCancel = 2 };

  explicit CSelectListDlg(QWidget* parent = nullptr);

  std::string title;
  std::string prompt;
  std::vector<std::string> items;
  // An item equal to it without regard to case is selected on opening (the last of several).
  std::string preselect;

  // The selected item's text after OK; empty after Cancel or when nothing was selected.
  const std::string& Result() const { return result_; }

  // Puts title, prompt and items into the controls (once); running the dialog does it too.
  void Prepare();

  QListWidget* List() const;
  QWidget* Control(int id) const { return controls_.Get(id); }

  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ControlTable controls_;
  std::string result_;
  bool filled_ = false;
};
