// The project's protocol modules as a host loads them: the built module files copied into a
// folder of the test's own (so that a marker file such as SSH1.enable stays there), then loaded
// for the terminal product and the transfer product.
#pragma once

#include <string>

namespace qtest {

// Copies the modules into `folder` (created, mode 0755) and loads them; with `enableSsh1` the
// SSH1 row is loaded too. False when a load fails.
bool LoadProjectModules(const std::string& folder, bool enableSsh1 = false);

}  // namespace qtest
