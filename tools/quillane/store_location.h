// Where the command line finds the configuration: the options, else as a host finds it.
#pragma once

#include "quillane/cli.h"

namespace cli {
// Fills the context's store kind, location and how it was found.
void ResolveStoreLocation(Context& context);
}
