#pragma once
// Value formatting and text utilities shared by every subsystem. Numbers and dates follow the
// user's locale, read explicitly (data/ado/UserLocale.h).
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "data/ado/OleDate.h"
#include "data/ado/Variant.h"

using SystemTime = DateParts;

// printf-style into a string, cut at 16383 characters.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same with the user's numeric locale: its decimal point, and its grouping for the ' flag.
std::string FormatStringUserLocale(const char* format, ...) __attribute__((format(printf, 1, 2)));

bool HasValue(const Variant& v);
bool IsByteArray(const Variant& v);
// One character per byte of a byte array (NULs included), else empty; the variant is cleared.
std::string ByteArrayToText(Variant& v);

std::string FormatTime(std::time_t time, bool withSeconds);
std::string FormatDate(std::time_t time, bool withYear, bool withTime, bool fourDigitYear);
std::time_t VariantDateToTime(const Variant& v);
SystemTime VariantToSystemTime(const Variant& v);
Variant SystemTimeToVariant(const SystemTime& st);

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

std::string Trim(const std::string& text, const std::string& set = " \t\r\n");
std::string TrimLeft(const std::string& text, const std::string& set = " \t\r\n");
std::string TrimRight(const std::string& text, const std::string& set = " \t\r\n");
void SplitTrimmed(const std::string& text, char separator, std::vector<std::string>& out);
void SplitTokens(const std::string& text, const std::string& delimiters, std::vector<std::string>& out);
// Case folding of UTF-8 text by code point; invalid bytes are kept as they are.
std::string ToLower(const std::string& text);
int CompareNoCase(const std::string& a, const std::string& b);
void ReplaceAll(std::string& text, const std::string& what, const std::string& with);
std::string DoubleSingleQuotes(const std::string& text);
