// Whether the saved passwords of a configuration are open to the other users of the computer.
#pragma once

#include <string>

namespace cli {

class Context;

// Saved passwords are encrypted under the configuration passphrase; without one they are
// encrypted under the empty passphrase, which anyone can use. They are then as safe as the
// folder (or settings file) that holds them: true when no passphrase is chosen and other users
// may read `location`.
bool SecretsReadableByOthers(const Context& context, const std::string& location);

// Says so on standard error when it is the case; the result for JSON output.
bool WarnIfSecretsReadableByOthers(const Context& context, const std::string& location);

}  // namespace cli
