#pragma once
// Starting the configured viewer and other programs, without a shell: the command is split into
// arguments by shell-like rules, and a file path is always one argument of its own, whatever it
// holds. The start itself goes through a ProcessStarter that tests replace.
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SettingsStore;

class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // Starts arguments[0] (looked up in PATH when it holds no '/') with the rest as its arguments.
  // With wait, returns after the program ended (its exit code is not used). False when the program
  // could not be started.
  virtual bool Start(const std::vector<std::string>& arguments, bool wait) = 0;
};

// Starts real processes (QProcess); a started program that is not waited for runs on detached.
class SystemProcessStarter : public ProcessStarter {
 public:
  bool Start(const std::vector<std::string>& arguments, bool wait) override;
};

// The process-wide starter (a SystemProcessStarter until replaced).
ProcessStarter& AppProcessStarter();
void SetAppProcessStarter(std::unique_ptr<ProcessStarter> starter);

// A command split as a POSIX shell splits words, without expansions: blanks and tabs separate
// arguments; '…' keeps everything literally; "…" keeps everything but a backslash before " \ $ `
// or a line break; a backslash outside quotes keeps the next character. Nothing when a quote is
// not closed.
std::optional<std::vector<std::string>> SplitCommandLine(const std::string& command);

// Starts a command line (split as above). False when it is empty, badly quoted, or cannot start.
bool RunProgram(const std::string& commandLine, bool wait, ProcessStarter& starter = AppProcessStarter());

// Opens a file with the program of General/ScriptFileReader (which may carry its own arguments),
// the path added as one more argument; does not wait. False, with nothing started, when the
// setting is empty.
bool RunScriptFileReader(const std::string& path, const SettingsStore& settings, ProcessStarter& starter);
bool RunScriptFileReader(const std::string& path);
