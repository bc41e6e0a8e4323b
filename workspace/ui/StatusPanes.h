#pragma once
// The status-bar panes a run writes to (the main frame provides them).
#include <string>

class StatusPanes {
 public:
  virtual ~StatusPanes() = default;
  // The record-count pane's text.
  virtual void SetRecordCountPane(const std::string& text) = 0;
  // The elapsed-time pane: ElapsedPaneText(ms) ("" for ms < 0).
  virtual void SetElapsedPane(long milliseconds) = 0;
  // Both panes emptied.
  virtual void ResetStatusPanes() = 0;
  // The connection pane: the database kind and file or server of the connection a run uses.
  virtual void SetConnectionPane(const std::string& /*connectionString*/) {}
  // The message area: a passing word to the person (a filter that could not be applied, a
  // search that found nothing more).
  virtual void ShowStatusMessage(const std::string& /*text*/) {}
  // What the message area says now.
  virtual std::string StatusMessage() const { return {}; }
};
