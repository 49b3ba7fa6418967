// The files of an import or export run, and where a file carried in a settings file may be
// written back.
#pragma once

#include <string>
#include <vector>

#include "platform/unicode_string.h"

// The settings file as the user named it, its backup and its log: the name split into folder
// and base name, the backup and the log being the base name with ".bak" and ".log" in the same
// folder ("out/cfg.xml" gives "out/cfg.bak" and "out/cfg.log"; a name without a folder is
// taken in the current one).
struct VSettingsFilePaths {
  std::string settings;
  std::string backup;
  std::string log;
  static VSettingsFilePaths For(const std::string& settingsFile);
};

// Why a carried file is not written where its path points.
enum class VFileTargetRefusal {
  None,
  NotFullPath,     // not a full path once its path variables are expanded
  OutsideFolders,  // not below the configuration, user data or SSH data folder
  ThroughLink,     // a level below that folder, or the file itself, is a symbolic link
  NotRegularFile,  // the path names a folder or something else that is not a plain file
};

// Checks that `path` (expanded) may receive a file carried in a settings file: after ".." and
// "." are folded, it lies strictly below one of `allowedFolders` (empty ones are ignored); no
// level between that folder and the file is a symbolic link or anything but a folder; the file
// itself is missing or a plain file. `resolved` receives the folded path. A settings file comes
// from someone else: anything looser would let it replace a start-up script or a key anywhere
// the user may write.
VFileTargetRefusal CheckImportedFileTarget(const std::string& path,
                                           const std::vector<std::string>& allowedFolders,
                                           std::string& resolved);
