// The two registry hives the library uses and the folders that hold them. A hive is a folder tree
// in the key layout of the INI store: key K is the folder K and the value file K.ini beside it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/unicode_string.h"

enum class VRegistryHive { CurrentUser, LocalMachine };

// The folder of a hive, taken from the environment at each call: $QUILLANE_REGISTRY_ROOT/HKCU or
// /HKLM when that variable is set, else $XDG_CONFIG_HOME/Tolvane/registry for the current user
// and /etc/xdg/Tolvane/registry for the machine.
std::string VRegistryHiveFolder(VRegistryHive hive);

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
const char* VRegistryHiveName(VRegistryHive hive);
// Accepts HKCU, HKLM, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE in any case.
bool VParseRegistryHive(std::string_view text, VRegistryHive& hive);

// Splits a key path ("SOFTWARE\Tolvane") into its levels; empty levels are skipped, so an empty
// path is the root of the hive.
std::vector<VUnicodeString> VSplitRegistryPath(std::u16string_view path);
