// Finding what would stop a removal, so that a caller can name it and refuse before anything of
// a tree is gone.
#pragma once

#include <string>

#include "platform/env.h"

namespace vfs {

// The first entry of the tree at `path` (a file or a folder with everything in it) that
// RemoveTree would not remove: a read-only file, or a folder whose entries this user may not
// change. Symbolic links are not followed (the link goes, not what it points to). Empty when the
// whole tree may go, or when `path` does not exist.
std::string FirstUnremovableEntry(const std::string& path, Env* env = Env::Default());

}  // namespace vfs
