#pragma once
// Peers (a database's own client, a second walk of ours) run as child processes so that their
// peak memory is theirs alone. A child forked from a large benchmark process would report that
// process's peak as its own, so every child goes through this program started again as
// "--peak-of FILE INPUT PROGRAM ARGS...": a fresh, small process that runs PROGRAM with INPUT
// (or /dev/null when empty) on its standard input and its output to /dev/null, and writes the
// child's peak into FILE.
#include <string>
#include <vector>

struct ChildRun {
  long peakBytes = 0;  // peak resident memory of the finished child
  int status = -1;     // as waitpid gives it
};

// True when this program was started as "--peak-of ..."; main then returns PeakOf(argv).
bool IsPeakOf(int argc, char** argv);
int PeakOf(char** argv);

// Runs args[0] with args[1...] through "--peak-of" and waits for it.
ChildRun RunQuiet(const std::vector<std::string>& args, char** env, const std::string& input = "");

// This process's environment and one variable more (a password), as posix_spawn takes it.
class ChildEnvironment {
 public:
  explicit ChildEnvironment(const std::string& extra);
  char** Get() { return pointers_.data(); }

 private:
  std::vector<std::string> strings_;
  std::vector<char*> pointers_;
};

// A number a child process hands back to the benchmark through a file.
std::string TemporaryFile(const char* prefix);
void WriteNumber(const std::string& file, long value);
long ReadNumber(const std::string& file);

namespace benchmark {
class State;
}

// One timed run of a peer a benchmark iteration: the largest peak so far is kept in `peak`, and a
// failed run marks the benchmark with `failure` (when not null).
void TimePeer(benchmark::State& state, const std::vector<std::string>& args, char** env, long& peak,
              const char* failure, const std::string& input = "");
