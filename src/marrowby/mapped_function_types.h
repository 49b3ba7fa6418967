// The display names of the categories of actions a key can be mapped to, in the order the key
// map editor lists them (send string, menu, scroll bar, Telnet, TN3270, VT, SSH functions, set
// button bar, run script, launch application, disable).
#pragma once

#include <QString>

QString GetMappedFunctionType(int index);  // empty outside 0 .. size - 1
int GetMappedFunctionTypesSize();
