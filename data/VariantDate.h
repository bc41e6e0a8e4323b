#pragma once
// The conversions between a date variant, a time_t and its broken-down parts; the texts of a
// time_t are in text/DateFormat.h.
#include <ctime>

#include "data/ado/Variant.h"
#include "text/DateFormat.h"
#include "text/OleDate.h"

using SystemTime = DateParts;

std::time_t VariantDateToTime(const ado::Variant& v);
SystemTime VariantToSystemTime(const ado::Variant& v);
ado::Variant SystemTimeToVariant(const SystemTime& st);
