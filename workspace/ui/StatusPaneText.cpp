#include "workspace/ui/StatusPaneText.h"

#include <cstdio>

std::string ElapsedPaneText(long milliseconds) {
  if (milliseconds < 0) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%ld.%02ld sec", milliseconds / 1000, (milliseconds % 1000) / 10);
  return text;
}

std::string RecordCountPaneText(long count) {
  return std::to_string(count);
}
