// Where the command line finds the configuration: the options, else as a host finds it.
#pragma once

#include <string>

#include "quillane/cli.h"

namespace cli {
// The configuration folder as a host finds it at start-up: --config, else $QUILLANE_CONFIG, else
// the application's remembered "Config Path", else $XDG_CONFIG_HOME/Tolvane/<App>/Config; as a
// full path. `how` names the source.
std::string ResolveConfigFolder(const Options& options, std::string& how);
// Fills the context's store kind, location and how it was found, and makes the configuration
// folder the one in use (the folder behind ${TLV_CONFIG_PATH}).
void ResolveStoreLocation(Context& context);
// Makes a folder named by --config (or the folder of --xml) the one in use before the library is
// set up; ResolveStoreLocation settles the rest.
void NoteConfigFolderEarly(const Options& options);
}  // namespace cli
