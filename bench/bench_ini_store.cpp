// The INI folder store beside the plain file operations it is built from: reading a session,
// writing it back safely, and walking a tree of sessions.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "storage/text/text_file.h"
#include "temp_folder.h"

namespace {

// A session of thirty typical values.
void WriteSession(VProfileKey& key) {
  for (int i = 0; i < 20; ++i) {
    key.WriteString(U8("String Setting " + std::to_string(i)).c_str(), u"some typical text value");
  }
  for (int i = 0; i < 8; ++i) key.WriteDword(U8("Number " + std::to_string(i)).c_str(), 1000u + i);
  uint8_t block[96] = {};
  key.WriteBinary(u"Normal Font v2", block, sizeof block);
  key.WriteMultiSz(u"Keymap v4", VStringArray{u"VK_F1 MENU_HELP", u"VK_F2 MENU_NEW"});
}

struct Fixture {
  Fixture() : folder(bench::MakeTempFolder("quillane-bench")), factory(U8(folder)) {
    VProfileStore store(&factory);
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    for (int f = 0; f < 10; ++f) {
      VProfileKey group(sessions, U8("Folder" + std::to_string(f)).c_str());
      for (int s = 0; s < 100; ++s) {
        VProfileKey session(group, U8("host" + std::to_string(s)).c_str());
        WriteSession(session);
      }
    }
  }
  ~Fixture() {
    vfs::RemoveTree(folder).IgnoreError();
  }
  std::string folder;
  VIniFileStoreFactory factory;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_IniReadSession(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    VProfileStore store(true, &f.factory);
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    VProfileKey group(sessions, u"Folder3");
    VProfileKey session(group, u"host42");
    VUnicodeString value;
    benchmark::DoNotOptimize(session.ReadString(u"String Setting 7", value));
  }
}
BENCHMARK(BM_IniReadSession);

void BM_PeerRawReadAndDecode(benchmark::State& state) {
  Fixture& f = Shared();
  std::string path = f.folder + "/Sessions/Folder3/host42.ini";
  for (auto _ : state) {
    std::string bytes;
    auto file = vfs::File::OpenForReading(path);
    if (file) file->ReadAll(bytes).IgnoreError();
    benchmark::DoNotOptimize(VTextFile::Decode(bytes));
  }
}
BENCHMARK(BM_PeerRawReadAndDecode);

void BM_IniWriteSession(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    VProfileStore store(&f.factory);
    VProfileKey key(*store.GetRootKey(), u"Written");
    WriteSession(key);
    benchmark::DoNotOptimize(key.Flush());
  }
}
BENCHMARK(BM_IniWriteSession);

// The least a crash-safe write costs: the same bytes to a new file, fsync, rename.
void BM_PeerRawSafeWrite(benchmark::State& state) {
  Fixture& f = Shared();
  std::string bytes = [&] {
    std::string out;
    auto file = vfs::File::OpenForReading(f.folder + "/Sessions/Folder3/host42.ini");
    if (file) file->ReadAll(out).IgnoreError();
    return out;
  }();
  std::string path = f.folder + "/raw.ini";
  for (auto _ : state) {
    int fd = open((path + ".tmp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
    fsync(fd);
    close(fd);
    rename((path + ".tmp").c_str(), path.c_str());
  }
}
BENCHMARK(BM_PeerRawSafeWrite);

// Walks 1,000 sessions in 10 folders, asking each whether it is a session.
void BM_IniWalkSessionTree(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    VProfileStore store(true, &f.factory);
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    VProfileKeyIterator groups(sessions, false);
    VUnicodeString groupName;
    int count = 0;
    while (groups.Next(groupName)) {
      VProfileKey group(sessions, groupName.c_str());
      VProfileKeyIterator items(group, false);
      VUnicodeString name;
      while (items.Next(name)) {
        VProfileKey item(group, name.c_str());
        VDword isSession = 0;
        count += item.ReadDword(u"Is Session", isSession) ? 1 : 0;
      }
    }
    if (count != 1000) state.SkipWithError("wrong session count");
  }
}
BENCHMARK(BM_IniWalkSessionTree);

void BM_PeerRawWalk(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    std::vector<vfs::FolderEntry> groups;
    vfs::ListFolder(f.folder + "/Sessions", groups).IgnoreError();
    int count = 0;
    for (const auto& g : groups) {
      std::vector<vfs::FolderEntry> items;
      vfs::ListFolder(f.folder + "/Sessions/" + g.name, items).IgnoreError();
      for (const auto& item : items) count += vfs::Stat(f.folder + "/Sessions/" + g.name + "/" + item.name).exists;
    }
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(BM_PeerRawWalk);

}  // namespace
