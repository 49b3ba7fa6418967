// Where a host finds its configuration: the store its options name, else the configuration folder
// as a starting host finds it. Shared by the command line and the graphical host, so that both
// open the same configuration for the same options.
#pragma once

#include <memory>
#include <string>

#include "storage/model/profile_store.h"

namespace host {

enum class StoreKind { IniFolder, XmlFile, Registry };

// What the user named on the command line (empty: not named).
struct StoreOptions {
  std::string config;    // --config DIR
  std::string xml;       // --xml FILE
  std::string registry;  // --registry HKCU|HKLM
  std::string personal;  // --personal DIR
  std::string app = "Karvell";
};

struct StoreLocation {
  StoreKind kind = StoreKind::IniFolder;
  std::string location;  // the folder, the settings file, or "HKCU"/"HKLM"
  std::string foundHow;  // "--config", "QUILLANE_CONFIG", "remembered Config Path", "default", ...
  std::string personal;  // the personal data folder in use (empty: none)
};

// The configuration folder as a host finds it at start-up: --config, else $QUILLANE_CONFIG, else
// the application's remembered "Config Path", else $XDG_CONFIG_HOME/Tolvane/<App>/Config; as a
// full path. `how` names the source.
std::string ResolveConfigFolder(const StoreOptions& options, std::string& how);
// Makes a folder named by --config (or the folder of --xml) the one in use before the library is
// set up, so that the passphrase cache is opened for it at once.
void NoteConfigFolderEarly(const StoreOptions& options);
// Settles the store the options name and makes its folder the one in use (the folder behind
// ${TLV_CONFIG_PATH}). False, with a message naming the option at fault, when the options
// contradict each other.
bool ResolveStoreLocation(const StoreOptions& options, StoreLocation& location, std::string& error);
// The factory of the store at `location`.
std::unique_ptr<VProfileStoreFactory> MakeStoreFactory(const StoreLocation& location);
// A settings file that cannot be read (not XML, not a settings file) reads as an empty store; a
// host says so instead of working on nothing. False with the reason when the store is unusable.
bool CheckStoreReadable(const StoreLocation& location, VProfileStore& store,
                        VReportMessageParams& error);

}  // namespace host
