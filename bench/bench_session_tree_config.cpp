// Sessions as configuration objects over a large tree (the store's plain load they are compared
// with is in session_tree_loads.cpp, linked in beside); listing folders in display order; and the
// connect bar's search beside a plain scan of every path.
#include <benchmark/benchmark.h>

#include "config/database/connect_bar_auto_complete.h"
#include "config/session/session_config.h"
#include "config/database/session_database.h"
#include "config/session/session_store.h"
#include "session_tree.h"
#include "storage/ini/ini_file_store.h"

namespace {

// The shared tree, with an item database whose folder cache the warm search relies on.
struct Fixture {
  Fixture()
      : tree(bench::SharedSessionTree().tree),
        factory(bench::SharedSessionTree().factory.get()),
        database(std::make_unique<SessionDatabase>(factory)) {}
  bench::SessionTree& tree;
  VIniFileStoreFactory* factory;
  std::unique_ptr<SessionDatabase> database;
};

Fixture& Shared() {
  static Fixture* fixture = new Fixture;
  return *fixture;
}

void BM_OpenEverySessionConfig(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    size_t opened = 0;
    for (const auto& path : f.tree.paths) {
      VReportMessageParams error;
      SessionConfig* session = OpenSessionByPath(VUnicodeString(path), error, f.factory);
      if (session) {
        ++opened;
        session->Release();
      }
    }
    if (opened != f.tree.paths.size()) state.SkipWithError("a session did not open");
  }
}
BENCHMARK(BM_OpenEverySessionConfig)->Unit(benchmark::kMillisecond);

// A fresh database each time: every folder's listing is read from the store.
void BM_ListEveryFolderInDisplayOrder(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    SessionDatabase database(f.factory);
    VStringArray folders;
    database.ListFolders(u"", folders);
    size_t sessions = 0;
    for (const auto& folder : folders) {
      VStringArray names;
      database.ListSessions(folder, names);
      sessions += names.GetSize();
    }
    if (sessions != f.tree.paths.size()) state.SkipWithError("wrong session count");
  }
}
BENCHMARK(BM_ListEveryFolderInDisplayOrder)->Unit(benchmark::kMillisecond);

const char16_t* const kTexts[] = {u"", u"7", u"42", u"st123"};

void BM_FindWarm(benchmark::State& state) {
  Fixture& f = Shared();
  VUnicodeString text = kTexts[state.range(0)];
  ConnectBarAutoCompleteDataSource::Search(f.database.get(), text);  // the cache is warm
  size_t matches = 0;
  for (auto _ : state) matches = ConnectBarAutoCompleteDataSource::Search(f.database.get(), text).GetSize();
  state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_FindWarm)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// The least a search can do: every path in memory, each name lowered and searched.
void BM_PlainSubstringScan(benchmark::State& state) {
  Fixture& f = Shared();
  std::u16string text = kTexts[state.range(0)];
  size_t matches = 0;
  for (auto _ : state) {
    matches = 0;
    for (const auto& path : f.tree.paths) {
      std::u16string lowered(path.substr(path.rfind(u'\\') + 1));
      for (char16_t& c : lowered) c = vtext::FoldCase(c);
      matches += lowered.find(text) != std::u16string::npos;
    }
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_PlainSubstringScan)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
