#pragma once
// Connection strings as OLE DB reads them: "key=value;key=value". Keywords are case-insensitive
// and trimmed; a value may be enclosed in single or double quotes (the quote doubled inside) or in
// braces ({...}, '}' doubled inside); "==" inside a keyword stands for one '='; a later repeat of
// a keyword replaces the earlier value.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ado {

class ConnectionString {
 public:
  struct Attribute {
    std::string key;  // as written (trimmed)
    std::string value;
  };

  // Raises ComError (E_FAIL, a message naming the position and the problem) on bad syntax:
  // a keyword without '=', an empty keyword, an unterminated quote or brace, text after a
  // closing quote before the next ';'.
  static ConnectionString Parse(std::string_view text);

  std::optional<std::string> Get(std::string_view key) const;  // case-insensitive
  bool Has(std::string_view key) const { return Get(key).has_value(); }
  void Set(const std::string& key, const std::string& value);  // replaces or appends
  void Remove(std::string_view key);
  const std::vector<Attribute>& Attributes() const { return attributes_; }

  // "key=value;..." with values quoted where needed, so that Parse reads the same attributes.
  std::string ToString() const;
  // The same text with braces for values that need quoting, as ODBC drivers expect
  // (DRIVER={PostgreSQL Unicode}).
  std::string ToOdbcString() const;

 private:
  std::vector<Attribute> attributes_;
};

// The text with the value of every PWD= / Password= attribute replaced by "***" (also inside
// text that does not parse as a whole); for traces and messages.
std::string MaskPasswords(std::string_view text);

// True for the keys whose value is a password: PWD, Password and any key ending in either.
bool IsPasswordKey(std::string_view key);

// The text with the value of each password attribute (key as written, value unquoted) handed to
// `replace`: a returned text takes the place of the value as written, quotes included; nothing
// keeps it. The rest of the text stays byte for byte, as the user typed it.
std::string ReplacePasswords(
    std::string_view text,
    const std::function<std::optional<std::string>(const std::string& key, const std::string& value)>& replace);

}  // namespace ado
