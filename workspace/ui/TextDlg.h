#pragma once
// CTextDlg: a resizable window that shows a text (Enum Fields' list of every field) in one
// monospaced, read-only edit filling the window. The caller sets title and text, then runs it
// through the prompt seam.
#include <QDialog>
#include <QFont>
#include <string>

class QPlainTextEdit;

class CTextDlg : public QDialog {
  Q_OBJECT
 public:
  enum ControlId { kText = 1013 };

  explicit CTextDlg(QWidget* parent = nullptr);

  std::string title;
  std::string text;

  QPlainTextEdit* Edit() const { return edit_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPlainTextEdit* edit_;
  // Lives as long as the dialog.
  QFont font_;
  bool prepared_ = false;
};

// A fixed-pitch font 14 pixels high of normal weight: "Courier New" where it is installed,
// otherwise the system's monospaced font.
QFont TextDialogFont();
