// Starting another program that runs on by itself: the caller does not wait for it, and it is
// not left behind as a zombie of the caller when it ends.
#pragma once

#include <string>
#include <vector>

#include "platform/status.h"

namespace vproc {

// Starts `program` (searched on PATH when it has no slash) with `arguments`, in a session of its
// own. Fails, with the reason, when the program cannot be started (missing, not executable).
VStatus LaunchDetached(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace vproc
