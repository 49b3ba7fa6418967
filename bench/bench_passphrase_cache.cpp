// The passphrase cache is read at every secret that is loaded or saved: reading it (lock, copy,
// decryption under the empty passphrase) beside the bare lock round trip, in a private block and in
// a block shared between processes; and the busy flag's test and set.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>

#include "crypto/passphrase_cache.h"

namespace {

VSharedMemoryNames BenchNames() {
  std::string base = "qbench-passcache-" + std::to_string(getpid());
  return {base + "-block", base + "-gate"};
}

bool Open(VPassphraseCache& cache, bool shared) {
  VReportMessageParams error;
  return shared ? cache.OpenShared(BenchNames(), error) : cache.OpenPrivate(error);
}

void BM_LoadPassphrase(benchmark::State& state) {
  VPassphraseCache cache;
  if (!Open(cache, state.range(0) != 0)) return state.SkipWithError("no cache");
  VReportMessageParams error;
  cache.StorePassphrase(u"a configuration passphrase", error);
  for (auto _ : state) benchmark::DoNotOptimize(cache.LoadPassphrase());
}

void BM_StorePassphrase(benchmark::State& state) {
  VPassphraseCache cache;
  if (!Open(cache, state.range(0) != 0)) return state.SkipWithError("no cache");
  VReportMessageParams error;
  for (auto _ : state) benchmark::DoNotOptimize(cache.StorePassphrase(u"a passphrase", error));
}

void BM_IsDisabled(benchmark::State& state) {  // one lock round trip and a byte
  VPassphraseCache cache;
  if (!Open(cache, state.range(0) != 0)) return state.SkipWithError("no cache");
  for (auto _ : state) benchmark::DoNotOptimize(cache.IsDisabled());
}

void BM_TakeAndReleaseBusy(benchmark::State& state) {
  VPassphraseCache cache;
  if (!Open(cache, true)) return state.SkipWithError("no cache");
  for (auto _ : state) {
    benchmark::DoNotOptimize(cache.TryTakeBusy());
    cache.ReleaseBusy();
  }
}

void BM_TestBusyHeldByAnother(benchmark::State& state) {  // the liveness check of the holder
  VPassphraseCache cache, other;
  if (!Open(cache, true)) return state.SkipWithError("no cache");
  Open(other, true);
  cache.TryTakeBusy();  // held by this (live) process: the other sees it held
  for (auto _ : state) benchmark::DoNotOptimize(other.IsBusy());
}

void BM_OpenAndReleaseShared(benchmark::State& state) {
  for (auto _ : state) {
    VPassphraseCache cache;
    benchmark::DoNotOptimize(Open(cache, true));
  }
}

}  // namespace

BENCHMARK(BM_LoadPassphrase)->Arg(0)->Arg(1);
BENCHMARK(BM_StorePassphrase)->Arg(0)->Arg(1);
BENCHMARK(BM_IsDisabled)->Arg(0)->Arg(1);
BENCHMARK(BM_TakeAndReleaseBusy);
BENCHMARK(BM_TestBusyHeldByAnother);
BENCHMARK(BM_OpenAndReleaseShared);