#include "data/ado/odbc/OdbcRead.h"

#include <vector>

#include "data/ado/odbc/OdbcText.h"
#include "text/TextUtil.h"

namespace ado::odbc {
namespace {
bool IsTerminator(const char* at, std::size_t terminator) {
  for (std::size_t i = 0; i < terminator; ++i)
    if (at[i] != 0) return false;
  return true;
}
}  // namespace

std::optional<std::size_t> WrittenLength(const char* data, std::size_t reported, std::size_t capacity,
                                         std::size_t terminator) {
  if (terminator == 0 || reported + terminator > capacity || IsTerminator(data + reported, terminator)) return reported;
  for (std::size_t at = reported + terminator; at + terminator <= capacity; at += terminator)
    if (IsTerminator(data + at, terminator)) return at;
  return std::nullopt;
}

std::optional<std::string> GetPieces(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column,
                                     SQLSMALLINT cType, std::size_t unit) {
  // One buffer for every call of the thread: this runs for each long value of a result, and a
  // fresh zeroed buffer each time cost more than the driver's work.
  thread_local std::vector<char> piece;
  if (piece.size() < 16384) piece.resize(16384);
  std::string bytes;
  bool first = true;
  std::size_t size = 16384;
  for (;;) {
    SQLLEN indicator = 0;
    SQLRETURN rc = SQLGetData(stmt, column, cType, piece.data(), static_cast<SQLLEN>(size), &indicator);
    if (rc == SQL_NO_DATA) {
      // After the last piece; at the first call a driver says so for an empty long value.
      break;
    }
    connection.CheckStatement(rc, stmt);
    if (indicator == SQL_NULL_DATA) return first ? std::nullopt : std::optional<std::string>(bytes);
    first = false;
    std::size_t room = size - unit;
    std::size_t got = indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > room
                          ? room
                          : static_cast<std::size_t>(indicator);
    // A piece whose terminator is elsewhere than its length says is as long as the terminator
    // shows.
    if (got < room) got = WrittenLength(piece.data(), got, size, unit).value_or(got);
    bytes.append(piece.data(), got);
    if (rc == SQL_SUCCESS) break;
    // SQL_SUCCESS_WITH_INFO: truncated (01004), more to come. Larger pieces from now on, so that
    // a value of many megabytes takes few calls.
    if (size < (1u << 20)) {
      size *= 4;
      if (piece.size() < size) piece.resize(size);
    }
    // Some drivers report a truncation without an indicator that says so; a piece that did not
    // fill the buffer was the last one.
    if (indicator != SQL_NO_TOTAL && static_cast<std::size_t>(indicator) <= room) break;
  }
  return bytes;
}

std::optional<std::string> GetText(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column) {
  if (connection.TextAsUtf8()) {
    std::optional<std::string> bytes = GetPieces(connection, stmt, column, SQL_C_CHAR, 1);
    if (bytes && !IsUtf8(*bytes)) return ToUtf8(ToWide(*bytes));
    return bytes;
  }
  std::optional<std::string> units = GetPieces(connection, stmt, column, SQL_C_WCHAR, sizeof(SQLWCHAR));
  if (!units) return std::nullopt;
  return ToUtf8(reinterpret_cast<const char16_t*>(units->data()), units->size() / sizeof(char16_t));
}

std::optional<std::string> GetBytes(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column) {
  return GetPieces(connection, stmt, column, SQL_C_BINARY, 0);
}

std::optional<std::string> GetAscii(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column) {
  return GetPieces(connection, stmt, column, SQL_C_CHAR, 1);
}

std::optional<long long> GetInteger(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column) {
  SQLBIGINT value = 0;
  SQLLEN indicator = 0;
  connection.CheckStatement(SQLGetData(stmt, column, SQL_C_SBIGINT, &value, sizeof value, &indicator), stmt);
  if (indicator == SQL_NULL_DATA) return std::nullopt;
  return static_cast<long long>(value);
}

std::string ColumnText(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field) {
  std::vector<SQLWCHAR> buffer(256);
  SQLSMALLINT length = 0;
  SQLRETURN rc = SQLColAttributeW(stmt, column, field, buffer.data(),
                                  static_cast<SQLSMALLINT>(buffer.size() * sizeof(SQLWCHAR)), &length, nullptr);
  if (rc == SQL_SUCCESS_WITH_INFO && static_cast<std::size_t>(length) >= buffer.size() * sizeof(SQLWCHAR)) {
    buffer.assign(static_cast<std::size_t>(length) / sizeof(SQLWCHAR) + 1, 0);
    rc = SQLColAttributeW(stmt, column, field, buffer.data(),
                          static_cast<SQLSMALLINT>(buffer.size() * sizeof(SQLWCHAR)), &length, nullptr);
  }
  if (!Succeeded(rc)) return {};
  return ToUtf8(FromSql(buffer.data()), WideLength(buffer.data(), buffer.size()));
}

SQLLEN ColumnNumber(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field, SQLLEN fallback) {
  SQLLEN value = fallback;
  if (!Succeeded(SQLColAttributeW(stmt, column, field, nullptr, 0, nullptr, &value))) return fallback;
  return value;
}

}  // namespace ado::odbc
