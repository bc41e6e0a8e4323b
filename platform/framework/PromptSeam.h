#pragma once
// The one seam through which the program meets the person at a modal moment or hands something
// to the desktop: message boxes, file dialogs, every modal dialog it runs, beeps and the shell's
// "open". The program installs nothing and gets WidgetPrompts (real widgets); tests install an
// answering seam (ScriptedPrompts) and read what was asked.
//
// Modal dialogs of our own are created by their command as usual and then run with
// Prompts().ExecDialog(dialog) instead of dialog.exec(), so a test can fill and confirm them.
#include <memory>
#include <optional>
#include <string>

class QDialog;
class QWidget;

struct MessageBoxRequest {
  QWidget* parent = nullptr;
  std::string text;
  std::string caption;
  unsigned type = 0;  // MB_* flags (MessageBox.h)
};

struct FileDialogRequest {
  enum class Mode { Open, Save };
  QWidget* parent = nullptr;
  Mode mode = Mode::Open;
  std::string title;             // empty: "Open" or "Save As"
  std::string initialName;       // proposed file (path or name)
  std::string defaultExtension;  // without dot; added to a typed name that has none
  // The classic filter text: "Script files (*.sql)|*.sql|All files (*.*)|*.*||".
  std::string filter;
  bool fileMustExist = false;     // Open: refuse names of missing files
  bool overwritePrompt = false;   // Save: ask before replacing a file
  bool noReadOnlyReturn = false;  // refuse read-only files
};

class PromptSeam {
 public:
  virtual ~PromptSeam() = default;
  // The button pressed: IDOK, IDCANCEL, IDYES, IDNO, ...
  virtual int MessageBox(const MessageBoxRequest& request) = 0;
  // The chosen path, or nothing on Cancel.
  virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;
  // Runs a modal dialog; QDialog::Accepted or QDialog::Rejected (or the dialog's done() code).
  virtual int ExecDialog(QDialog& dialog) = 0;
  // Opens a file or web address with the desktop's program for it; false when that failed.
  virtual bool OpenDocument(const std::string& pathOrUrl) = 0;
  // The error / information sound (type as for MessageBeep).
  virtual void Beep(unsigned type) = 0;
};

// The seam in force (WidgetPrompts when none was installed).
PromptSeam& Prompts();
// Installs a seam (null: back to real widgets); returns the previous one.
std::shared_ptr<PromptSeam> SetPromptSeam(std::shared_ptr<PromptSeam> seam);

// The real thing: QMessageBox, QFileDialog, QDialog::exec, QDesktopServices, QApplication::beep.
class WidgetPrompts : public PromptSeam {
 public:
  int MessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  int ExecDialog(QDialog& dialog) override;
  bool OpenDocument(const std::string& pathOrUrl) override;
  void Beep(unsigned type) override;
};

// "Script files (*.sql)|*.sql|All files (*.*)|*.*||" -> "Script files (*.sql);;All files (*)"
// ("*.*" matches every file, as it does on the system the texts come from).
std::string FilterToQt(const std::string& filter);
