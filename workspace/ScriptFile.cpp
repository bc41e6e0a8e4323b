#include "workspace/ScriptFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include <QSaveFile>

namespace {
std::string ReadMessage(const std::string& path) {
  return "Unable to read file \"" + path + "\"";
}
std::string WriteMessage(const std::string& path) {
  return "Unable to write to file \"" + path + "\"";
}
}  // namespace

std::string ReadScriptFile(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) throw ScriptFileError(ReadMessage(path));
  std::ifstream file(path, std::ios::binary);
  if (!file) throw ScriptFileError(ReadMessage(path));
  std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw ScriptFileError(ReadMessage(path));

  std::string text;
  text.reserve(content.size() + content.size() / 16 + 2);
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    size_t next = end == std::string::npos ? content.size() : end + 1;
    if (end == std::string::npos) end = content.size();
    size_t lineEnd = end;
    if (end < content.size() && lineEnd > start && content[lineEnd - 1] == '\r') --lineEnd;
    text.append(content, start, lineEnd - start);
    text += "\r\n";
    start = next;
  }
  return text;
}

std::string WithCrLf(const std::string& text) {
  std::string stored;
  stored.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) stored += '\r';
    stored += text[i];
  }
  return stored;
}

void WriteScriptFile(const std::string& path, const std::string& text) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) throw ScriptFileError(WriteMessage(path));
  std::string stored = WithCrLf(text);
  if (file.write(stored.data(), static_cast<qint64>(stored.size())) != static_cast<qint64>(stored.size()) ||
      !file.commit())
    throw ScriptFileError(WriteMessage(path));
}
