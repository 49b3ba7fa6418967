// Keeps the time of every repetition of every benchmark as Google Benchmark reports it, while its
// usual console report goes to standard error as progress.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

struct Samples {
  std::vector<double> wall;  // seconds per iteration, one a repetition
  std::vector<double> cpu;   // processor seconds per iteration (a child's for whole commands)
  double entries = -1;       // lines a command printed, where the measure counts them
  std::string error;         // why the benchmark stopped, when it did
};

// "function" or "function/arguments": a benchmark's name without the run options that Google
// Benchmark appends ("real_time", "iterations:4", ...).
std::string MeasureKey(const benchmark::BenchmarkName& name);
std::string MeasureKey(const std::string& fullName);

class RepetitionCollector : public benchmark::ConsoleReporter {
 public:
  using ConsoleReporter::ConsoleReporter;
  void ReportRuns(const std::vector<Run>& runs) override;
  const std::map<std::string, Samples>& Results() const { return results_; }

 private:
  std::map<std::string, Samples> results_;
};

}  // namespace bench
