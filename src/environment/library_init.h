// The library's set-up and tear-down, called by the host in this order: QuillaneInit,
// QuillaneInitProfileFactory, (passphrase), QuillaneInitGUI; QuillaneCleanupForUnload last.
#pragma once

#include "report/message_router.h"
#include "storage/profile_store.h"

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
// The callbacks given to QuillaneInitGUI (null until then).
VSessionChooser QuillaneGetSessionChooser();
VImageListGetter QuillaneGetImageListGetter();
