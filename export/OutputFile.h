#pragma once
// Files the exports write: a buffered binary writer that remembers whether any write failed, and a
// text stream over it that stores every line feed as CR LF (the text mode of the scripts). A CR
// already before a line feed is kept, so such a line ends in CR CR LF.
#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates or empties the file, or with append adds to its end (creating it when missing). False
  // when the file cannot be opened.
  bool Open(const std::string& path, bool append);
  bool IsOpen() const { return file_ != nullptr; }
  void Write(std::string_view bytes);
  // Writes what is buffered; false once any write has failed.
  bool Flush();
  // Flushes and closes; false when any write or the close failed. A closed file accepts no writes.
  bool Close();

 private:
  std::FILE* file_ = nullptr;
  std::string pending_;
  bool failed_ = false;
};

class CrLfBuffer : public std::streambuf {
 public:
  explicit CrLfBuffer(OutputFile& file) : file_(file) {}

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;

 private:
  OutputFile& file_;
  std::string converted_;
};

// The output stream of a script run: text written to it reaches the file with CR LF line ends.
// Without an open file everything written is dropped.
class TextFileStream : public std::ostream {
 public:
  TextFileStream();
  bool Open(const std::string& path, bool append) { return file_.Open(path, append); }
  bool IsOpen() const { return file_.IsOpen(); }
  bool Close();

 private:
  OutputFile file_;
  CrLfBuffer buffer_{file_};
};
