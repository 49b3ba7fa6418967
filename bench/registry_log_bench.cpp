// Costs of the registry store (every write reaches the disk, every read looks at it) and of
// appending records to a log destination.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <string>

#include "report/log_w3c_destination.h"
#include "storage/registry/registry_shared_factory.h"

namespace {

std::string MakeTempFolder() {
  std::string pattern = "/tmp/quillane-bench-XXXXXX";
  if (!mkdtemp(pattern.data())) abort();
  return pattern;
}

void RemoveFolder(const std::string& folder) {
  vfs::RemoveTree(folder).IgnoreError();
}

void BM_RegistryWriteDword(benchmark::State& state) {
  std::string root = MakeTempFolder();
  setenv("QUILLANE_REGISTRY_ROOT", root.c_str(), 1);
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane\\Karvell");
  VProfileStore store(&factory);
  VProfileKey& key = *store.GetRootKey();
  for (int i = 0; i < 10; ++i)
    key.WriteString(vtext::FromUtf8("Value " + std::to_string(i)).c_str(), u"text");
  VDword n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(key.WriteDword(u"Counter", ++n));
  RemoveFolder(root);
}
BENCHMARK(BM_RegistryWriteDword);

void BM_RegistryReadString(benchmark::State& state) {
  std::string root = MakeTempFolder();
  setenv("QUILLANE_REGISTRY_ROOT", root.c_str(), 1);
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane\\Karvell");
  VProfileStore store(&factory);
  VProfileKey& key = *store.GetRootKey();
  for (int i = 0; i < 10; ++i)
    key.WriteString(vtext::FromUtf8("Value " + std::to_string(i)).c_str(), u"text");
  VUnicodeString value;
  for (auto _ : state) benchmark::DoNotOptimize(key.ReadString(u"Value 9", value));
  RemoveFolder(root);
}
BENCHMARK(BM_RegistryReadString);

void BM_RegistryOpenNestedKey(benchmark::State& state) {
  std::string root = MakeTempFolder();
  setenv("QUILLANE_REGISTRY_ROOT", root.c_str(), 1);
  VRegistryStoreFactory factory(VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane");
  {
    VProfileStore store(&factory);
    VProfileKey karvell(*store.GetRootKey(), u"Karvell");
  }
  for (auto _ : state) {
    VProfileStore store(true, &factory);
    VProfileKey karvell(*store.GetRootKey(), u"Karvell");
    benchmark::DoNotOptimize(karvell.CanWrite());
  }
  RemoveFolder(root);
}
BENCHMARK(BM_RegistryOpenNestedKey);

void BM_W3CLogRecord(benchmark::State& state) {
  std::string root = MakeTempFolder();
  VSimpleReportRouter router;
  VW3CFileDestination destination(u"bench", &router, u"", u"", 0, false);
  destination.OpenFile(VUnicodeString::FromUtf8(root + "/bench.log"));
  VW3CLogEvent event;
  event.clientAddress = u"10.0.0.5";
  event.uriStem = u"/home/ada/some file.txt";
  event.message = u"Transfer complete";
  for (auto _ : state) destination.Log(event);
  destination.CloseFile();
  RemoveFolder(root);
}
BENCHMARK(BM_W3CLogRecord);

}  // namespace
