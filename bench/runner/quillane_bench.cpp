// quillane_bench: every speed comparison of the project in one process, printed side by side.
// The generated trees are built once (on a tmpfs unless told otherwise), each measure is repeated,
// its repetitions interleaved at random with the others' so that a busy machine weighs on both
// sides of a ratio alike, and the medians are compared.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "comparisons.h"
#include "ratio_table.h"
#include "repetition_collector.h"

namespace {

constexpr char kUsage[] =
    "usage: quillane_bench [--repetitions N] [--min-time SECONDS] [--dir DIR] [--only REGEX]\n"
    "                      [--clock wall|cpu] [--json FILE] [--check]\n"
    "Runs every comparison of the project's measures with their floors and peers and prints them\n"
    "as one Markdown table on standard output (progress on standard error).\n"
    "  --repetitions N   repetitions of each measure, whose median is compared (default 5)\n"
    "  --min-time S      least time of one repetition, in seconds (default 0.1)\n"
    "  --dir DIR         where the generated trees are built (default /dev/shm, else /tmp)\n"
    "  --only REGEX      only the comparisons with a measure whose name matches\n"
    "  --clock C         the ratio held against the targets: wall (elapsed time, the default) or\n"
    "                    cpu (processor time, a command's own; steadier on a busy machine)\n"
    "  --json FILE       also writes every repetition's figures to FILE as JSON\n"
    "  --check           runs nothing; fails when a comparison names a measure not built in\n";

struct Options {
  int repetitions = 5;
  double minTime = 0.1;
  std::string dir;
  std::string only;
  std::string json;
  bool check = false;
  bool judgeCpu = false;
};

[[noreturn]] void Usage(const std::string& problem) {
  std::cerr << "quillane_bench: " << problem << "\n" << kUsage;
  std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(arg + " needs a value");
      return argv[++i];
    };
    try {
      if (arg == "--repetitions") {
        options.repetitions = std::stoi(value());
        if (options.repetitions < 1) Usage("--repetitions must be at least 1");
      } else if (arg == "--min-time") {
        options.minTime = std::stod(value());
        if (!(options.minTime > 0)) Usage("--min-time must be more than 0");
      } else if (arg == "--dir") {
        options.dir = value();
      } else if (arg == "--only") {
        options.only = value();
      } else if (arg == "--clock") {
        std::string clock = value();
        if (clock != "wall" && clock != "cpu") Usage("--clock is wall or cpu, not " + clock);
        options.judgeCpu = clock == "cpu";
      } else if (arg == "--json") {
        options.json = value();
      } else if (arg == "--check") {
        options.check = true;
      } else if (arg == "--help" || arg == "-h") {
        std::cout << kUsage;
        std::exit(0);
      } else {
        Usage("unknown argument " + arg);
      }
    } catch (const std::logic_error&) {  // stoi, stod
      Usage("not a number after " + arg);
    }
  }
  if (options.dir.empty()) options.dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return options;
}

std::vector<bench::Comparison> Chosen(const std::string& only) {
  std::vector<bench::Comparison> chosen;
  std::regex pattern;
  try {
    pattern = std::regex(only.empty() ? "." : only);
  } catch (const std::regex_error& e) {
    Usage("--only " + only + " is not a regular expression: " + e.what());
  }
  for (const auto& c : bench::Comparisons()) {
    if (std::regex_search(c.oursName, pattern) || std::regex_search(c.peerName, pattern))
      chosen.push_back(c);
  }
  return chosen;
}

