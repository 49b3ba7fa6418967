// What the library knows of the running application and the user: the application name the host
// gives, the user's folders, and the folders behind the path variables.
#pragma once

#include <cstdint>
#include <string>

#include "platform/unicode_string.h"

// The host application's name ("Karvell", "Lumbrel", ...): the usual %1 of messages.
VUnicodeString VGetAppName();
void VSetAppName(const VUnicodeString& name);

// The product id worked out from the application name at start-up (-1 until then). It is kept
// here, below every layer that needs it, and set by the environment layer.
int VGetDerivedProductId();
void VSetDerivedProductId(int productId);

// Counts the changes of the application name, the configuration folder in use and the program's
// folder, so that what is worked out from them is kept until one of them changes.
uint64_t VAppInfoGeneration();

namespace vapp {

std::string GetEnv(const char* name);  // empty when unset
std::string HomeFolder();
std::string XdgConfigHome();  // $XDG_CONFIG_HOME, else ~/.config
std::string XdgDataHome();    // $XDG_DATA_HOME, else ~/.local/share
std::string UserName();       // the login name
std::string HostName();
std::string ExecutableFolder();  // folder of the running program
void SetExecutableFolder(const std::string& folder);  // for hosts that run from elsewhere

// The configuration folder in use, set by whoever settled it at start-up.
void SetConfigFolderInUse(const VUnicodeString& folder);

}  // namespace vapp

// The folders behind ${TLV_CONFIG_PATH}, ${TLV_INSTALL_PATH}, ${TLV_USER_DATA_PATH} and
// ${TLV_SSH_DATA_PATH}.
VUnicodeString GetTlvConfigPathSub();
VUnicodeString GetTlvInstallPathSub();
VUnicodeString GetTlvUserDataPathSub();
VUnicodeString GetTlvSshDataPathSub();
