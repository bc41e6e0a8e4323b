#pragma once
// A process starter that records what would have been started and never starts anything.
#include <string>
#include <vector>

#include "workspace/ProgramStart.h"

class RecordingStarter : public ProcessStarter {
 public:
  bool Start(const std::vector<std::string>& arguments, bool wait) override {
    started.push_back(arguments);
    waited.push_back(wait);
    return succeed;
  }
  std::vector<std::vector<std::string>> started;
  std::vector<bool> waited;
  bool succeed = true;
};
