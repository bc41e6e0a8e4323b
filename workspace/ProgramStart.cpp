#include "workspace/ProgramStart.h"

#include <QProcess>
#include <QStringList>

#include "data/Trace.h"
#include "text/TextUtil.h"
#include "workspace/SettingsStore.h"

bool SystemProcessStarter::Start(const std::vector<std::string>& arguments, bool wait) {
  if (arguments.empty() || arguments[0].empty()) return false;
  QString program = QString::fromStdString(arguments[0]);
  QStringList rest;
  for (size_t i = 1; i < arguments.size(); ++i) rest << QString::fromStdString(arguments[i]);
  if (!wait) return QProcess::startDetached(program, rest);
  QProcess process;
  process.start(program, rest);
  if (!process.waitForStarted(-1)) return false;
  process.waitForFinished(-1);
  return true;
}

namespace {
std::unique_ptr<ProcessStarter>& StarterSlot() {
  static std::unique_ptr<ProcessStarter> starter = std::make_unique<SystemProcessStarter>();
  return starter;
}
}  // namespace

ProcessStarter& AppProcessStarter() {
  return *StarterSlot();
}

void SetAppProcessStarter(std::unique_ptr<ProcessStarter> starter) {
  if (starter) StarterSlot() = std::move(starter);
}

std::optional<std::vector<std::string>> SplitCommandLine(const std::string& command) {
  std::vector<std::string> arguments;
  std::string current;
  bool inWord = false;
  for (size_t i = 0; i < command.size(); ++i) {
    char c = command[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      if (inWord) arguments.push_back(std::move(current));
      current.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    if (c == '\'') {
      size_t close = command.find('\'', i + 1);
      if (close == std::string::npos) return std::nullopt;
      current.append(command, i + 1, close - i - 1);
      i = close;
    } else if (c == '"') {
      for (++i;; ++i) {
        if (i >= command.size()) return std::nullopt;
        char q = command[i];
        if (q == '"') break;
        if (q == '\\' && i + 1 < command.size()) {
          char next = command[i + 1];
          if (next == '"' || next == '\\' || next == '$' || next == '`') {
            current += next;
            ++i;
            continue;
          }
          if (next == '\n') {
            ++i;
            continue;
          }
        }
        current += q;
      }
    } else if (c == '\\') {
      if (i + 1 < command.size()) {
        if (command[i + 1] != '\n') current += command[i + 1];
        ++i;
      }
    } else {
      current += c;
    }
  }
  if (inWord) arguments.push_back(std::move(current));
  return arguments;
}

bool RunProgram(const std::string& commandLine, bool wait, ProcessStarter& starter) {
  std::optional<std::vector<std::string>> arguments = SplitCommandLine(commandLine);
  if (!arguments || arguments->empty()) {
    Trace(TraceError, "RunProgram(\"%s\") : cannot split the command line", commandLine.c_str());
    return false;
  }
  if (!starter.Start(*arguments, wait)) {
    Trace(TraceError, "RunProgram(\"%s\") : cannot start", commandLine.c_str());
    return false;
  }
  return true;
}

bool RunScriptFileReader(const std::string& path, const SettingsStore& settings, ProcessStarter& starter) {
  std::string reader = Trim(settings.GetString("General", "ScriptFileReader"));
  if (reader.empty()) return false;
  std::optional<std::vector<std::string>> arguments = SplitCommandLine(reader);
  if (!arguments || arguments->empty()) {
    Trace(TraceError, "RunScriptFileReader(\"%s\") : cannot split \"%s\"", path.c_str(), reader.c_str());
    return false;
  }
  arguments->push_back(path);
  if (!starter.Start(*arguments, false)) {
    Trace(TraceError, "RunScriptFileReader(\"%s\") : cannot start \"%s\"", path.c_str(), reader.c_str());
    return false;
  }
  return true;
}

bool RunScriptFileReader(const std::string& path) {
  return RunScriptFileReader(path, AppSettings(), AppProcessStarter());
}
