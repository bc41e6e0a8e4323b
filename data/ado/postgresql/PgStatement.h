#pragma once
// Reading a statement's text the way the server's lexer does (quotes, quoted names, dollar
// quoting, comments): to number the cursor engine's '?' markers as $1, $2... and to tell one
// statement from a batch.
#include <string>
#include <string_view>

namespace ado::postgresql {

// The text with each '?' outside quotes and comments written as $1, $2...; `count` receives how
// many there were.
std::string NumberPlaceholders(std::string_view sql, int& count);

// Whether the text holds more than one statement (a ';' followed by more than blanks and
// comments).
bool HoldsSeveralStatements(std::string_view sql);

}  // namespace ado::postgresql
