#pragma once
// CQelvoApp: the program's start and end. Start: the user's locale (numbers kept in the C
// locale, so that ODBC drivers read and write numbers with a period), the settings profile
// "Tolvane/Qelvo", every setting loaded and written back, the recordset cursor location, the
// document and the main frame (created hidden, its views updated once), then the saved placement
// restored, which shows the window; then the files named on the command line are opened (a
// SQLite database as the connection with its first table's SELECT, any other file as a script
// in the query editor).
// End: the frame closes (placement saved) and is destroyed (the workspace writes the settings
// and histories).
//
// A QApplication must exist. The application is a command target after the frame in the
// routing; it serves About and Print Setup. `qelvo --version` prints the version line and ends.
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/CommandTarget.h"
#include "workspace/ui/MainFrame.h"

class CQelvoDoc;
class QPrinter;

class CQelvoApp : public CommandTarget {
 public:
  CQelvoApp();
  ~CQelvoApp() override;
  CQelvoApp(const CQelvoApp&) = delete;
  CQelvoApp& operator=(const CQelvoApp&) = delete;

  // False when the main window could not be made (the program then ends).
  bool InitInstance(const std::vector<std::string>& arguments = {});
  // Closes and destroys the main window if it is still there; returns exitCode.
  int ExitInstance(int exitCode = 0);

  CMainFrame* MainFrame() const { return frame_; }
  CQelvoDoc* Document() const { return document_.get(); }
  // The printer that Print Setup configures.
  QPrinter& Printer();

  void PrintSetup();
  // Help > About: the About box over the main window.
  void About();

 private:
  void OpenCommandLineFiles(const std::vector<std::string>& arguments);
  std::unique_ptr<CQelvoDoc> document_;
  QPointer<CMainFrame> frame_;
  std::unique_ptr<QPrinter> printer_;
};

// The whole program: QApplication, CQelvoApp, the event loop. main() calls only this.
int RunQelvo(int argc, char** argv);
