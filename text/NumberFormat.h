#pragma once
// Numbers as the user's locale writes them, read explicitly (text/UserLocale.h).
#include <cstdint>
#include <string>

// One character each: a separator of several bytes (de_CH's U+2019, a no-break space) is given
// by its plain look-alike ('\'' or ' '), or NUL when it has none.
char ThousandsSeparator();
char DecimalSeparator();
// The locale's whole separators, as the grouped number texts below write them.
std::string ThousandsSeparatorText();
std::string DecimalSeparatorText();
// Every 64-bit value, grouped by the locale ("-9.223.372.036.854.775.808" in it_IT).
std::string FormatIntegerGrouped(std::int64_t n);
// Grouped integer part, the locale's decimal point and the given decimals (a negative count is
// 0), rounded half away from zero from the value's shortest decimal text; a value that rounds to
// zero shows no sign; NaN and infinities read "NaN", "Infinity", "-Infinity".
std::string FormatDoubleGrouped(double value, int decimals);
// Removes the whole separator text and its one-character look-alike.
std::string RemoveThousandsSeparator(const std::string& text);
