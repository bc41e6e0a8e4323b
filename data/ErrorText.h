#pragma once
// The message text of a caught COM error, and the symbolic OLE DB names of HRESULTs.
#include <string>

#include "data/ado/ComError.h"

std::string ComErrorText(const ado::ComError& error);
std::string OleDbErrorName(ado::HRESULT code);
