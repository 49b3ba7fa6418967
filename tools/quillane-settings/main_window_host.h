// The main window as quillane-settings opens it without a page option: started as the host
// starts, with the dialogs of this build connected to its menus; or, with --grab, drawn over a
// small generated tree into pictures.
#pragma once

#include "settings_options.h"
#include "ui/main_window/main_window.h"

namespace settings {

// The entry points of the menus. Each dialog is connected here with one line; an entry left
// empty is shown disabled.
VMainWindowActions HostActions();

// Runs the main window until it closes; returns the exit status (kExitOk, or the start-up's).
int RunMainWindow(const Options& options);

// Writes DIR/main-window.png (the tree) and DIR/main-window-connect-bar.png (suggestions shown
// under the connect bar), over a generated tree in a configuration of its own. False with the
// reason.
bool GrabMainWindow(const Options& options, std::string& error, int& exitCode);

}  // namespace settings
