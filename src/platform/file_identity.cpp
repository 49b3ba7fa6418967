#include "platform/file_identity.h"

#include "platform/file_system.h"

namespace vfs {

std::string ResolvedPath(const std::string& path, Env* env) {
  auto full = FullPath(path, env);
  if (!full) return path;
  // The missing part cannot hold links, so the nearest existing ancestor decides.
  std::string existing = *full;
  std::string rest;
  while (true) {
    if (auto real = env->RealPath(existing))
      return rest.empty() ? *real : JoinPath(*real, rest);
    if (existing == "/" || existing.empty()) return *full;
    std::string name = BaseName(existing);
    rest = rest.empty() ? name : JoinPath(name, rest);
    existing = ParentFolder(existing);
  }
}

bool SameFileOrFolder(const std::string& a, const std::string& b, Env* env) {
  auto first = env->Stat(a);
  auto second = env->Stat(b);
  if (first && second) return first->device == second->device && first->inode == second->inode;
  if (static_cast<bool>(first) != static_cast<bool>(second)) return false;
  return ResolvedPath(a, env) == ResolvedPath(b, env);
}

}  // namespace vfs
