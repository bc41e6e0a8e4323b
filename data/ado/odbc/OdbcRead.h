#pragma once
// Reading single values of the current row with SQLGetData, in pieces as long as the driver
// has more: for catalog results and long data.
#include <optional>
#include <string>

#include "data/ado/odbc/OdbcConnection.h"

namespace ado::odbc {

// A value of a character or binary C type, whole, as the bytes the driver wrote (UTF-16 for
// SQL_C_WCHAR); `terminator` is the size of the terminator the driver puts after each piece.
std::optional<std::string> GetPieces(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column,
                                     SQLSMALLINT cType, std::size_t terminator);
// The length of a text the driver wrote into a buffer of `capacity` bytes, given the length it
// reported (fitting the buffer) and the size of its terminator: the reported length when the
// terminator is there (or the type has none), else the place of the terminator the driver did
// write (MariaDB's driver reports too short a length for some UTF-16 texts), nullopt when the
// buffer holds none (the value is longer than the buffer).
std::optional<std::size_t> WrittenLength(const char* data, std::size_t reported, std::size_t capacity,
                                         std::size_t terminator);
// Text (as UTF-8, through SQL_C_CHAR where the connection reads texts so, else SQL_C_WCHAR) or
// bytes (SQL_C_BINARY); nothing for NULL.
std::optional<std::string> GetText(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column);
std::optional<std::string> GetBytes(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column);
// ASCII text through SQL_C_CHAR (digits, times), any length.
std::optional<std::string> GetAscii(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column);
std::optional<long long> GetInteger(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT column);

// A string attribute of a result column (SQLColAttributeW); empty when the driver has none.
std::string ColumnText(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field);
// A numeric attribute; `fallback` when the driver has none.
SQLLEN ColumnNumber(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field, SQLLEN fallback);

}  // namespace ado::odbc
