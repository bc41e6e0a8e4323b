#include "data/OdbcDriverPrompt.h"

namespace {
std::shared_ptr<OdbcDriverPrompt>& Registered() {
  static std::shared_ptr<OdbcDriverPrompt> prompt;
  return prompt;
}
}  // namespace

void SetOdbcDriverPrompt(std::shared_ptr<OdbcDriverPrompt> prompt) {
  Registered() = std::move(prompt);
}

std::shared_ptr<OdbcDriverPrompt> GetOdbcDriverPrompt() {
  return Registered();
}
