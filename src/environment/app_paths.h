// Where the configuration and the personal data of the running application live: the folders
// and flags it remembers, with the integrated pair's rule for writing them.
//
// Every Get opens the registry afresh. A remembered folder that is not a full path is ignored
// (as unreadable): it would name a different folder from every working directory.
#pragma once

#include <string>

#include "environment/user_questions.h"
#include "report/report_message_params.h"

// The "Config Path" of application `appName`, or empty.
VUnicodeString GetAppConfigPath(const VUnicodeString& appName);
// The "Config Path" an early release kept under the subkey "Global"; when there is one it is
// also remembered for the running application (without force).
VUnicodeString GetAppConfigPathAlpha();
// The folder "Config" in `executableFolder` when it holds "global.ini" (a configuration that
// travels with the program), else empty. Both names are matched without regard to case, as the
// configuration folder itself finds its keys, so a folder copied from another system counts.
VUnicodeString GetAppConfigPathUnderExe(const std::string& executableFolder);
// Remembers `path` (a full path, or empty to forget) as the running application's configuration
// folder; in an integrated pair also as the other application's when `force` is set or the other
// has none yet. False when a write failed or the path is not a full path; `error` tells why.
bool SaveAppConfigPath(const VUnicodeString& path, bool force,
                       VReportMessageParams* error = nullptr);

// The remembered "Personal Data Path" of `appName`, or the default for `configFolder`.
VUnicodeString GetAppPersonalDataPath(const VUnicodeString& appName,
                                      const VUnicodeString& configFolder);
// `configFolder` followed by ".personal": a sibling folder (/srv/cfg gives /srv/cfg.personal),
// also when the folder is given with a trailing slash. Empty for an empty folder.
VUnicodeString GetAppPersonalDataPathDefault(const VUnicodeString& configFolder);
VUnicodeString GetAppPersonalDataPathStored(const VUnicodeString& appName);
// The remaining writes follow SaveAppConfigPath, except that the other application of an
// integrated pair is written only with `force`.
bool SaveAppPersonalDataPath(const VUnicodeString& path, bool force,
                             VReportMessageParams* error = nullptr);

bool UsePersonalDataPath(const VUnicodeString& appName);
bool DoPersonalDataMigration(const VUnicodeString& appName);
bool DoPersonalDataMerge(const VUnicodeString& appName);
bool SaveUsePersonalDataPath(bool value, bool force, VReportMessageParams* error = nullptr);
bool SaveDoPersonalDataMigration(bool value, bool force, VReportMessageParams* error = nullptr);
bool SaveDoPersonalDataMerge(bool value, bool force, VReportMessageParams* error = nullptr);

// Asks for the personal data folder, offering the default beside `configFolder` when `inOutPath`
// is empty. True with the chosen folder; false, with `inOutPath` cleared, when cancelled.
bool GetPersonalDataFolderAsk(IUserQuestions& owner, const VUnicodeString& configFolder,
                              VUnicodeString& inOutPath);
