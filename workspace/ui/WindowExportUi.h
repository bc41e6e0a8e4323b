#pragma once
// What an export run shows in the main window: the status panes, the wait cursor, message boxes
// (through the prompt seam) and its progress. Progress appears in the record-count pane ("Orders:
// 12000 rows") at most every 200 ms; the window is repainted then, and Esc asks the export to stop.
// While the export looks at the events, mouse and key input other than Esc is dropped, so that no
// command can run inside the export.
#include <QElapsedTimer>
#include <memory>

#include "export/ExportUi.h"

class QWidget;
class StatusPanes;
class WaitCursor;

class WindowExportUi : public ExportUi {
 public:
  // `panes` may be null (no status bar); `parent` owns the message boxes.
  WindowExportUi(StatusPanes* panes, QWidget* parent);
  ~WindowExportUi() override;

  void ResetStatusPanes() override;
  void SetRecordCountPane(const std::string& text) override;
  void SetElapsedPane(long milliseconds) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption = {}) override;
  bool Progress(const std::string& table, long rows) override;

  bool Canceled() const { return canceled_; }

 private:
  StatusPanes* panes_;
  QWidget* parent_;
  std::unique_ptr<WaitCursor> wait_;
  int waitDepth_ = 0;
  QElapsedTimer shown_;
  bool canceled_ = false;
};
