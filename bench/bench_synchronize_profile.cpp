// A synchronize profile of 1,000 tasks with 10 sources and 10 targets each (some 53,000 indexed
// values in one key) loaded and saved, beside the plain INI load and write of the same key's
// values, with nothing made of them.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "config/parts/subkey_copy.h"
#include "config/sync/synchronize_profile.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "temp_folder.h"

namespace {

constexpr size_t kTasks = 1000;
constexpr size_t kEnds = 10;

SynchronizeSettings Generated() {
  SynchronizeSettings settings;
  for (size_t i = 0; i < kTasks; ++i) {
    SynchronizeTask task;
    task.name = U8("Task " + std::to_string(i));
    task.type = static_cast<int32_t>(i % 3);
    for (size_t j = 0; j < kEnds; ++j) {
      task.sources.push_back({U8("Lab\\host" + std::to_string(j)),
                              U8("/home/me/projects/" + std::to_string(i) + "/" + std::to_string(j)),
                              j % 2 == 0});
      task.targets.push_back({U8("Backup\\host" + std::to_string(j)),
                              U8("/srv/backup/" + std::to_string(i) + "/" + std::to_string(j))});
    }
    settings.tasks.push_back(std::move(task));
  }
  settings.filter = u"texts";
  return settings;
}

struct Fixture {
  Fixture() {
    folder = bench::MakeTempFolder("quillane-bench-sync");
    factory = std::make_unique<VIniFileStoreFactory>(U8(folder));
    VProfileStore store(factory.get());
    VProfileKey key(*store.GetRootKey(), u"Sync", kProfileKeyCreate);
    SynchronizeProfile profile;
    profile.Load(nullptr);
    profile.settings = Generated();
    if (!profile.Save(key, true)) std::abort();
  }
  ~Fixture() { vfs::RemoveTree(folder).IgnoreError(); }
  std::string folder;
  std::unique_ptr<VIniFileStoreFactory> factory;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_SyncProfileLoad1000(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    VProfileStore store(true, fixture.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Sync");
    SynchronizeProfile profile;
    profile.Load(&key);
    if (profile.settings.tasks.size() != kTasks) state.SkipWithError("not loaded");
    benchmark::DoNotOptimize(profile.settings.tasks.data());
  }
}
BENCHMARK(BM_SyncProfileLoad1000)->Unit(benchmark::kMillisecond);

void BM_SyncKeyPlainIniLoad(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    VProfileStore store(true, fixture.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Sync");
    VProfileSubkeyCopy::Node node;
    VProfileSubkeyCopy::ReadNode(key, node);
    if (node.values.size() < kTasks * (3 + kEnds * 5)) state.SkipWithError("not read");
    benchmark::DoNotOptimize(node.values.data());
  }
}
BENCHMARK(BM_SyncKeyPlainIniLoad)->Unit(benchmark::kMillisecond);

void BM_SyncProfileSave1000(benchmark::State& state) {
  Fixture& fixture = Shared();
  VProfileStore store(fixture.factory.get());
  VProfileKey key(*store.GetRootKey(), u"Sync");
  SynchronizeProfile profile;
  profile.Load(&key);
  for (auto _ : state) {
    if (!profile.Save(key, true)) state.SkipWithError("not saved");
  }
}
BENCHMARK(BM_SyncProfileSave1000)->Unit(benchmark::kMillisecond);

void BM_SyncKeyPlainIniWrite(benchmark::State& state) {
  Fixture& fixture = Shared();
  VProfileStore store(fixture.factory.get());
  VProfileKey key(*store.GetRootKey(), u"Sync");
  VProfileSubkeyCopy::Node node;
  VProfileSubkeyCopy::ReadNode(key, node);
  for (auto _ : state) {
    if (!VProfileSubkeyCopy::WriteNode(key, node)) state.SkipWithError("not written");
  }
}
BENCHMARK(BM_SyncKeyPlainIniWrite)->Unit(benchmark::kMillisecond);

}  // namespace
