// quillane's commands over the generated tree as a user runs them: a new process each time, the
// page cache warm, beside find over the same folders doing the same search. Each measure counts
// the lines its last run printed, so that the two sides of a comparison can be seen to list the
// same entries.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "child_process.h"
#include "session_tree.h"

#ifndef QUILLANE_CLI_PATH
#define QUILLANE_CLI_PATH "quillane"
#endif

namespace {

// Found in 111 session names of the tree (host12, host120..., host1200...) and in no folder name.
constexpr char kFindText[] = "t12";

// $QUILLANE_BENCH_CLI names another build of the host to measure.
std::string Cli() {
  const char* cli = getenv("QUILLANE_BENCH_CLI");
  return cli && *cli ? cli : QUILLANE_CLI_PATH;
}

// The host kept inside the tree's folder: it finds nothing of the user's and writes nothing there.
const std::vector<std::string>& HostEnvironment() {
  static const std::vector<std::string> env = [] {
    const std::string& root = bench::SharedSessionTree().tree.root;
    return bench::EnvironmentWith({{"XDG_CONFIG_HOME", root + "/xdg"},
                                   {"XDG_DATA_HOME", root + "/data"},
                                   {"QUILLANE_REGISTRY_ROOT", root + "/registry"},
                                   {"HOME", root + "/home"},
                                   {"QUILLANE_CONFIG", ""},
                                   {"LANG", "C"}});
  }();
  return env;
}

size_t CountLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return static_cast<size_t>(std::count(std::istreambuf_iterator<char>(in), {}, '\n'));
}

void RunCommand(benchmark::State& state, const std::vector<std::string>& argv, bool host) {
  const std::string output = bench::SharedSessionTree().tree.root + "/command.out";
  const std::vector<std::string>* env = host ? &HostEnvironment() : nullptr;
  double cpu = 0;
  for (auto _ : state) {
    bench::ChildRun run = bench::RunChild(argv, output, env);
    cpu += run.cpuSeconds;
    if (!run.started) return state.SkipWithError((argv[0] + " could not be started").c_str());
    if (run.status != 0) return state.SkipWithError((argv[0] + " failed, see " + output + ".err").c_str());
  }
  state.counters["child_cpu_seconds"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
  state.counters["entries"] = static_cast<double>(CountLines(output));
}

std::vector<std::string> Quillane(std::vector<std::string> command) {
  std::vector<std::string> argv = {Cli(), "--config", bench::SharedSessionTree().tree.root, "--no-prompt"};
  argv.insert(argv.end(), command.begin(), command.end());
  return argv;
}

std::string SessionsFolder() { return bench::SharedSessionTree().tree.root + "/Sessions"; }

void BM_ColdSessionsRecursive(benchmark::State& state) {
  RunCommand(state, Quillane({"sessions", "--recursive"}), true);
}
BENCHMARK(BM_ColdSessionsRecursive)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every session file of the same folders; the folders' display-order files are not sessions.
void BM_ColdFindSessionFiles(benchmark::State& state) {
  RunCommand(state, {"find", SessionsFolder(), "-name", "*.ini", "!", "-name", "__FolderData__.ini"},
             false);
}
BENCHMARK(BM_ColdFindSessionFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ColdFindText(benchmark::State& state) { RunCommand(state, Quillane({"find", kFindText}), true); }
BENCHMARK(BM_ColdFindText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ColdFindINameText(benchmark::State& state) {
  RunCommand(state, {"find", SessionsFolder(), "-iname", std::string("*") + kFindText + "*"}, false);
}
BENCHMARK(BM_ColdFindINameText)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
