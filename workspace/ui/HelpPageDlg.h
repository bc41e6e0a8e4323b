#pragma once
// HelpPageDlg: the program's help page in a resizable window of its own, for a desktop where
// no browser starts. Links inside the page are followed in the window; links to the web go to
// the desktop. The caller runs it through the prompt seam.
#include <QDialog>
#include <string>

class QTextBrowser;

class HelpPageDlg : public QDialog {
  Q_OBJECT
 public:
  HelpPageDlg(const std::string& path, QWidget* parent = nullptr);

  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};
