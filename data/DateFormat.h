#pragma once
// Dates and times as the user's locale writes them, and the conversions between a date variant,
// a time_t and its broken-down parts.
#include <ctime>
#include <string>

#include "data/ado/OleDate.h"
#include "data/ado/Variant.h"

using SystemTime = ado::DateParts;

std::string FormatTime(std::time_t time, bool withSeconds);
std::string FormatDate(std::time_t time, bool withYear, bool withTime, bool fourDigitYear);
std::time_t VariantDateToTime(const ado::Variant& v);
SystemTime VariantToSystemTime(const ado::Variant& v);
ado::Variant SystemTimeToVariant(const SystemTime& st);
