#include "bench/common/PeerRun.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

extern char** environ;

bool IsPeakOf(int argc, char** argv) {
  return argc >= 5 && std::strcmp(argv[1], "--peak-of") == 0;
}

int PeakOf(char** argv) {
  const char* file = argv[2];
  const char* input = argv[3];
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(*input ? input : "/dev/null", O_RDONLY);
    int out = open("/dev/null", O_WRONLY);
    dup2(in, 0);
    dup2(out, 1);
    execvp(argv[4], argv + 4);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  WriteNumber(file, usage.ru_maxrss * 1024L);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

ChildRun RunQuiet(const std::vector<std::string>& args, char** env, const std::string& input) {
  const std::string peakFile = TemporaryFile("/tmp/qelvo-bench-peak-");
  std::vector<std::string> all{"/proc/self/exe", "--peak-of", peakFile, input};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (const std::string& a : all) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  ChildRun run;
  if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), env) == 0) {
    waitpid(pid, &run.status, 0);
    run.peakBytes = ReadNumber(peakFile);
  }
  unlink(peakFile.c_str());
  return run;
}

ChildEnvironment::ChildEnvironment(const std::string& extra) {
  for (char** e = environ; *e; ++e) strings_.emplace_back(*e);
  strings_.push_back(extra);
  for (std::string& e : strings_) pointers_.push_back(e.data());
  pointers_.push_back(nullptr);
}

std::string TemporaryFile(const char* prefix) {
  std::string pattern = std::string(prefix) + "XXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd >= 0) close(fd);
  return pattern;
}

void WriteNumber(const std::string& file, long value) {
  if (FILE* f = std::fopen(file.c_str(), "w")) {
    std::fprintf(f, "%ld\n", value);
    std::fclose(f);
  }
}

long ReadNumber(const std::string& file) {
  long value = 0;
  if (FILE* f = std::fopen(file.c_str(), "r")) {
    if (std::fscanf(f, "%ld", &value) != 1) value = 0;
    std::fclose(f);
  }
  return value;
}

void TimePeer(benchmark::State& state, const std::vector<std::string>& args, char** env, long& peak,
              const char* failure, const std::string& input) {
  for (auto _ : state) {
    ChildRun run = RunQuiet(args, env, input);
    if (failure && run.status != 0) state.SkipWithError(failure);
    peak = std::max(peak, run.peakBytes);
  }
}
