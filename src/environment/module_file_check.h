// Whether a module file may be loaded: loading runs its code in this process, so the file and
// every folder above it must be beyond the reach of other users. A file that another user can
// write or replace (through its folder, or a folder above that) is refused.
#pragma once

#include <cstdint>
#include <string>

#include "platform/env.h"
#include "platform/unicode_string.h"

// Why a module file was refused: a catalogue message id and the path it concerns.
struct ModuleFileProblem {
  uint32_t messageId = 0;  // 0: the file may be loaded
  std::string path;        // the file or folder at fault
};

// Messages of the refusals (the text of each says why the file is not loaded).
constexpr uint32_t kMsgModuleNotAbsolute = 0xE137000A;     // %1 path
constexpr uint32_t kMsgModuleNotRegularFile = 0xE137000B;  // %1 path
constexpr uint32_t kMsgModuleWritableByOthers = 0xE137000C;  // %1 file or folder
constexpr uint32_t kMsgModuleForeignOwner = 0xE137000D;      // %1 file or folder

// Checks `path` (absolute): the file resolved through its links must be a regular file; it and
// each folder from its own up to the root must belong to the current user or to root and must
// not be writable by group or others. A folder above the module's own that everyone may write
// is accepted when its sticky bit is set and root owns it (/tmp): there only a folder's owner
// may rename or remove what is inside. On success `realPath` receives the resolved path, which
// is what must be opened.
ModuleFileProblem CheckModuleFile(vfs::Env* env, const std::string& path, std::string& realPath);

// The refusal as one line of text, for the message that reports the module.
VUnicodeString DescribeModuleFileProblem(const ModuleFileProblem& problem);
