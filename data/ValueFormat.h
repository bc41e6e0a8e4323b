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

bool HasValue(const Variant& v);
bool IsByteArray(const Variant& v);
// One character per byte of a byte array (NULs included), else empty; the variant is cleared.
std::string ByteArrayToText(Variant& v);

std::string FormatTime(std::time_t time, bool withSeconds);
std::string FormatDate(std::time_t time, bool withYear, bool withTime, bool fourDigitYear);
std::time_t VariantDateToTime(const Variant& v);
SystemTime VariantToSystemTime(const Variant& v);
Variant SystemTimeToVariant(const SystemTime& st);

char ThousandsSeparator();
char DecimalSeparator();
std::string FormatIntegerGrouped(std::int64_t n);
std::string FormatDoubleGrouped(double value, int decimals);
std::string RemoveThousandsSeparator(const std::string& text);

std::string Trim(const std::string& text, const std::string& set = " \t\r\n");
std::string TrimLeft(const std::string& text, const std::string& set = " \t\r\n");
std::string TrimRight(const std::string& text, const std::string& set = " \t\r\n");
void SplitTrimmed(const std::string& text, char separator, std::vector<std::string>& out);
void SplitTokens(const std::string& text, const std::string& delimiters, std::vector<std::string>& out);
std::string ToLower(const std::string& text);
int CompareNoCase(const std::string& a, const std::string& b);
void ReplaceAll(std::string& text, const std::string& what, const std::string& with);
std::string DoubleSingleQuotes(const std::string& text);
