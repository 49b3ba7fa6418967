// quillane-settings --global-options: the Global Options dialog over the configuration the
// options name; OK saves Global.ini as the library does and exits 0, Cancel exits 1. With
// --grab DIR every page is drawn into DIR/global-options-<page>.png instead.
#pragma once

#include <string>

#include "platform/unicode_string.h"
#include "settings_options.h"

namespace settings {

int RunGlobalOptionsWindow(const Options& options);

// The host's session chooser: the sessions of the configuration in a list to pick from.
int ChooseSessions(const VUnicodeString& title, VStringArray& sessions, void* owner);

}  // namespace settings
