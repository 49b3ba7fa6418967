#include "repetition_collector.h"

#include <sstream>

namespace bench {

std::string MeasureKey(const benchmark::BenchmarkName& name) {
  return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
}

std::string MeasureKey(const std::string& fullName) {
  std::string key;
  std::stringstream parts(fullName);
  std::string part;
  while (std::getline(parts, part, '/')) {
    if (part.find(':') != std::string::npos || part == "real_time" || part == "manual_time") continue;
    key += key.empty() ? part : "/" + part;
  }
  return key;
}

void RepetitionCollector::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration) continue;  // medians are taken here, over our samples
    Samples& samples = results_[MeasureKey(run.run_name)];
    if (run.error_occurred) {
      samples.error = run.error_message;
      continue;
    }
    if (run.iterations <= 0) continue;
    const double iterations = static_cast<double>(run.iterations);
    samples.wall.push_back(run.real_accumulated_time / iterations);
    // Counters arrive already divided by the iterations.
    auto child = run.counters.find("child_cpu_seconds");
    samples.cpu.push_back(child != run.counters.end() ? child->second.value
                                                      : run.cpu_accumulated_time / iterations);
    auto entries = run.counters.find("entries");
    if (entries != run.counters.end()) samples.entries = entries->second.value;
  }
  ConsoleReporter::ReportRuns(runs);
}

}  // namespace bench
