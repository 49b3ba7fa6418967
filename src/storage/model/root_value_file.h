// Where the folder stores keep the values of their root key.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/unicode_string.h"

// The root key's value file lives inside the store's own folder, so that writing it never
// touches a folder the store does not own (beside a configuration folder at "/", or beside a
// hive). The name is the one a sub-key with the empty name would have, which no store accepts,
// and listings pass over a file of that name; the one sub-key that could still meet it, a folder
// of that very name, is refused (IsReservedKeyName).
inline constexpr char kRootValueFileName[] = ".ini";

inline std::string RootValueFile(const std::string& folder) {
  return vfs::JoinPath(folder, kRootValueFileName);
}
// Where older versions kept the root key's values, beside the folder: still read while the file
// inside does not exist.
inline std::string FormerRootValueFile(const std::string& folder) { return folder + ".ini"; }

// A sub-key name that would stand for the root key's value file (in any case, for folders
// copied from a case-insensitive disk).
inline bool IsReservedKeyName(std::u16string_view name) {
  return vtext::EqualsNoCase(name, std::u16string_view(u".ini"));
}
