// A configuration object the size of the global configuration (300 settings: numbers, strings,
// structures) loaded from, listed and saved to an INI folder through its member table, beside
// reading and writing the same values one by one without it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "storage/values/profile_values.h"
#include "temp_folder.h"

namespace {

constexpr size_t kNumbers = 200;
constexpr size_t kStrings = 80;
constexpr size_t kPlacements = 20;

// Stored names with static storage, as a table's string literals have.
template <size_t N>
struct Names {
  Names(const char* prefix) {
    for (size_t i = 0; i < N; ++i) text[i] = U8(prefix + std::to_string(i));
  }
  std::array<VUnicodeString, N> text;
};
const Names<kNumbers> kNumberNames("Number Setting ");
const Names<kStrings> kStringNames("String Setting ");
const Names<kPlacements> kPlacementNames("Placement Setting ");

class BigConfig : public VProfileComposite {
 public:
  std::array<VProfile<int>, kNumbers> numbers;
  std::array<VProfileString, kStrings> strings;
  std::array<VProfileWindowPlacement, kPlacements> placements;

  const VMemberTable& GetMemberTable() const override { return MemberTable(); }
  static const VMemberTable& MemberTable() {
    static const VMemberTable table(Rows());
    return table;
  }

 private:
  template <size_t... I>
  static void AddNumbers(std::vector<VMemberRow>& rows, std::index_sequence<I...>) {
    (rows.push_back(QL_ROW(BigConfig, numbers[I], kNumberNames.text[I].c_str(), I)), ...);
  }
  template <size_t... I>
  static void AddStrings(std::vector<VMemberRow>& rows, std::index_sequence<I...>) {
    (rows.push_back(QL_ROW(BigConfig, strings[I], kStringNames.text[I].c_str(), u"default")), ...);
  }
  template <size_t... I>
  static void AddPlacements(std::vector<VMemberRow>& rows, std::index_sequence<I...>) {
    (rows.push_back(QL_ROW(BigConfig, placements[I], kPlacementNames.text[I].c_str())), ...);
  }
  static std::vector<VMemberRow> Rows() {
    std::vector<VMemberRow> rows;
    AddNumbers(rows, std::make_index_sequence<kNumbers>());
    AddStrings(rows, std::make_index_sequence<kStrings>());
    AddPlacements(rows, std::make_index_sequence<kPlacements>());
    return rows;
  }
};

struct Fixture {
  Fixture() {
    folder = bench::MakeTempFolder("quillane-bench");
    factory = std::make_unique<VIniFileStoreFactory>(U8(folder));
    VProfileStore store(factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global", kProfileKeyCreate);
    BigConfig config;
    config.Load(&key);
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

void BM_MemberTableLoad(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    VProfileStore store(true, f.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global");
    BigConfig config;
    config.Load(&key, 3);
    benchmark::DoNotOptimize(config.numbers[7].current);
  }
}
BENCHMARK(BM_MemberTableLoad);

// The same reads without the table: the cost the table adds is the difference.
void BM_PlainReads(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    VProfileStore store(true, f.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global");
    VDword number = 0;
    VUnicodeString text;
    uint8_t block[44];
    for (const auto& name : kNumberNames.text) key.ReadDword(name.c_str(), number);
    for (const auto& name : kStringNames.text) key.ReadString(name.c_str(), text);
    for (const auto& name : kPlacementNames.text) {
      VDword size = sizeof block;
      key.ReadBinary(name.c_str(), block, size);
    }
    benchmark::DoNotOptimize(number);
  }
}
BENCHMARK(BM_PlainReads);

void BM_MemberTableSaveUnchanged(benchmark::State& state) {
  Fixture& f = Shared();
  VProfileStore store(true, f.factory.get());
  VProfileKey key(*store.GetRootKey(), u"Global");
  BigConfig config;
  config.Load(&key, 3);
  for (auto _ : state) benchmark::DoNotOptimize(config.Save(key, false));
}
BENCHMARK(BM_MemberTableSaveUnchanged);

void BM_MemberTableListAndFind(benchmark::State& state) {
  BigConfig config;
  config.Load(nullptr, 3);
  for (auto _ : state) {
    benchmark::DoNotOptimize(config.ListSettings().size());
    benchmark::DoNotOptimize(config.FindMember(u"placement setting 19"));
  }
}
BENCHMARK(BM_MemberTableListAndFind);

void BM_MemberTableSaveForcedToDisk(benchmark::State& state) {
  Fixture& f = Shared();
  BigConfig config;
  config.Load(nullptr, 3);
  for (auto _ : state) {
    VProfileStore store(f.factory.get());
    VProfileKey key(*store.GetRootKey(), u"Global", kProfileKeyCreate);
    config.Save(key, true);
    benchmark::DoNotOptimize(key.Flush());
  }
}
BENCHMARK(BM_MemberTableSaveForcedToDisk);

}  // namespace
