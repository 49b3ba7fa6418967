// The comparisons turned into figures (medians of the repetitions, their ratios, the targets met)
// and printed as the Markdown table of the README and as JSON.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "comparisons.h"
#include "repetition_collector.h"

namespace bench {

double Median(std::vector<double> values);  // 0 for no values

struct RatioRow {
  const Comparison* comparison = nullptr;
  const Samples* ours = nullptr;  // null when the measure did not run (not built, filtered out)
  const Samples* peer = nullptr;
  double oursWall = 0, peerWall = 0, oursCpu = 0, peerCpu = 0;
  double ratio = 0;     // of the wall-clock medians
  double cpuRatio = 0;  // of the processor-time medians
  bool judgeCpu = false;  // the target is held against cpuRatio rather than ratio
  std::string problem;  // why there is no ratio, or why it cannot be trusted
  bool Measured() const { return problem.empty() || problem.rfind("entries", 0) == 0; }
  bool Met() const {
    return problem.empty() && comparison->target > 0 && (judgeCpu ? cpuRatio : ratio) <= comparison->target;
  }
};

// `judgeCpu`: targets held against processor time, steadier than elapsed time on a busy machine.
std::vector<RatioRow> BuildRows(const std::vector<Comparison>& comparisons,
                                const std::map<std::string, Samples>& results, bool judgeCpu);

void PrintMarkdown(std::ostream& out, const std::vector<RatioRow>& rows);
void PrintJson(std::ostream& out, const std::vector<RatioRow>& rows, const std::string& machine,
               int repetitions);

// How long a time is, in the unit that keeps three or four digits ("1.23 ms").
std::string FormatSeconds(double seconds);

}  // namespace bench
