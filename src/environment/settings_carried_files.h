// The files a settings file carries ("Files"): each named by its path with the path variables
// where they apply, and holding the file's bytes.
#pragma once

#include <set>

#include "environment/import_export_settings.h"

// Reads each file of `stored` (paths as stored, with path variables) into the section "Files"
// of `root`; a file that cannot be read is logged as a warning and left out.
void ExportCarriedFiles(VProfileKey& root, const std::set<VUnicodeString>& stored,
                        const VPathFolders& folders, VSettingsFileLog& log);

// Writes the files of the section "Files" of `root` where their paths point, only where
// CheckImportedFileTarget allows; every other one is logged as a warning and listed in
// `summary.filesRefused`.
void ImportCarriedFiles(VProfileKey& root, const VPathFolders& folders, VSettingsFileLog& log,
                        VImportExportSummary& summary);
