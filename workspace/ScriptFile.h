#pragma once
// Reading and writing the query editor's script files (.sql).
#include <stdexcept>
#include <string>

// A script file that cannot be read or written; what() is the message to show with the stop icon.
class ScriptFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* ScriptFileFilter = "Script files (*.sql)|*.sql|All files (*.*)|*.*||";
inline constexpr const char* ScriptFileExtension = "sql";

// The file's text for the editor: every line, up to each LF (a CR before it dropped), followed by
// CR LF, the last line too whether or not the file ended with a line break. Raises
// ScriptFileError "Unable to read file \"<path>\"" when the file cannot be opened or read.
std::string ReadScriptFile(const std::string& path);

// Replaces the file with the text, each line break stored as CR LF (a CR LF already there stays
// one). The old file is replaced only once the new text is written whole. Raises ScriptFileError
// "Unable to write to file \"<path>\"" when that fails, and the old file then stays as it was.
void WriteScriptFile(const std::string& path, const std::string& text);

// The text as it is stored: lone LFs become CR LF.
std::string WithCrLf(const std::string& text);
