// Where key map files are read and written: by the name given, else in the "keymaps" folder of
// the configuration folder.
#pragma once

#include <string>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

namespace vkeymap {

// The same name inside the "keymaps" folder of the configuration folder in use; empty when no
// configuration folder is known.
std::string KeymapFolderPath(const VUnicodeString& fileName);
// Reads the file by its name, else from the "keymaps" folder; never creates or truncates either.
bool ReadKeymapFile(const VUnicodeString& fileName, std::string& bytes, std::string& pathRead,
                    VReportMessageParams& report);
// The file a save replaces: the one of that name if it exists, else the one in the "keymaps"
// folder if that exists, else the name given.
std::string KeymapPathToWrite(const VUnicodeString& fileName);
// True when a key map of that name is there to be read (by its name or in the "keymaps" folder).
bool KeymapFileExists(const VUnicodeString& fileName);
bool WriteKeymapFile(const std::string& path, const std::string& bytes,
                     const VUnicodeString& fileName, VReportMessageParams& report);

}  // namespace vkeymap
