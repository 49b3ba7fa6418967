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

// "on" or "off" given to `flag`; anything else is a usage error naming the flag.
bool OnOff(const std::string& flag, const std::string& text);

// Fails the command with message `id` whose first insert is the item's `name` and whose second,
// when given, is why the store refused.
int FailNamed(Context& context, int code, uint32_t id, const VUnicodeString& name,
              VReportMessageParams* why = nullptr);

// Deletes the item `name` of `collection`: a name that is not there (or could not be one) fails
// with `missingId` (kExitNotFound), another failure with `notDeletedId` and the store's reason.
int DeleteNamedItem(Context& context, ItemCollection collection, const VUnicodeString& name,
                    uint32_t missingId, uint32_t notDeletedId);

// Prints each warning on standard error as "quillane: warning: TEXT".
void PrintWarnings(const std::vector<VReportMessageParams>& warnings);

}  // namespace cli
