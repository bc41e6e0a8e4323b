#pragma once
// Collects the trace lines written while it lives.
#include <string>
#include <vector>

#include "data/Trace.h"

class TraceRecorder {
 public:
  TraceRecorder() {
    TraceSetObserver([this](const std::string&, char kind, const std::string& text) {
      lines_.push_back(std::string(1, kind) + "|" + text);
    });
  }
  ~TraceRecorder() { TraceSetObserver(nullptr); }
  const std::vector<std::string>& Lines() const { return lines_; }
  int Count(const std::string& part) const {
    int n = 0;
    for (const auto& l : lines_)
      if (l.find(part) != std::string::npos) ++n;
    return n;
  }
  bool Has(const std::string& part) const { return Count(part) > 0; }
  std::string All() const {
    std::string all;
    for (const auto& l : lines_) all += l + "\n";
    return all;
  }
  void Clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
};
