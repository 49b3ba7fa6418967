// --session PATH and --default-session: the Session Options dialog alone, or its pages drawn
// into pictures with --grab.
#pragma once

#include "settings_options.h"

namespace settings {

// 0 after OK (the session saved), 1 after Cancel or a failure (reported on standard error).
// With --grab: 0 once every picture is written.
int RunSessionWindow(const Options& options);

}  // namespace settings
