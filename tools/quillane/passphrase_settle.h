// How a command settles the configuration passphrase: as a starting host does, with console
// prompts when standard input is a terminal (never otherwise), the passphrase of --passphrase-env
// tried first, and --no-prompt forbidding prompts. A passphrase another process of this user
// settled for the same configuration is taken as it is.
#pragma once

#include <cstdint>

#include "quillane/cli.h"

namespace cli {

enum class PassphraseUse {
  // The command needs the passphrase: when it cannot be settled, the command fails (exit 3).
  Required,
  // The command can do without it: when it cannot be settled, this run goes on with the
  // passphrase disabled for itself alone (secrets read as empty, new ones are refused).
  Optional,
};

// Returns 0, or the exit status after the failure was reported. `extraFlags` adds start-up flags
// (kPassphraseDisableIfNeeded). `mention` tells, on standard error, why an optional passphrase
// is not used.
int SettlePassphrase(Context& context, PassphraseUse use, uint32_t extraFlags = 0,
                     bool mention = false);

// "unknown", "known" or "disabled": the passphrase state of this process.
const char* PassphraseStateName();

}  // namespace cli
