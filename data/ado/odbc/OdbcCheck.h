#pragma once
// Every unixODBC call of the provider goes through these: handles owned by unique_ptr, a failing
// return code turned into a ComError whose description holds the diagnostic records, and the C
// numeric locale held around driver calls.
#include <locale.h>
#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "data/ado/ComError.h"

namespace ado::odbc {

// Drivers read and write numbers with the C library (strtod, printf): under a locale whose
// decimal mark is a comma they truncate or misformat them. While one of these lives, this thread
// runs with LC_NUMERIC "C" (the rest of the process's locale unchanged); the previous thread
// locale comes back at the end. Cheap enough to wrap every entry into the provider.
// Held while the process's locale is read or may be changed: a driver that sets the process's
// locale while it connects (psqlODBC) must not do so while another thread reads it.
std::recursive_mutex& ProcessLocaleMutex();

class NumericLocaleScope {
 public:
  NumericLocaleScope();
  ~NumericLocaleScope();
  NumericLocaleScope(const NumericLocaleScope&) = delete;
  NumericLocaleScope& operator=(const NumericLocaleScope&) = delete;

 private:
  locale_t previous_;
};

struct HandleDeleter {
  SQLSMALLINT type = 0;
  void operator()(SQLHANDLE handle) const;
};
// An ODBC handle of any type, freed with its own type.
using Handle = std::unique_ptr<void, HandleDeleter>;

// Allocates a handle; a failure raises ComError `hr` with the parent's diagnostics.
Handle AllocateHandle(SQLSMALLINT type, SQLHANDLE parent, SQLSMALLINT parentType, HRESULT hr);

struct DiagnosticRecord {
  std::string state;
  long native = 0;
  std::string message;
};
std::vector<DiagnosticRecord> ReadDiagnostics(SQLSMALLINT type, SQLHANDLE handle);

// The records as one description in the driver manager's "[unixODBC][Driver]message" form:
// messages of the driver manager keep their own prefix, a driver's message gets "[unixODBC]"
// before its own vendor prefix, or "[unixODBC][<driver>]" when it has none. Records are joined by
// line breaks, repeats dropped.
std::string FormatDiagnostics(const std::vector<DiagnosticRecord>& records, const std::string& driver);

// The HRESULT ADO gives for a failed statement of this SQLSTATE: integrity violations and lost
// connections have their own codes, everything else is `fallback`.
HRESULT HResultForState(const std::string& state, HRESULT fallback);

bool Succeeded(SQLRETURN rc);

// Raises the handle's diagnostics as ComError. `hr` is the code for a connection
// (E_FAIL) or a command (DB_E_ERRORSINCOMMAND, refined by HResultForState).
[[noreturn]] void Raise(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& driver, HRESULT hr);

// Passes SQL_SUCCESS, SQL_SUCCESS_WITH_INFO and SQL_NO_DATA through; raises on anything else.
inline SQLRETURN Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& driver,
                       HRESULT hr = DB_E_ERRORSINCOMMAND) {
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA) return rc;
  Raise(rc, type, handle, driver, hr);
}

inline constexpr const char* kSource = "ODBC";

}  // namespace ado::odbc
