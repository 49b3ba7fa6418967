// A host loads the protocol modules of its product from its own folder, once per process.
#pragma once

#include <functional>

#include "report/report_message_params.h"

namespace host {

// Loads the modules the first time it is called; later calls do nothing. A module that fails is
// handed to `warn`, and the host goes on with the protocols that loaded: no protocol at all is
// not an error, sessions then keep what they store.
void LoadProtocolModules(const std::function<void(VReportMessageParams& failure)>& warn);

}  // namespace host
