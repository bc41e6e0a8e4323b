#pragma once
// The process-wide text shown for NULL values (Grid setting "NullFieldLabel", initially empty).
// The filter and the write-back of edits treat a cell holding it as holding no value.
#include <string>

void SetNullLabel(const std::string& label);
std::string GetNullLabel();
