// The module calls that the environment object does not carry: letting a module go and asking
// why the last module call failed. Opening a module and finding its symbols go through
// vfs::Env::OpenModule and FindSymbol.
#pragma once

#include <string>

namespace vmodule {

// Closes a module opened with OpenModule (null does nothing).
void Close(void* module);
// Why the last module call of this thread failed; empty when it did not.
std::string LastError();

}  // namespace vmodule
