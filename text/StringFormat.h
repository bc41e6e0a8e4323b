#pragma once
// printf-style text, with or without the user's numeric locale.
#include <string>

// printf-style into a string, cut at 16383 characters.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same with the user's numeric locale: its decimal point, and its grouping for the ' flag.
std::string FormatStringUserLocale(const char* format, ...) __attribute__((format(printf, 1, 2)));
