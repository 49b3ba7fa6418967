// Whether two paths lead to the same file or folder. Two spellings of one folder (a symbolic
// link to it, "DIR/.", another case on a case-insensitive disk) differ as text, and a store that
// took them for two folders would write one file over the other.
#pragma once

#include <string>

#include "platform/env.h"

namespace vfs {

// True when `a` and `b` are the same file or folder: by device and inode when both exist, else
// by their resolved paths (every symbolic link of the part that exists followed).
bool SameFileOrFolder(const std::string& a, const std::string& b, Env* env = Env::Default());

// `path` with the symbolic links of its longest existing part resolved and the rest appended as
// written; the path as given when even that cannot be told.
std::string ResolvedPath(const std::string& path, Env* env = Env::Default());

}  // namespace vfs
