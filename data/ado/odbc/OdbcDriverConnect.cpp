#include "data/ado/odbc/OdbcDriverConnect.h"

#include <dlfcn.h>
#include <strings.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <vector>

#include "data/ado/ConnectionString.h"
#include "data/ado/odbc/OdbcText.h"
#include "text/CaseFold.h"

namespace ado::odbc {
namespace {

// The driver a DSN names, from the driver manager's list of data sources (narrow: the names are
// the bytes of the ini files, which the wide call would garble).
std::string DriverOfDsn(SQLHENV env, const std::string& dsn) {
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1] = {};
    SQLCHAR description[512] = {};
    SQLSMALLINT nameLength = 0, descriptionLength = 0;
    SQLRETURN rc = SQLDataSources(env, direction, name, sizeof name, &nameLength, description, sizeof description,
                                  &descriptionLength);
    if (!Succeeded(rc)) return {};
    direction = SQL_FETCH_NEXT;
    if (EqualsFolded(reinterpret_cast<const char*>(name), dsn)) return reinterpret_cast<const char*>(description);
  }
}

// A value of unixODBC's ini files (odbc.ini: a DSN's attribute; odbcinst.ini: a driver's);
// empty when unset. The reader is unixODBC's installer library (installed with the driver
// manager), opened at run time so that nothing more needs linking.
std::string ProfileValue(const std::string& section, const char* key, const char* file) {
  using Reader = int (*)(const char*, const char*, const char*, char*, int, const char*);
  static Reader reader = [] {
    void* library = dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_LOCAL);
    return library ? reinterpret_cast<Reader>(dlsym(library, "SQLGetPrivateProfileString")) : nullptr;
  }();
  if (!reader || section.empty()) return {};
  char value[512] = {};
  if (reader(section.c_str(), key, "", value, sizeof value, file) <= 0) return {};
  return value;
}

std::string DsnAttribute(const std::string& dsn, const char* key) {
  return ProfileValue(dsn, key, "odbc.ini");
}

// Whether the driver is psqlODBC: by the name it is registered under, or else by its library
// (the odbcinst.ini entry's Driver, or a library path given as the driver itself).
bool IsPsqlOdbc(const std::string& driver) {
  if (ContainsNoCase(driver, "PostgreSQL") || ContainsNoCase(driver, "psqlodbc")) return true;
  return ContainsNoCase(ProfileValue(driver, "Driver", "odbcinst.ini"), "psqlodbc");
}

// An attribute from the connection string, or else from its DSN.
std::optional<std::string> Attribute(const ConnectionString& parsed, std::initializer_list<const char*> keys) {
  for (const char* key : keys)
    if (auto value = parsed.Get(key)) return value;
  std::string dsn = parsed.Get("DSN").value_or("");
  for (const char* key : keys)
    if (std::string value = DsnAttribute(dsn, key); !value.empty()) return value;
  return std::nullopt;
}

std::string DriverOf(SQLHENV env, const ConnectionString& parsed) {
  if (auto driver = parsed.Get("DRIVER"); driver && !driver->empty()) return *driver;
  if (auto dsn = parsed.Get("DSN"); dsn && !dsn->empty()) return DriverOfDsn(env, *dsn);
  return {};
}

}  // namespace

Handle OpenOdbcEnvironment() {
  NumericLocaleScope locale;
  Handle env = AllocateHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, 0, E_FAIL);
  Check(SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0), SQL_HANDLE_ENV,
        env.get(), "Driver Manager", E_FAIL);
  return env;
}

