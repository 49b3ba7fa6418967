// Finding a file or folder by name the way the configuration folder finds its keys: the exact
// name first, then a name that differs only in case (folders copied from a system that ignores
// case).
#pragma once

#include <string>

// The path of the entry of `folder` called `name`, or empty when there is none of that kind.
std::string VFindFolderEntry(const std::string& folder, const std::string& name, bool wantFolder);
