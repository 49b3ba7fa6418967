// The entry point of each stand-alone benchmark program; the runner (runner/) has its own.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
