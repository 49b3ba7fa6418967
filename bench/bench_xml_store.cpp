// The XML settings file store on a large file: 10,000 sessions of 20 typical values each, read
// and written whole, next to the plain read of the same bytes and to xmllint checking it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "storage/text/text_file.h"
#include "storage/xml/xml_document.h"
#include "storage/xml/xml_file_store.h"
#include "child_process.h"
#include "temp_folder.h"

namespace {

constexpr int kSessions = 10000;

// A hundred folders of a hundred sessions.
std::u16string SessionName(int i) {
  return u"Sessions/Lab" + vtext::FormatHex(i / 100, 2) + u"/host" + vtext::FormatHex(i, 4);
}

// Twenty values a saved terminal session typically holds.
void WriteSession(VProfileKey& key, int i) {
  std::u16string host = u"host" + vtext::FormatHex(i, 4) + u".example.com";
  key.WriteString(u"Hostname", host.c_str());
  key.WriteString(u"Username", u"operator");
  key.WriteString(u"Protocol Name", u"SSH2");
  key.WriteString(u"Emulation", u"Xterm");
  key.WriteString(u"Keyword Set", u"Default & <errors>");
  key.WriteString(u"Password V2",
                  u"02:8f3a91c2d4e5f60718293a4b5c6d7e8f90a1b2c3d4e5f60718293a4b5c6d7e8f90a1b2c3d4e5");
  key.WriteString(u"Log File Name", u"${TLV_USER_DATA_PATH}/logs/%H-%Y%M%D.log");
  key.WriteString(u"Description", u"Core router in the lab, rack 4");
  key.WriteString(u"Firewall Name", u"None");
  key.WriteString(u"Color Scheme", u"Traditional");
  key.WriteDword(u"Is Session", 1);
  key.WriteDword(u"[SSH2] Port", 22);
  key.WriteDword(u"Rows", 24);
  key.WriteDword(u"Cols", 80);
  key.WriteDword(u"Scrollback", 500);
  key.WriteDword(u"Session Filter Delay", 250);
  std::vector<uint8_t> font(96, 0x41);
  key.WriteBinary(u"Normal Font v2", font.data(), static_cast<VDword>(font.size()));
  std::vector<uint8_t> placement(44, 0x07);
  key.WriteBinary(u"Window Placement", placement.data(), static_cast<VDword>(placement.size()));
  key.WriteMultiSz(u"Login Script V3", VStringArray{u"expect login:", u"send operator", u"expect $"});
  key.WriteMultiSz(u"Port Forward Table V2", VStringArray{u"web|127.0.0.1|8080|host|80|"});
}

struct Fixture {
  std::string folder;
  std::string path;
  size_t size = 0;
};

const Fixture& LargeFile() {
  // Never destroyed, so that the clean-up at exit can still name the folder.
  static const Fixture* fixture = [] {
    auto* f = new Fixture;
    f->folder = bench::MakeTempFolder("quillane-bench-xml");
    f->path = f->folder + "/settings.xml";
    {
      VXmlFileStoreFactory factory(VUnicodeString::FromUtf8(f->path));
      VProfileStore store(&factory);
      for (int i = 0; i < kSessions; ++i) {
        VProfileKey key(*store.GetRootKey(), SessionName(i).c_str(), kProfileKeyCreate);
        WriteSession(key, i);
      }
      if (!store.GetRootKey()->Flush()) std::abort();
    }
    f->size = static_cast<size_t>(vfs::Stat(f->path).size);
    std::atexit([] {
      vfs::RemoveTree(LargeFile().folder).IgnoreError();
    });
    return f;
  }();
  return *fixture;
}

void Report(benchmark::State& state, const Fixture& f) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.size));
  state.counters["file_MB"] = static_cast<double>(f.size) / 1e6;
}

