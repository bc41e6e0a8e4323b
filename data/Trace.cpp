#include "data/Trace.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace {
constexpr std::size_t kMaxText = 2559;

struct TraceState {
  std::mutex mutex;
  bool enabled = true;
  bool headerPending = true;
  bool showThreadId = false;
  std::optional<std::string> moduleOverride;
  std::shared_ptr<const TraceObserver> observer;
};

TraceState& State() {
  static TraceState state;
  return state;
}

const std::string& ExecutableModuleName() {
  static const std::string name = [] {
    std::vector<char> path(4096);
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return std::string();
    return TraceModuleNameFromPath(std::string_view(path.data(), static_cast<std::size_t>(length)));
  }();
  return name;
}

// Never leave half a UTF-8 character at the end of a cut text.
std::size_t Utf8SafeCut(const std::string& text, std::size_t cut) {
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

std::string FormatText(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<std::size_t>(length));
  if (text.size() > kMaxText) text.resize(Utf8SafeCut(text, kMaxText));
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The header and line layouts, with or without the calling thread's id.
std::string Header(bool showThreadId) {
  char buffer[64];
  if (showThreadId)
    std::snprintf(buffer, sizeof buffer, "|%-6.6s %-20.20s|c|message\n", "th", "app");
  else
    std::snprintf(buffer, sizeof buffer, "|%-20.20s|c|message\n", "app");
  return buffer;
}

std::string LinePrefix(const std::string& module, char kind, bool showThreadId) {
  char buffer[64];
  if (showThreadId)
    std::snprintf(buffer, sizeof buffer, "|%6ld %-20.20s|%c|", static_cast<long>(gettid()), module.c_str(), kind);
  else
    std::snprintf(buffer, sizeof buffer, "|%-20.20s|%c|", module.c_str(), kind);
  return buffer;
}
}  // namespace

std::string TraceModuleNameFromPath(std::string_view path) {
  std::size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return std::string(name.substr(0, name.find('.')));
}

bool Trace(char kind, const char* format, ...) {
  TraceState& state = State();
  std::string module;
  bool showThreadId = false;
  {
    std::lock_guard lock(state.mutex);
    if (!state.enabled) return false;
    module = state.moduleOverride ? *state.moduleOverride : ExecutableModuleName();
    showThreadId = state.showThreadId;
  }

  va_list args;
  va_start(args, format);
  std::string text = format ? FormatText(format, args) : std::string();
  va_end(args);

  // Without QELVO_TRACE the lines go nowhere, as debugger output does with no debugger attached.
  const bool toStandardError = std::getenv("QELVO_TRACE") != nullptr;
  for (const std::string& line : SplitLines(text)) {
    std::string output;
    std::shared_ptr<const TraceObserver> observer;
    {
      std::lock_guard lock(state.mutex);
      if (state.headerPending) {
        state.headerPending = false;
        output = Header(showThreadId);
      }
      output += LinePrefix(module, kind, showThreadId);
      output += line;
      output += '\n';
      // One write per line keeps lines whole when several processes share the terminal.
      if (toStandardError) std::fwrite(output.data(), 1, output.size(), stderr);
      observer = state.observer;
    }
    if (observer) (*observer)(module, kind, line);
  }
  return true;
}

void TraceSetEnabled(bool enabled) {
  std::lock_guard lock(State().mutex);
  State().enabled = enabled;
}

void TraceSetShowThreadId(bool show) {
  std::lock_guard lock(State().mutex);
  State().showThreadId = show;
}

void TraceSetObserver(TraceObserver observer) {
  std::lock_guard lock(State().mutex);
  State().observer = observer ? std::make_shared<const TraceObserver>(std::move(observer)) : nullptr;
}

void TraceResetHeader() {
  std::lock_guard lock(State().mutex);
  State().headerPending = true;
}

void TraceSetModuleName(std::optional<std::string> name) {
  std::lock_guard lock(State().mutex);
  State().moduleOverride = std::move(name);
}
