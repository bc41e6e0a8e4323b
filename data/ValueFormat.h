#pragma once
// The small questions every subsystem asks of a value (has it one, is it bytes). printf-style
// formatting is in text/StringFormat.h.
#include <string>

#include "data/ado/Variant.h"
#include "text/StringFormat.h"

bool HasValue(const ado::Variant& v);
bool IsByteArray(const ado::Variant& v);
// One character per byte of a byte array (NULs included), else empty; the variant is cleared.
std::string ByteArrayToText(ado::Variant& v);
