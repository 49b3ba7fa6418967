// The host loads the protocol modules of its product from its own folder, once, for the
// commands that work with a session's protocol settings. Other commands never pay for it.
#pragma once

#include "quillane/cli.h"

namespace cli {

// Loads the modules the first time it is called. A module that fails is reported on standard
// error as a warning; the command goes on with the protocols that loaded.
void LoadHostProtocolModules();

}  // namespace cli
