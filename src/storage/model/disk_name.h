// How a key's name and the name of its file or folder on disk correspond.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/unicode_string.h"

// The key name of `name`, a folder's name or a value file's name without its ".ini", found on
// disk among the entries `folder` of its parent folder. UTF-8 when it is valid, else each byte
// read as its Windows-1252 character, the way text files without a byte-order mark are read, so
// that names that differ on disk differ as keys (replacing the stray bytes would make them one).
// When that reading is also the name of another entry spelled in UTF-8 (without regard to case),
// each byte above 0x7F is given as a private-use character (U+F700 + byte, or below by steps of
// 0x100 while that is taken too) instead, so that the two never stand for one key.
// Keys are written under the UTF-8 form of their names; a key whose UTF-8 form is not on disk is
// looked for among the entries of its folder whose key name is its name.
std::u16string VKeyNameFromDisk(std::string_view name, const std::vector<vfs::FolderEntry>& folder);

// The name an entry of a folder stands for as a sub-key: a folder's own name, a value file's name
// without ".ini" (any case); empty for any other file.
std::string_view VSubKeyPartOfEntry(const vfs::FolderEntry& entry);
