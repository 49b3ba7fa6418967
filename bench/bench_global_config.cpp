// The whole global configuration loaded from and saved to a full Global.ini (every setting
// written once), beside reading the same file's bytes and decoding its lines, and the shared
// instance's save as the host calls it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include "read_floor.h"
#include "config/global/global_config_instance.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "temp_folder.h"
#include "storage/text/text_file.h"

namespace {

struct Fixture {
  Fixture() {
    folder = bench::MakeTempFolder("quillane-bench");
    factory = std::make_unique<VIniFileStoreFactory>(U8(folder));
    VProfileStore store(factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global", kProfileKeyCreate);
    GlobalConfig config(3);
    config.LoadFromKey(&key);
    config.Save(key, true);
  }
  ~Fixture() {
    vfs::RemoveTree(folder).IgnoreError();
  }
  std::string folder;
  std::unique_ptr<VIniFileStoreFactory> factory;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

VProfileStoreFactory* SharedFactory() { return Shared().factory.get(); }

void BM_LoadGlobalConfig(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    VProfileStore store(true, fixture.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global");
    GlobalConfig config(3);
    config.LoadFromKey(&key);
    benchmark::DoNotOptimize(config.mruCount.current);
  }
}
BENCHMARK(BM_LoadGlobalConfig);

void BM_SaveGlobalConfigForced(benchmark::State& state) {
  Fixture& fixture = Shared();
  GlobalConfig config(3);
  {
    VProfileStore store(true, fixture.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global");
    config.LoadFromKey(&key);
  }
  for (auto _ : state) {
    VProfileStore store(fixture.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global");
    benchmark::DoNotOptimize(config.Save(key, true) && key.Flush());
  }
}
BENCHMARK(BM_SaveGlobalConfigForced);

// What the host's save costs when one setting changed: the shared instance, the writable store,
// the key's whole file.
void BM_SaveSharedAfterOneChange(benchmark::State& state) {
  Shared();
  VSetProfileFactoryGetter(&SharedFactory);
  GlobalConfig* config = nullptr;
  GetGlobalConfig(&config, 3);
  int value = 0;
  for (auto _ : state) {
    config->mruCount = (value++ % 16);
    benchmark::DoNotOptimize(SaveGlobalConfig(false));
  }
  config->Release();
  FreeGlobalConfig();
  VSetProfileFactoryGetter(nullptr);
}
BENCHMARK(BM_SaveSharedAfterOneChange);

void BM_ReadGlobalIniBytes(benchmark::State& state) {
  ReadAndDecodeFloor(state, Shared().folder + "/Global.ini");
}
BENCHMARK(BM_ReadGlobalIniBytes);

}  // namespace