DriverConnection::DriverConnection(const std::string& connectionString, const ConnectOptions& options)
    : env_(OpenOdbcEnvironment()) {
  NumericLocaleScope locale;
  dbc_ = AllocateHandle(SQL_HANDLE_DBC, env_.get(), SQL_HANDLE_ENV, E_FAIL);

  ConnectionString parsed = ConnectionString::Parse(connectionString);
  driver_ = DriverOf(env_.get(), parsed);
  mysql_ = ContainsNoCase(driver_, "MariaDB") || ContainsNoCase(driver_, "MySQL");
  if (options.loginTimeoutSeconds > 0) {
    SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(options.loginTimeoutSeconds)), 0);
    // MariaDB's driver ignores the attribute; without its keyword a host that drops packets
    // holds the connect for minutes.
    if (options.addDriverTimeout && mysql_ && !Attribute(parsed, {"CONN_TIMEOUT"}))
      parsed.Set("CONN_TIMEOUT", std::to_string(options.loginTimeoutSeconds));
  }
  // MySQL counts the rows an UPDATE changed, not those it found: writing back a value unchanged
  // would look like a row changed by someone else. FLAG_FOUND_ROWS (2) makes it count found rows,
  // as ADO's cursors need; the other flags stay as set.
  if (mysql_) {
    long flags = std::strtol(Attribute(parsed, {"OPTION"}).value_or("0").c_str(), nullptr, 10);
    if (!(flags & 2)) parsed.Set("OPTION", std::to_string(flags | 2));
    // MariaDB's driver miscounts the UTF-16 length of some texts (36 bytes for the 19 characters
    // of "Último Pau-De-Arara") and cuts them, and writes such texts with a stray NUL; its UTF-8
    // is exact. Texts then travel as UTF-8, which needs a UTF-8 character set.
    const std::optional<std::string> charset = Attribute(parsed, {"CHARSET"});
    if (!charset) parsed.Set("CHARSET", "utf8mb4");
    utf8Narrow_ = !charset || strncasecmp(charset->c_str(), "utf8", 4) == 0;
  }
  if (IsPsqlOdbc(driver_)) {
    // psqlODBC reports booleans as VARCHAR(5) unless told otherwise; as booleans they read, sort,
    // filter and show as booleans. A string or DSN that says how it wants them is left alone. The
    // completed string then carries the choice, so a string built here behaves as a typed one.
    if (!Attribute(parsed, {"BoolsAsChar", "B9"})) parsed.Set("BoolsAsChar", "0");
    // By default psqlODBC reads a whole result into its own memory inside SQLExecute: a million
    // rows kept the window from showing any for most of a second and took hundreds of MB beside
    // the rows Qelvo keeps. With declare/fetch it reads them from a server cursor as they are
    // fetched, 10,000 at a time. A string or DSN that chooses either way is left alone.
    if (!Attribute(parsed, {"UseDeclareFetch", "B6"})) {
      parsed.Set("UseDeclareFetch", "1");
      if (!Attribute(parsed, {"Fetch", "A7"})) parsed.Set("Fetch", std::to_string(kPsqlOdbcFetchRows));
    }
  }

  WideString text = ToWide(parsed.ToOdbcString());
  // MariaDB's driver reads past the given length of a UTF-16 text with non-ASCII characters (a
  // password, say); terminated, it stops where the text does.
  const bool terminated = mysql_ && text.find(u'\0') == WideString::npos;
  // Drivers return long completed strings (psqlODBC lists every option): room for all of it.
  std::vector<SQLWCHAR> out(options.complete ? 8192 : 0, 0);
  SQLSMALLINT outLength = 0;
  SQLRETURN rc =
      SQLDriverConnectW(dbc_.get(), nullptr, AsSql(text), terminated ? SQL_NTS : static_cast<SQLSMALLINT>(text.size()),
                        options.complete ? out.data() : nullptr, static_cast<SQLSMALLINT>(out.size()),
                        options.complete ? &outLength : nullptr, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(rc)) Raise(rc, SQL_HANDLE_DBC, dbc_.get(), driver_, E_FAIL);
  connected_ = true;
  // A cut completion would be a broken string: none is better.
  if (options.complete && outLength > 0 && static_cast<std::size_t>(outLength) < out.size())
    completed_ = ToUtf8(FromSql(out.data()), WideLength(out.data(), out.size()));
}

DriverConnection::~DriverConnection() {
  if (!connected_) return;
  NumericLocaleScope locale;
  if (!Succeeded(SQLDisconnect(dbc_.get()))) {
    // An open transaction keeps the connection; nothing of it is wanted any more.
    SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_ROLLBACK);
    SQLDisconnect(dbc_.get());
  }
}

}  // namespace ado::odbc
