#include "data/ado/odbc/OdbcCheck.h"

#include <algorithm>
#include <cstring>

#include "data/ado/odbc/OdbcText.h"

namespace ado::odbc {
namespace {

// The process's locale with LC_NUMERIC "C", rebuilt when the process's locale changes. Every
// copy lives to the end of the process: an outer scope of this thread may still have an earlier
// one installed, and a provider call may come from a static destructor.
locale_t NumericCLocale() {
  std::lock_guard lock(ProcessLocaleMutex());
  static std::string* builtFor = new std::string;
  static std::vector<locale_t>* built = new std::vector<locale_t>;
  const char* current = setlocale(LC_ALL, nullptr);
  std::string name = current ? current : "";
  if (built->empty() || name != *builtFor) {
    locale_t copy = duplocale(LC_GLOBAL_LOCALE);
    locale_t made = copy ? newlocale(LC_NUMERIC_MASK, "C", copy) : nullptr;
    if (!made) {
      if (copy) freelocale(copy);
      made = newlocale(LC_ALL_MASK, "C", nullptr);
    }
    if (!made) return nullptr;
    built->push_back(made);
    *builtFor = name;
  }
  return built->back();
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

std::recursive_mutex& ProcessLocaleMutex() {
  static auto* mutex = new std::recursive_mutex;
  return *mutex;
}

NumericLocaleScope::NumericLocaleScope() : previous_(nullptr) {
  locale_t c = NumericCLocale();
  previous_ = c ? uselocale(c) : nullptr;
}

NumericLocaleScope::~NumericLocaleScope() {
  if (previous_) uselocale(previous_);
}

void HandleDeleter::operator()(SQLHANDLE handle) const {
  if (handle) SQLFreeHandle(type, handle);
}

Handle AllocateHandle(SQLSMALLINT type, SQLHANDLE parent, SQLSMALLINT parentType, HRESULT hr) {
  SQLHANDLE made = SQL_NULL_HANDLE;
  SQLRETURN rc = SQLAllocHandle(type, parent, &made);
  if (!Succeeded(rc)) {
    if (parent == SQL_NULL_HANDLE)
      throw ComError(hr, "[unixODBC][Driver Manager]The ODBC environment could not be allocated.", kSource);
    Raise(rc, parentType, parent, "Driver Manager", hr);
  }
  return Handle(made, HandleDeleter{type});
}

bool Succeeded(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

std::vector<DiagnosticRecord> ReadDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<DiagnosticRecord> records;
  if (!handle) return records;
  for (SQLSMALLINT n = 1; n < 50; ++n) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    std::vector<SQLWCHAR> message(1024);
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetDiagRecW(type, handle, n, state, &native, message.data(),
                                  static_cast<SQLSMALLINT>(message.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
      message.resize(static_cast<std::size_t>(length) + 1);
      rc = SQLGetDiagRecW(type, handle, n, state, &native, message.data(), static_cast<SQLSMALLINT>(message.size()),
                          &length);
    }
    if (!Succeeded(rc)) break;
    DiagnosticRecord record;
    record.state = ToUtf8(FromSql(state), WideLength(state, 5));
    record.native = native;
    record.message = Trimmed(ToUtf8(FromSql(message.data()), WideLength(message.data(), message.size())));
    records.push_back(std::move(record));
  }
  return records;
}

std::string FormatDiagnostics(const std::vector<DiagnosticRecord>& records, const std::string& driver) {
  std::vector<std::string> lines;
  for (const DiagnosticRecord& r : records) {
    std::string line;
    if (r.message.rfind("[unixODBC]", 0) == 0)
      line = r.message;
    else if (!r.message.empty() && r.message[0] == '[')
      line = "[unixODBC]" + r.message;
    else
      line = "[unixODBC][" + (driver.empty() ? std::string("Driver") : driver) + "]" + r.message;
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(std::move(line));
  }
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

HRESULT HResultForState(const std::string& state, HRESULT fallback) {
  if (state.rfind("23", 0) == 0) return DB_E_INTEGRITYVIOLATION;
  if (state.rfind("08", 0) == 0) return E_FAIL;
  if (state == "22003") return DB_E_DATAOVERFLOW;
  return fallback;
}

void Raise(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& driver, HRESULT hr) {
  std::vector<DiagnosticRecord> records =
      rc == SQL_INVALID_HANDLE ? std::vector<DiagnosticRecord>{} : ReadDiagnostics(type, handle);
  // Informational records (01xxx) say nothing about the failure when an error follows.
  std::vector<DiagnosticRecord> errors;
  for (const DiagnosticRecord& r : records)
    if (r.state.rfind("01", 0) != 0) errors.push_back(r);
  if (errors.empty()) errors = records;
  std::string description = FormatDiagnostics(errors, driver);
  if (description.empty()) {
    description = rc == SQL_INVALID_HANDLE ? "[unixODBC][Driver Manager]Invalid handle."
                  : rc == SQL_NEED_DATA    ? "[unixODBC][Driver Manager]The driver asks for data the call did not give."
                  : rc == SQL_STILL_EXECUTING ? "[unixODBC][Driver Manager]The statement is still executing."
                                              : "[unixODBC][" + (driver.empty() ? std::string("Driver") : driver) +
                                                    "]The call failed without diagnostics.";
  }
  std::string state = errors.empty() ? std::string() : errors.front().state;
  long native = errors.empty() ? 0 : errors.front().native;
  HRESULT code = hr == DB_E_ERRORSINCOMMAND ? HResultForState(state, hr) : hr;
  throw ComError(code, description, kSource, state, native);
}

}  // namespace ado::odbc
