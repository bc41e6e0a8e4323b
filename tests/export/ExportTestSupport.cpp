#include "tests/export/ExportTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/Trace.h"
#include "workspace/MemoryProfileStore.h"

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qelvo-export-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string SqliteConnectionString(const std::string& file) {
  return "Provider=SQLite;Data Source=" + file;
}

std::string MakeSqliteDatabase(const TempFolder& folder, const std::vector<std::string>& statements,
                               const std::string& name) {
  const std::string file = folder.File(name);
  sqlite3* db = nullptr;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + file);
  for (const std::string& statement : statements) {
    char* error = nullptr;
    if (sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      std::string text = error ? error : "?";
      sqlite3_free(error);
      sqlite3_close(db);
      throw std::runtime_error("SQLite: " + text + " in " + statement);
    }
  }
  sqlite3_close(db);
  return SqliteConnectionString(file);
}

std::string SampleDatabasePath() {
  const char* path = std::getenv("QELVO_SAMPLE_DB");
  return path ? path : "";
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

SettingsStore DefaultSettings() {
  SettingsStore settings;
  MemoryProfileStore empty;
  settings.LoadAll(empty);
  return settings;
}

TraceCapture::TraceCapture() {
  TraceSetObserver([this](const std::string&, char kind, const std::string& text) {
    lines_.push_back(std::string(1, kind) + "|" + text);
  });
}

TraceCapture::~TraceCapture() {
  TraceSetObserver(nullptr);
}

bool TraceCapture::Has(const std::string& part) const {
  for (const std::string& line : lines_)
    if (line.find(part) != std::string::npos) return true;
  return false;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

int RunShell(const std::string& command, std::string& output, bool withErrors) {
  output.clear();
  std::FILE* pipe = ::popen((withErrors ? command + " 2>&1" : command).c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string RunPython(const TempFolder& folder, const std::string& script, const std::vector<std::string>& arguments) {
  const std::string file = folder.File("check.py");
  WriteFileBytes(file, script);
  std::string command = "/usr/bin/python3 " + ShellQuote(file);
  for (const std::string& a : arguments) command += " " + ShellQuote(a);
  std::string output;
  const int status = RunShell(command, output, false);
  if (status != 0) {
    ADD_FAILURE() << "python3 failed (" << status << "): " << output;
    return "";
  }
  return output;
}
