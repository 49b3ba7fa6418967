// The start-up of the graphical host, shared by every window it opens: the configuration the
// options name is opened (as the command line finds it), the product's protocol modules are
// loaded, and the configuration passphrase is settled with the dialogs, as a starting host does.
#pragma once

#include <string>

#include "settings_options.h"

namespace settings {

// Exit status of quillane-settings.
constexpr int kExitOk = 0;
constexpr int kExitCancelled = 1;  // the user cancelled (a dialog, or the passphrase at start-up)
constexpr int kExitUsage = 2;      // the command line is wrong
constexpr int kExitFailed = 3;     // the configuration cannot be opened, or the operation failed

// Opens the configuration, loads the protocol modules and settles the passphrase. The
// application object and the dialogs (VRegisteredDialogs) must exist already: the passphrase
// is asked for with them. With --grab nobody is asked: the run goes on without the passphrase
// (secrets read as empty), since pictures are made where nobody can answer. False with the
// message for the user and the exit status the host ends with.
bool StartHost(const Options& options, std::string& error, int& exitCode);
// The same where the caller ends with kExitFailed on any failure.
bool StartHost(const Options& options, std::string& error);

// The steps of StartHost, for callers and tests that need only one of them.
// Sets the library up on the store the options name and checks that it can be read.
bool OpenHostConfiguration(const Options& options, std::string& error, int& exitCode);
// Settles the passphrase with the registered dialogs; `ask` false: without asking anybody, the
// passphrase is not used for this run.
bool SettleHostPassphrase(bool ask, std::string& error, int& exitCode);

// Where the configuration is, as the user reads it ("/home/.../Config", "settings.xml", "HKCU").
std::string HostConfigurationLocation();
// The personal data folder the configuration was opened with (empty: none was in use).
std::string HostPersonalDataLocation();

// Lets the passphrase cache go, so that the last of the user's processes to hold it removes its
// shared object. Called once as the host ends.
void StopHost();

// Prints "quillane-settings: MESSAGE" on standard error and returns `code`.
int ReportStartFailure(const std::string& message, int code);

}  // namespace settings
