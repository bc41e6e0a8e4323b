#pragma once
// What the export tests share: temporary folders, SQLite files made from statements, settings with
// their defaults, a recording ExportUi and process starter, trace capture and the system Python.
#include <map>
#include <string>
#include <vector>

#include "export/ExportUi.h"
#include "workspace/ProgramStart.h"
#include "workspace/SettingsStore.h"

// A temporary folder removed with its contents when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A new SQLite file in the folder holding what the statements make; its connection string.
std::string MakeSqliteDatabase(const TempFolder& folder, const std::vector<std::string>& statements,
                               const std::string& name = "source.db");
// The generated sample database (QELVO_SAMPLE_DB); empty when the variable is not set.
std::string SampleDatabasePath();
std::string SqliteConnectionString(const std::string& file);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Every setting at its default, as on a first start.
SettingsStore DefaultSettings();

struct RecordedMessage {
  std::string text;
  MessageIcon icon;
  std::string caption;
};

class RecordingUi : public ExportUi {
 public:
  void ResetStatusPanes() override { calls.push_back("ResetStatusPanes"); }
  void SetRecordCountPane(const std::string& text) override { calls.push_back("RecordCount:" + text); }
  void SetElapsedPane(long ms) override {
    calls.push_back("Elapsed");
    elapsed = ms;
  }
  void BeginWaitCursor() override {
    calls.push_back("BeginWait");
    ++waitDepth;
  }
  void EndWaitCursor() override {
    calls.push_back("EndWait");
    --waitDepth;
  }
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) override {
    calls.push_back("Message:" + text);
    messages.push_back({text, icon, caption});
  }
  // Records the progress reports; answers false (stop) once rows reach stopAt.
  bool Progress(const std::string& table, long rows) override {
    progress.push_back(table + ":" + std::to_string(rows));
    return stopAt < 0 || rows < stopAt;
  }

  std::vector<std::string> calls;
  std::vector<RecordedMessage> messages;
  std::vector<std::string> progress;
  long stopAt = -1;
  int waitDepth = 0;
  long elapsed = -2;
};

class RecordingStarter : public ProcessStarter {
 public:
  bool Start(const std::vector<std::string>& arguments, bool wait) override {
    started.push_back(arguments);
    waited.push_back(wait);
    return true;
  }
  std::vector<std::vector<std::string>> started;
  std::vector<bool> waited;
};

// Trace lines written while the object lives, as "kind|text".
class TraceCapture {
 public:
  TraceCapture();
  ~TraceCapture();
  const std::vector<std::string>& Lines() const { return lines_; }
  bool Has(const std::string& part) const;

 private:
  std::vector<std::string> lines_;
};

// Runs /usr/bin/python3 with the script text and arguments; its standard output. Fails the test
// (ADD_FAILURE) and returns "" when Python ends with an error.
std::string RunPython(const TempFolder& folder, const std::string& script, const std::vector<std::string>& arguments);

// Runs a command through /bin/sh; its exit status, and its standard output (with its standard
// error when withErrors) in output.
int RunShell(const std::string& command, std::string& output, bool withErrors = true);
std::string ShellQuote(const std::string& text);
