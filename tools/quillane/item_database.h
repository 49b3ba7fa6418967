// The item database the command line works through: the host's instance when the library finds
// one, else one of the command's own.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "config/database/session_database.h"
#include "quillane/cli.h"

namespace cli {

SessionDatabase& ItemDatabase();

// The NAME and its SETTING VALUE pairs of a `set` command: one pair whose value may come from
// --value-env or --value-stdin, or any number of pairs on the command line. A wrong count is a
// usage error naming `expected`.
std::pair<std::string, std::vector<std::pair<std::string, std::string>>> NameAndSettingPairs(
    const ParsedArgs& args, const char* expected);

// Prints names one escaped name a line, or with --json as an array of strings.
int ListNames(Context& context, const VStringArray& names);

// Prints each warning on standard error as "quillane: warning: TEXT".
void PrintWarnings(const std::vector<VReportMessageParams>& warnings);

}  // namespace cli