std::string EscapeForRegex(const std::string& name) {
  static const std::string special = R"(\^$.|?*+()[]{})";
  std::string out;
  for (char c : name) {
    if (special.find(c) != std::string::npos) out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

// A filter that selects exactly the measures of `comparisons`, whatever run options follow them.
std::string FilterFor(const std::vector<bench::Comparison>& comparisons) {
  std::set<std::string> names;
  for (const auto& c : comparisons) {
    names.insert(c.oursName);
    names.insert(c.peerName);
  }
  std::string filter;
  for (const auto& name : names) filter += (filter.empty() ? "" : "|") + EscapeForRegex(name);
  return "^(" + filter + ")(/[a-z_]+(:[0-9.]+)?)*$";
}

// The names of every registered measure, as Google Benchmark lists them.
std::set<std::string> RegisteredMeasures() {
  std::ostringstream listing;
  benchmark::ConsoleReporter reporter;
  reporter.SetOutputStream(&listing);
  reporter.SetErrorStream(&listing);
  std::vector<std::string> args = {"quillane_bench", "--benchmark_list_tests=true"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  int argc = static_cast<int>(argv.size());
  benchmark::Initialize(&argc, argv.data());
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::set<std::string> names;
  std::istringstream lines(listing.str());
  for (std::string line; std::getline(lines, line);) names.insert(bench::MeasureKey(line));
  return names;
}

int Check() {
  std::set<std::string> registered = RegisteredMeasures();
  int missing = 0;
  for (const auto& c : bench::Comparisons()) {
    for (const std::string* name : {&c.oursName, &c.peerName}) {
      // Qt's settings class is measured only where Qt is installed.
      if (registered.count(*name) || *name == "BM_QSettingsLoadEverySession") continue;
      std::cerr << "quillane_bench: the comparison \"" << c.ours << "\" names " << *name
                << ", which is not built in\n";
      ++missing;
    }
  }
  if (missing == 0) std::cout << bench::Comparisons().size() << " comparisons, every measure built in\n";
  return missing == 0 ? 0 : 1;
}

// The load average tells a reader how far elapsed times were stretched by other work.
std::string LoadAverage() {
  double load[1] = {0};
  if (getloadavg(load, 1) != 1) return "unknown";
  std::ostringstream out;
  out.precision(2);
  out << std::fixed << load[0];
  return out.str();
}

std::string Machine(const Options& options, const std::string& loadBefore) {
  std::ostringstream out;
  const benchmark::CPUInfo& cpu = benchmark::CPUInfo::Get();
  out << cpu.num_cpus << " cores";
  if (cpu.cycles_per_second > 0) out << " at " << static_cast<int>(cpu.cycles_per_second / 1e6) << " MHz";
  out << ", load average " << loadBefore << " before and " << LoadAverage() << " after; medians of "
      << options.repetitions << " repetitions; targets held against "
      << (options.judgeCpu ? "processor time" : "elapsed time") << "; trees in " << options.dir;
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  Options options = ParseOptions(argc, argv);
  if (options.check) return Check();

  std::vector<bench::Comparison> comparisons = Chosen(options.only);
  if (comparisons.empty()) Usage("no comparison has a measure matching " + options.only);
  // Read by the programs' fixtures when they first build their trees.
  setenv("QUILLANE_BENCH_DIR", options.dir.c_str(), 1);
  const std::string loadBefore = LoadAverage();

  std::ostringstream minTime;
  minTime << options.minTime;
  std::vector<std::string> args = {
      argv[0],
      "--benchmark_filter=" + FilterFor(comparisons),
      "--benchmark_repetitions=" + std::to_string(options.repetitions),
      "--benchmark_min_time=" + minTime.str(),
      "--benchmark_enable_random_interleaving=true",
      "--benchmark_report_aggregates_only=false",
  };
  std::vector<char*> benchArgv;
  for (auto& a : args) benchArgv.push_back(a.data());
  int benchArgc = static_cast<int>(benchArgv.size());
  benchmark::Initialize(&benchArgc, benchArgv.data());

  // Colours only for a person watching; a log file gets plain columns.
  bench::RepetitionCollector collector(isatty(STDERR_FILENO)
                                           ? benchmark::ConsoleReporter::OO_Defaults
                                           : benchmark::ConsoleReporter::OO_Tabular);
  collector.SetOutputStream(&std::cerr);
  collector.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  std::vector<bench::RatioRow> rows = bench::BuildRows(comparisons, collector.Results(), options.judgeCpu);
  std::string machine = Machine(options, loadBefore);
  std::cout << "Machine: " << machine << ".\n\n";
  bench::PrintMarkdown(std::cout, rows);
  if (!options.json.empty()) {
    std::ofstream json(options.json);
    bench::PrintJson(json, rows, machine, options.repetitions);
    if (!json.flush()) {
      std::cerr << "quillane_bench: cannot write " << options.json << "\n";
      return 3;
    }
  }
  return 0;
}
