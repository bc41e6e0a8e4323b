#pragma once
// The diagnostic trace: one tagged line per event, "|module|kind|text", to the debugger-output
// stand-in (standard error when QELVO_TRACE is set) and to the observer.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

enum TraceKind : char {
  TraceInfo = ' ',
  TraceError = 'E',
  TraceGrid = 'G',
  TraceQuery = 'Q',
  TraceWarning = 'W',
};

// printf-style; returns false only when tracing is disabled.
bool Trace(char kind, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The module's switches; the program never changes them, tests do.
using TraceObserver = std::function<void(const std::string& module, char kind, const std::string& text)>;
void TraceSetEnabled(bool enabled);
void TraceSetShowThreadId(bool show);
void TraceSetObserver(TraceObserver observer);  // an empty function removes it
void TraceResetHeader();                        // the header is written again before the next line

// The module column of a running program: its file name without directory, cut before the first
// '.' (the whole name when it has none).
std::string TraceModuleNameFromPath(std::string_view path);
// Tests: stands in for the executable's module name; nullopt goes back to it.
void TraceSetModuleName(std::optional<std::string> name);
