#include "platform/file_identity.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <memory>

#include "platform/file_system.h"

namespace vfs {

std::string ResolvedPath(const std::string& path) {
  std::string full;
  uint32_t error = 0;
  if (!FullPath(path, full, error)) return path;
  // The missing part cannot hold links, so the nearest existing ancestor decides.
  std::string existing = full;
  std::string rest;
  while (true) {
    std::unique_ptr<char, decltype(&free)> real(realpath(existing.c_str(), nullptr), &free);
    if (real) return rest.empty() ? std::string(real.get()) : JoinPath(real.get(), rest);
    if (existing == "/" || existing.empty()) return full;
    std::string name = BaseName(existing);
    rest = rest.empty() ? name : JoinPath(name, rest);
    existing = ParentFolder(existing);
  }
}

bool SameFileOrFolder(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  bool firstExists = stat(a.c_str(), &first) == 0;
  bool secondExists = stat(b.c_str(), &second) == 0;
  if (firstExists && secondExists)
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  if (firstExists != secondExists) return false;
  return ResolvedPath(a) == ResolvedPath(b);
}

}  // namespace vfs
