// The INI folder store over a large session tree: parsing one session, walking the tree, and Qt's
// settings class loading the same content from its own files. Reading the same bytes, listing
// the same folders and the store's own load are in session_tree_loads.cpp, linked in beside.
#include <benchmark/benchmark.h>

#ifdef QUILLANE_HAVE_QT
#include <QSettings>
#include <QStringList>
#endif

#include "config/database/folder_data.h"
#include "session_tree.h"
#include "storage/ini/ini_file_store.h"
#include "storage/ini/ini_value_map.h"

namespace {

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

// The session walk: sub-key iteration, and "Is Session" answered from the file's existence.
void BM_IniEnumerateTree(benchmark::State& state) {
  auto& shared = bench::SharedSessionTree();
  for (auto _ : state) {
    VProfileStore store(true, shared.factory.get());
    VProfileKey sessions(*store.GetRootKey(), u"Sessions");
    size_t found = 0;
    VProfileKeyIterator folders(sessions, false);
    VUnicodeString folderName;
    while (folders.Next(folderName)) {
      VProfileKey folder(sessions, folderName.c_str());
      VProfileKeyIterator items(folder, false);
      VUnicodeString name;
      while (items.Next(name)) {
        if (IsFolderDataName(name)) continue;  // the folder's display order, as the walk skips it
        VProfileKey item(folder, name.c_str());
        VDword isSession = 0;
        found += item.ReadDword(u"Is Session", isSession) ? 1 : 0;
      }
    }
    if (found != shared.tree.files.size())
      state.SkipWithError(("found " + std::to_string(found) + " sessions").c_str());
  }
}
BENCHMARK(BM_IniEnumerateTree)->Unit(benchmark::kMillisecond);

#ifdef QUILLANE_HAVE_QT
// The same sessions, written by Qt in its own INI format.
const std::vector<QString>& QtFiles() {
  static std::vector<QString> files = [] {
    auto& tree = bench::SharedSessionTree().tree;
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
