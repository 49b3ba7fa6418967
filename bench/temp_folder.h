// Where the benchmark programs make their files: $QUILLANE_BENCH_DIR when set (the runner points it
// at a tmpfs, so that the figures are the programs' own work and not the disk's), else /tmp.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <string>

namespace bench {

inline std::string MakeTempFolder(const std::string& prefix) {
  const char* base = getenv("QUILLANE_BENCH_DIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + prefix + "-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    // Every figure after this would be of a missing tree: stop rather than measure nothing.
    std::perror(("cannot make a folder like " + pattern).c_str());
    std::abort();
  }
  return pattern;
}

}  // namespace bench
