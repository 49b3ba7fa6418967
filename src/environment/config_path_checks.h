// The checks a host runs on its configuration folder at start-up: a folder named on the command
// line, a forwarding address left behind when a configuration moved, and a global configuration
// whose saving never completed.
#pragma once

#include <ctime>
#include <functional>

#include "report/report_message_params.h"

constexpr uint32_t kMsgCommandLineFolderInvalid = 0xE1380009;
constexpr uint32_t kMsgConfigurationMigrated = 0x61380017;
constexpr uint32_t kMsgGlobalConfigNotSetAside = 0xE1380482;

// Checks the folder given after /F: trailing slashes go (the root keeps its own), a relative
// folder is made a full path, and the result must be an existing folder. False with 0xE1380009
// naming the argument as given otherwise. `out` receives the full path.
bool CheckAppConfigPathCommandLine(const VUnicodeString& argument, VUnicodeString& out,
                                   VReportMessageParams& report);

using VRedirectReportFunction = std::function<void(const VReportMessageParams&)>;

// Checks the configuration folder `inOutPath` before it is loaded. A folder holding no
// configuration, or a complete one, passes unchanged. An incomplete one that left a forwarding
// address ("New Config Path" of the key "TLVRedirect") is replaced by the new folder (one step
// only; a relative address is taken from the old folder), reported with 0x61380017 through
// `report`, and remembered when `save` is set. An incomplete one without an address has its
// "Global.ini" set aside (RenameGlobalConfig). False when that rename failed, or when the new
// folder could not be remembered; `error` tells why.
bool CheckAppConfigPathRedirect(bool save, const VRedirectReportFunction& report,
                                VUnicodeString& inOutPath, VReportMessageParams* error = nullptr);

// Sets the global configuration file of `folder` ("Global.ini", whatever its case) aside as
// "Global-incomplete-YYYYDDMM_HHMMSS.ini" (local time, day before month), replacing a file of
// that name, so that a fresh global configuration is made. True when there was nothing to move;
// false only when the move failed (the file stays where it was).
bool RenameGlobalConfig(const VUnicodeString& folder, VReportMessageParams* error = nullptr);
// The same for the configuration folder in use (the remembered one when none is set yet).
bool RenameGlobalConfig();

// The clock of the time stamp; null restores the system clock. Tests fix it.
using VWallClock = std::time_t (*)();
void SetRenameGlobalConfigClock(VWallClock clock);
