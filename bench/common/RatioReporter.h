#pragma once
// The console table of Google Benchmark, then the summary each of our benchmark programs prints:
// the ratios of our code to its peer, measured in the same run. Times are kept by function name
// (and by full benchmark name, for benchmarks with arguments); with repetitions, the median stands.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  enum class Clock { Cpu, Real };
  using Summary = std::function<void(const RatioReporter&)>;

  RatioReporter(Clock clock, Summary summary) : clock_(clock), summary_(std::move(summary)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.error_occurred) continue;
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      const double t = clock_ == Clock::Cpu ? r.GetAdjustedCPUTime() : r.GetAdjustedRealTime();
      times_[r.run_name.function_name] = t;
      times_[r.benchmark_name()] = t;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n");
    if (summary_) summary_(*this);
    std::fflush(stdout);
  }

  bool Has(const std::string& name) const { return Time(name) > 0; }
  double Time(const std::string& name) const {
    auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }

  // "ratio <what> <ours / peer> (target <= t) ok|OVER"; no target when t <= 0; nothing when either
  // benchmark did not run (filtered out).
  void Ratio(const std::string& ours, const std::string& peer, const char* what, double target) const {
    if (!Has(ours) || !Has(peer)) return;
    const double r = Time(ours) / Time(peer);
    if (target > 0)
      std::printf("ratio %-52s %6.2f  (target <= %.1f) %s\n", what, r, target, r <= target ? "ok" : "OVER");
    else
      std::printf("ratio %-52s %6.2f\n", what, r);
  }

 private:
  Clock clock_;
  Summary summary_;
  std::map<std::string, double> times_;
};