// The floor: the bytes of the file under the shared lock, nothing else.
void BM_ReadFileRaw(benchmark::State& state) {
  const Fixture& f = LargeFile();
  for (auto _ : state) {
    std::string bytes;
    if (!VTextFile::ReadLocked(f.path, bytes).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  Report(state, f);
}
BENCHMARK(BM_ReadFileRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

// Parsing only (bytes already in memory): decode check, nesting scan, parse, layout checks.
void BM_ParseFromMemory(benchmark::State& state) {
  const Fixture& f = LargeFile();
  std::string bytes;
  VTextFile::ReadLocked(f.path, bytes).IgnoreError();
  for (auto _ : state) {
    VRef<VXmlFileKey::XmlDocument> document(new VXmlFileKey::XmlDocument(f.path, 0, true));
    if (!document->LoadFromBytes(bytes)) state.SkipWithError("parse failed");
  }
  Report(state, f);
}
BENCHMARK(BM_ParseFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a store does when a key first needs the file: read it under the lock and parse it.
void BM_LoadWhole(benchmark::State& state) {
  const Fixture& f = LargeFile();
  VXmlFileStoreFactory factory(VUnicodeString::FromUtf8(f.path));
  for (auto _ : state) {
    VProfileStore store(true, &factory);
    if (store.GetRootKey()->CanWrite() || store.GetRootKey()->GetLastError().IsError())
      state.SkipWithError("load failed");
  }
  Report(state, f);
}
BENCHMARK(BM_LoadWhole)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loading, then opening every session by its path and reading one value of it.
void BM_LoadAndReadEverySession(benchmark::State& state) {
  const Fixture& f = LargeFile();
  VXmlFileStoreFactory factory(VUnicodeString::FromUtf8(f.path));
  for (auto _ : state) {
    VProfileStore store(true, &factory);
    for (int i = 0; i < kSessions; ++i) {
      VProfileKey key(*store.GetRootKey(), SessionName(i).c_str());
      VDword port = 0;
      if (!key.ReadDword(u"[SSH2] Port", port)) state.SkipWithError("value missing");
    }
  }
  Report(state, f);
}
BENCHMARK(BM_LoadAndReadEverySession)->Unit(benchmark::kMillisecond)->UseRealTime();

// Printing the whole document to text (no file).
void BM_PrintWhole(benchmark::State& state) {
  const Fixture& f = LargeFile();
  std::string bytes;
  VTextFile::ReadLocked(f.path, bytes).IgnoreError();
  VRef<VXmlFileKey::XmlDocument> document(new VXmlFileKey::XmlDocument(f.path, 0, true));
  document->LoadFromBytes(bytes);
  for (auto _ : state) benchmark::DoNotOptimize(document->Print());
  Report(state, f);
}
BENCHMARK(BM_PrintWhole)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loading, changing one value and writing the whole file back (print, temporary file, fsync,
// rename under the exclusive lock).
void BM_LoadChangeWriteWhole(benchmark::State& state) {
  const Fixture& f = LargeFile();
  VXmlFileStoreFactory factory(VUnicodeString::FromUtf8(f.path));
  VDword counter = 0;
  for (auto _ : state) {
    VProfileStore store(&factory);
    store.GetRootKey()->WriteDword(u"Bench Counter", ++counter);
    if (!store.GetRootKey()->Flush()) state.SkipWithError("write failed");
  }
  Report(state, f);
}
BENCHMARK(BM_LoadChangeWriteWhole)->Unit(benchmark::kMillisecond)->UseRealTime();

// Runs xmllint over `path` at each iteration; its processor time is counted as the child's.
void RunXmllint(benchmark::State& state, const std::string& folder, const std::string& path) {
  std::vector<std::string> argv = {"/usr/bin/xmllint", "--noout", path};
  double cpu = 0;
  for (auto _ : state) {
    bench::ChildRun run = bench::RunChild(argv, folder + "/xmllint.out");
    cpu += run.cpuSeconds;
    if (!run.started) return state.SkipWithError("xmllint could not be started");
    if (run.status != 0) return state.SkipWithError("xmllint failed");
  }
  state.counters["child_cpu_seconds"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

// The same file checked by xmllint (libxml2), started as a program as a user would run it.
void BM_XmllintNoout(benchmark::State& state) {
  const Fixture& f = LargeFile();
  RunXmllint(state, f.folder, f.path);
  Report(state, f);
}
BENCHMARK(BM_XmllintNoout)->Unit(benchmark::kMillisecond)->UseRealTime();

// Starting xmllint on an empty settings file: the part of the figure above that is not parsing.
void BM_XmllintStartOnly(benchmark::State& state) {
  const Fixture& f = LargeFile();
  std::string tiny = f.folder + "/tiny.xml";
  vfs::ReplaceFileContents(tiny, "<Tolvane/>", vfs::ReplaceOptions()).IgnoreError();
  RunXmllint(state, f.folder, tiny);
}
BENCHMARK(BM_XmllintStartOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
