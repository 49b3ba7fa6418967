#pragma once

#include <ostream>

#include "quillane/cli.h"

namespace cli {
void PrintUsage(std::ostream& out);
void PrintCommandUsage(std::ostream& out, const Command& command);
// `quillane` without a command: what configuration is in use and what it holds.
int RunOverview(Context& context);
}  // namespace cli
