#include "workspace/ui/StatusPaneText.h"

#include <cstdio>

#include "text/NumberFormat.h"

std::string ElapsedPaneText(long milliseconds) {
  if (milliseconds < 0) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%ld.%02ld sec", milliseconds / 1000, (milliseconds % 1000) / 10);
  return text;
}

std::string RecordCountPaneText(long count) {
  return std::to_string(count);
}

std::string FilteredCountPaneText(long shown, long total) {
  if (total < 0 || shown < 0) return RecordCountPaneText(shown);
  return std::to_string(shown) + " of " + std::to_string(total);
}

std::string RowsAffectedPaneText(long affected) {
  if (affected < 0) return {};
  return std::to_string(affected) + (affected == 1 ? " row affected" : " rows affected");
}

std::string StoppedAfterText(long rows) {
  return "Stopped after " + FormatIntegerGrouped(rows) + (rows == 1 ? " row" : " rows");
}

std::string ExecutingText() {
  return "Executing...";
}

std::string FetchingText() {
  return "Fetching rows...";
}
