#pragma once
// The descriptive text of any variant, as traces and messages show it.
#include <string>

#include "data/ado/Variant.h"

std::string VariantToText(const ado::Variant& v);
std::string VariantDateToIsoText(const ado::Variant& v);
