// The library's set-up and tear-down, called by the host in this order: QuillaneInit,
// QuillaneInitProfileFactory, (passphrase), QuillaneInitGUI; QuillaneCleanupForUnload last.
#pragma once

#include <string>

#include "platform/shared_memory_cache.h"
#include "report/message_router.h"
#include "storage/model/profile_store.h"

// Host flags of QuillaneInit.
constexpr int kInitCreatePassphraseCache = 1;
constexpr int kInitNoProgressWindows = 2;

// The host's GUI callbacks. The session chooser shows the host's session picker with a title,
// fills `sessions` with the chosen session paths and returns the dialog's result; `owner` is
// the parent window. The image list getter returns the host's list of session icons.
using VSessionChooser = int (*)(const VUnicodeString& title, VStringArray& sessions, void* owner);
using VImageListGetter = void* (*)();

void QuillaneInit(VReportRouterGetter getRouter, int flags);
void QuillaneInitProfileFactory(VProfileStoreFactoryGetter getFactory);
// Stores the GUI callbacks and loads the global configuration when it is not loaded yet.
void QuillaneInitGUI(VSessionChooser sessionChooser, VImageListGetter imageListGetter);
void QuillaneCleanupForUnload();

// The flags given to QuillaneInit.
int QuillaneGetInitFlags();

// The passphrase cache is shared per configuration: the names carry a digest of the configuration
// folder in use, so that a process working on another configuration (another folder given on its
// command line) neither takes nor overwrites the passphrase of this one. These are the names for
// `configFolder` (empty: none known) under the running product and user.
VSharedMemoryNames ConfigPassphraseCacheNames(const VUnicodeString& configFolder);
// The part of those names that stands for the folder: 16 hexadecimal digits of its SHA-256
// digest; empty for no folder.
std::string ConfigPassphraseCacheScope(const VUnicodeString& configFolder);
// Shares the cache under the names for the configuration folder in use now, when the host asked
// for sharing; reopens it when the folder changed since it was opened. Called by QuillaneInit and
// again when the passphrase is settled, by which time the host has chosen its folder. False, the
// reason routed to the host, when the shared cache could not be used (a private one is).
bool OpenConfigPassphraseCacheForConfiguration();
// The same, with the reason in `why` when the cache is not shared (also when an earlier call for
// the same folder failed), for hosts that must tell their user the passphrase is not shared.
bool OpenConfigPassphraseCacheForConfiguration(VReportMessageParams& why);
// The callbacks given to QuillaneInitGUI (null until then).
VSessionChooser QuillaneGetSessionChooser();
VImageListGetter QuillaneGetImageListGetter();
