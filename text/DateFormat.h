#pragma once
// Dates and times of a time_t as the user reads them, in local time.
#include <ctime>
#include <string>

// Empty for the time 0 (no time) and for a time the C library cannot break down.
std::string FormatTime(std::time_t time, bool withSeconds);
std::string FormatDate(std::time_t time, bool withYear, bool withTime, bool fourDigitYear);
