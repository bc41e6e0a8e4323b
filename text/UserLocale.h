#pragma once
// The user's numeric locale, read explicitly. The process keeps LC_NUMERIC at "C" so that ODBC
// drivers never misread numbers; whatever must follow the user's locale asks here.
#include <locale.h>

#include <string>

// The locale named by the environment (LC_ALL, LC_NUMERIC, LANG), or the override below.
locale_t UserNumericLocale();
char UserDecimalPoint();        // '.' when the locale gives none
char UserThousandsSeparator();  // '\0' when the locale gives none
std::string UserGrouping();     // the locale's grouping string ("\3" and the like)

// Tests and the application's start-up may name the locale to use ("it_IT.UTF-8"); an empty
// name goes back to the environment's. Returns false when the locale does not exist.
bool SetUserNumericLocale(const std::string& name);
