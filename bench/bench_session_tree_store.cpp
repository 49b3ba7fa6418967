// The INI folder store over a large session tree, beside reading the same bytes and listing the
// same folders, and beside Qt's settings class loading the same content from its own files.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#ifdef QUILLANE_HAVE_QT
#include <QSettings>
#include <QStringList>
#endif

#include "session_tree.h"
#include "storage/ini/ini_file_store.h"
#include "storage/ini/ini_value_map.h"

namespace {

bench::SessionTree& Tree() {
  static bench::SessionTree* tree = [] {
    auto* t = new bench::SessionTree;
    bench::BuildSessionTree(*t);
    return t;
  }();
  return *tree;
}

void BM_RawReadEveryFile(benchmark::State& state) {
  auto& tree = Tree();
  std::vector<char> buffer(1 << 16);
  for (auto _ : state) {
    size_t total = 0;
    for (const auto& path : tree.files) {
      int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
      ssize_t n;
      while ((n = read(fd, buffer.data(), buffer.size())) > 0) total += static_cast<size_t>(n);
      close(fd);
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_RawReadEveryFile)->Unit(benchmark::kMillisecond);

// Every session key opened through the tree and its values loaded.
void BM_IniLoadEverySession(benchmark::State& state) {
  auto& tree = Tree();
  VIniFileStoreFactory factory(U8(tree.root));
  for (auto _ : state) {
    VProfileStore store(true, &factory);
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    size_t loaded = 0;
    for (int f = 0; f < 500; ++f) {
      VProfileKey folder(sessions, U8("Folder" + std::to_string(f)).c_str());
      for (int s = 0; s < 20; ++s) {
        VProfileKey session(folder, U8("host" + std::to_string(f * 20 + s)).c_str());
        VUnicodeString host;
        loaded += session.ReadString(u"Hostname", host) ? 1 : 0;
      }
    }
    if (loaded != tree.files.size()) state.SkipWithError("a session did not load");
  }
}
BENCHMARK(BM_IniLoadEverySession)->Unit(benchmark::kMillisecond);

// Reading one session's values from bytes already in memory: the store's own work.
void BM_IniParseOneSessionInMemory(benchmark::State& state) {
  std::string bytes = bench::SessionFileBytes(bench::SessionValues(42));
  for (auto _ : state) {
    VIniValueMap map;
    map.AddFile(bytes);
    benchmark::DoNotOptimize(map.Find(u"Hostname"));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_IniParseOneSessionInMemory);

void BM_ListFoldersAlone(benchmark::State& state) {
  auto& tree = Tree();
  for (auto _ : state) {
    size_t names = 0;
    std::vector<std::string> folders = {tree.root + "/Sessions"};
    folders.insert(folders.end(), tree.folders.begin(), tree.folders.end());
    for (const auto& folder : folders) {
      DIR* dir = opendir(folder.c_str());
      while (struct dirent* entry = readdir(dir)) names += entry->d_name[0] != '.';
      closedir(dir);
    }
    benchmark::DoNotOptimize(names);
  }
}
BENCHMARK(BM_ListFoldersAlone)->Unit(benchmark::kMillisecond);

// The session walk: sub-key iteration, and "Is Session" answered from the file's existence.
void BM_IniEnumerateTree(benchmark::State& state) {
  auto& tree = Tree();
  VIniFileStoreFactory factory(U8(tree.root));
  for (auto _ : state) {
    VProfileStore store(true, &factory);
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    size_t found = 0;
    VProfileKeyIterator folders(sessions, false);
    VUnicodeString folderName;
    while (folders.Next(folderName)) {
      VProfileKey folder(sessions, folderName.c_str());
      VProfileKeyIterator items(folder, false);
      VUnicodeString name;
      while (items.Next(name)) {
        VProfileKey item(folder, name.c_str());
        VDword isSession = 0;
        found += item.ReadDword(u"Is Session", isSession) ? 1 : 0;
      }
    }
    if (found != tree.files.size()) state.SkipWithError("wrong session count");
  }
}
BENCHMARK(BM_IniEnumerateTree)->Unit(benchmark::kMillisecond);

#ifdef QUILLANE_HAVE_QT
// The same sessions, written by Qt in its own INI format.
const std::vector<QString>& QtFiles() {
  static std::vector<QString> files = [] {
    auto& tree = Tree();
    std::vector<QString> out;
    std::string root = tree.root + "/qt";
    for (size_t i = 0; i < tree.files.size(); ++i) {
      QString path = QString::fromStdString(root + "/s" + std::to_string(i) + ".ini");
      QSettings settings(path, QSettings::IniFormat);
      for (const auto& value : bench::SessionValues(static_cast<int>(i))) {
        QString key = QString::fromStdU16String(value.name);
        switch (value.value.type) {
          case kProfileTypeDword: settings.setValue(key, value.value.dword); break;
          case kProfileTypeString: settings.setValue(key, QString::fromStdU16String(value.value.text)); break;
          case kProfileTypeBinary:
            settings.setValue(key, QByteArray(reinterpret_cast<const char*>(value.value.bytes.data()),
                                              static_cast<qsizetype>(value.value.bytes.size())));
            break;
          default: {
            QStringList list;
            for (const auto& item : value.value.list) list << QString::fromStdU16String(item);
            settings.setValue(key, list);
          }
        }
      }
      settings.sync();
      out.push_back(path);
    }
    return out;
  }();
  return files;
}

void BM_QSettingsLoadEverySession(benchmark::State& state) {
  const auto& files = QtFiles();
  for (auto _ : state) {
    size_t loaded = 0;
    for (const QString& path : files) {
      QSettings settings(path, QSettings::IniFormat);
      loaded += settings.value(QStringLiteral("Hostname")).isValid() ? 1 : 0;
    }
    if (loaded != files.size()) state.SkipWithError("a session did not load");
  }
}
BENCHMARK(BM_QSettingsLoadEverySession)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
