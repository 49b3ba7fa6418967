// Where a command's VALUE comes from. On the command line it shows in every process listing, so a
// secret may instead come from an environment variable (--value-env VAR) or from one line of
// standard input (--value-stdin), for the one setting the command changes.
#pragma once

#include <string>
#include <vector>

#include "quillane/cli.h"

namespace cli {

// The flags to hand to ParseArgs: the value flag and the switch.
constexpr const char* kValueEnvFlag = "--value-env";
constexpr const char* kValueStdinFlag = "--value-stdin";

// The command's positionals with the VALUE last: as given when neither flag is there (then there
// must be `count` of them), else the `count - 1` given followed by the value read from the named
// source (at a terminal, standard input is read as a passphrase is, showing asterisks). A wrong count, both sources at once, an unset variable, standard input without a line
// or with more than one, and text that is not UTF-8 are usage errors naming the cause.
std::vector<std::string> PositionalsWithValue(const ParsedArgs& args, size_t count,
                                              const char* expected);

}  // namespace cli
