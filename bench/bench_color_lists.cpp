// The global configuration loaded from a Global.ini that holds 1,000 user colour schemes and
// 1,000 user palettes beside the built-ins, beside the raw read of the same file, and the
// schemes of that list read one by one (what an editor listing them does).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "read_floor.h"
#include "config/global/global_config_instance.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "storage/text/text_file.h"
#include "temp_folder.h"

namespace {

constexpr size_t kUserEntries = 1000;

struct Fixture {
  Fixture() {
    folder = bench::MakeTempFolder("quillane-bench-colors");
    factory = std::make_unique<VIniFileStoreFactory>(U8(folder));
    VProfileStore store(factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global", kProfileKeyCreate);
    GlobalConfig config(3);
    config.LoadFromKey(&key);
    for (size_t i = 0; i < kUserEntries; ++i) {
      VUnicodeString name = U8("User " + std::to_string(i));
      AnsiPaletteEntry palette{name, {}};
      for (size_t c = 0; c < kPaletteColorCount; ++c)
        palette.colors[c] = static_cast<VColor>((i * 7919 + c * 104729) & 0xFFFFFF);
      config.ansiPalettes.SetPalette(palette);
      ColorSchemeEntry scheme;
      scheme.name = name;
      scheme.paletteName = name;
      scheme.foregrounds.fill(static_cast<VColor>(i));
      scheme.backgrounds.fill(static_cast<VColor>(0xFFFFFF - i));
      config.colorSchemes.SetScheme(scheme);
    }
    config.Save(key, true);
  }
  ~Fixture() { vfs::RemoveTree(folder).IgnoreError(); }
  std::string folder;
  std::unique_ptr<VIniFileStoreFactory> factory;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_LoadGlobalWith1000Colors(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    VProfileStore store(true, fixture.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global");
    GlobalConfig config(3);
    config.LoadFromKey(&key);
    if (config.colorSchemes.GetCount() != kUserEntries + 22) state.SkipWithError("not loaded");
    benchmark::DoNotOptimize(config.ansiPalettes.GetCount());
  }
}
BENCHMARK(BM_LoadGlobalWith1000Colors);

void BM_ReadGlobalWith1000ColorsBytes(benchmark::State& state) {
  ReadAndDecodeFloor(state, Shared().folder + "/Global.ini");
}
BENCHMARK(BM_ReadGlobalWith1000ColorsBytes);

void BM_ParseAll1022Schemes(benchmark::State& state) {
  Fixture& fixture = Shared();
  VProfileStore store(true, fixture.factory.get());
  VProfileKey key(*store.GetRootKey(), u"Global");
  GlobalConfig config(3);
  config.LoadFromKey(&key);
  for (auto _ : state) {
    size_t read = 0;
    for (const VUnicodeString& entry : config.colorSchemes.Current())
      read += vcolors::ParseScheme(entry).has_value();
    if (read != kUserEntries + 22) state.SkipWithError("not read");
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_ParseAll1022Schemes);

}  // namespace
