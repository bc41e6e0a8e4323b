#include "export/OutputFile.h"

#include <cstring>

namespace {
// Large enough that a million-row export makes few system calls.
constexpr std::size_t kFlushSize = 1 << 18;
}  // namespace

OutputFile::~OutputFile() {
  Close();
}

bool OutputFile::Open(const std::string& path, bool append) {
  Close();
  failed_ = false;
  file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
  return file_ != nullptr;
}

void OutputFile::Write(std::string_view bytes) {
  if (!file_) return;
  pending_.append(bytes);
  if (pending_.size() >= kFlushSize) Flush();
}

bool OutputFile::Flush() {
  if (!file_) return !failed_;
  if (!pending_.empty()) {
    if (std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) failed_ = true;
    pending_.clear();
  }
  if (std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

bool OutputFile::Close() {
  if (!file_) return !failed_;
  Flush();
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

CrLfBuffer::int_type CrLfBuffer::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  const char c = traits_type::to_char_type(ch);
  xsputn(&c, 1);
  return ch;
}

std::streamsize CrLfBuffer::xsputn(const char* s, std::streamsize n) {
  const char* p = s;
  const char* end = s + n;
  converted_.clear();
  while (p < end) {
    const void* found = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    if (!found) {
      converted_.append(p, end);
      break;
    }
    const char* lf = static_cast<const char*>(found);
    converted_.append(p, lf);
    converted_.append("\r\n", 2);
    p = lf + 1;
  }
  file_.Write(converted_);
  return n;
}

TextFileStream::TextFileStream() : std::ostream(nullptr) {
  rdbuf(&buffer_);
}

bool TextFileStream::Close() {
  flush();
  return file_.Close();
}
