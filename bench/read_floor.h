// The floor a settings load is held against: reading the file under its lock and decoding its
// text, with nothing parsed. One loop, so every benchmark's floor does the same work.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "storage/text/text_file.h"

inline void ReadAndDecodeFloor(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::string bytes;
    if (!VTextFile::ReadLocked(path, bytes).ok()) state.SkipWithError("read failed");
    std::u16string text = VTextFile::Decode(bytes);
    benchmark::DoNotOptimize(text.data());
  }
}
