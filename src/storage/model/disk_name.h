// How a key's name and the name of its file or folder on disk correspond.
#pragma once

#include <string>
#include <string_view>

#include "platform/unicode_string.h"

// A name found on disk as a key's name: UTF-8 when it is valid, else each byte as its
// Windows-1252 character, the way text files without a byte-order mark are read. Names that
// differ on disk thus differ as keys, where replacing the stray bytes would have made them one.
// Keys are written under the UTF-8 form of their names; a key whose UTF-8 form is not on disk is
// looked for among the entries of its folder whose names read as its name.
inline std::u16string VKeyNameFromDisk(std::string_view name) { return vtext::FromNarrow(name); }
