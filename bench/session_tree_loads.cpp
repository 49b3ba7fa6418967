// The generated tree read three ways that several comparisons stand on: the raw bytes of every
// session file, the plain listing of every folder, and every session loaded through the INI store.
// Linked into each program that compares against them, so that each is defined once.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "session_tree.h"

namespace {

void BM_RawReadEveryFile(benchmark::State& state) {
  auto& tree = bench::SharedSessionTree().tree;
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

void BM_ListFoldersAlone(benchmark::State& state) {
  auto& tree = bench::SharedSessionTree().tree;
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

// Every session key opened through the tree and its values loaded.
void BM_IniLoadEverySession(benchmark::State& state) {
  auto& shared = bench::SharedSessionTree();
  for (auto _ : state) {
    VProfileStore store(true, shared.factory.get());
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
    if (loaded != shared.tree.files.size()) state.SkipWithError("a session did not load");
  }
}
BENCHMARK(BM_IniLoadEverySession)->Unit(benchmark::kMillisecond);

}  // namespace
