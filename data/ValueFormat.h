#pragma once
// printf-style text, with or without the user's numeric locale, and the small questions every
// subsystem asks of a value (has it one, is it bytes).
#include <string>

#include "data/ado/Variant.h"

// printf-style into a string, cut at 16383 characters.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same with the user's numeric locale: its decimal point, and its grouping for the ' flag.
std::string FormatStringUserLocale(const char* format, ...) __attribute__((format(printf, 1, 2)));

bool HasValue(const ado::Variant& v);
bool IsByteArray(const ado::Variant& v);
// One character per byte of a byte array (NULs included), else empty; the variant is cleared.
std::string ByteArrayToText(ado::Variant& v);
