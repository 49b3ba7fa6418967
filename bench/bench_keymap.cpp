// A key map file of 5,000 mappings of every kind: loaded and saved by the key map, beside the raw
// read of the same bytes and the same bytes written as safely without the key map's work.
#include <benchmark/benchmark.h>

#include <string>

#include "read_floor.h"
#include "config/keymap/key_codes.h"
#include "config/keymap/keymap.h"
#include "config/keymap/keymap_functions.h"
#include "platform/file_system.h"
#include "storage/text/text_file.h"
#include "temp_folder.h"

namespace {

constexpr size_t kMappings = 5000;

struct Fixture {
  Fixture() {
    folder = bench::MakeTempFolder("quillane-bench-keymap");
    path = folder + "/big.key";
    uint32_t modifiers[] = {0, kKeyCtrl, kKeyCtrl | kKeyShift, kKeyAlt, kKeyAlt | kKeyExtended};
    auto keys = vkeys::VirtualKeys();
    auto extended = vkeys::ExtendedKeys();
    for (size_t i = 0; i < kMappings; ++i) {
      uint32_t key = i % 2 ? keys[i % keys.size()].code : extended[i % extended.size()].code;
      KeyMapping m{key | modifiers[i % 5] | ((i / 25) % 2 ? kKeyWindows : 0), 0, {}, {}};
      switch (i % 6) {
        case 0: m.action = kActionSend; m.first = U8("ssh host" + std::to_string(i) + "\\r"); break;
        case 1: m.action = kActionRun; m.first = U8("/opt/scripts/run.py"); m.second = U8("--n " + std::to_string(i)); break;
        case 2: m.action = kActionLaunch; m.first = U8("\"/usr/bin/xterm\" -e top"); break;
        default: m.action = 6 + static_cast<uint32_t>(i % 260); break;
      }
      map.Add(m);
    }
    bytes = map.FileBytes();
    vfs::ReplaceFileContents(path, bytes).IgnoreError();
  }
  ~Fixture() {
    vfs::RemoveTree(folder).IgnoreError();
  }
  std::string folder;
  std::string path;
  std::string bytes;
  Keymap map;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_KeymapLoad5000(benchmark::State& state) {
  Fixture& f = Shared();
  const VUnicodeString name = U8(f.path);
  for (auto _ : state) {
    Keymap map;
    VReportMessageParams report;
    if (!map.Load(name, report) || map.GetCount() != kMappings) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(map.GetCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}
BENCHMARK(BM_KeymapLoad5000)->Unit(benchmark::kMicrosecond);

void BM_KeymapRawRead5000(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    std::string bytes;
    if (!VTextFile::ReadLocked(f.path, bytes).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}
BENCHMARK(BM_KeymapRawRead5000)->Unit(benchmark::kMicrosecond);

void BM_KeymapRawReadAndDecode5000(benchmark::State& state) {
  ReadAndDecodeFloor(state, Shared().path);
}
BENCHMARK(BM_KeymapRawReadAndDecode5000)->Unit(benchmark::kMicrosecond);

void BM_KeymapFormat5000(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    std::string bytes = f.map.FileBytes();
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_KeymapFormat5000)->Unit(benchmark::kMicrosecond);

void BM_KeymapSave5000(benchmark::State& state) {
  Fixture& f = Shared();
  const VUnicodeString name = U8(f.folder + "/saved.key");
  for (auto _ : state) {
    VReportMessageParams report;
    if (!f.map.Save(name, report)) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_KeymapSave5000)->Unit(benchmark::kMicrosecond);

void BM_KeymapRawSafeWrite5000(benchmark::State& state) {
  Fixture& f = Shared();
  const std::string path = f.folder + "/raw.key";
  for (auto _ : state) {
    if (!vfs::ReplaceFileContents(path, f.bytes).ok()) state.SkipWithError("write failed");
  }
}
BENCHMARK(BM_KeymapRawSafeWrite5000)->Unit(benchmark::kMicrosecond);

}  // namespace
