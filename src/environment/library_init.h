// The library's set-up and tear-down, called by the host in this order: QuillaneInit,
// QuillaneInitProfileFactory, (passphrase), QuillaneInitGUI; QuillaneCleanupForUnload last.
#pragma once

#include "report/message_router.h"
#include "storage/profile_store.h"

// Host flags of QuillaneInit.
constexpr int kInitCreatePassphraseCache = 1;
constexpr int kInitNoProgressWindows = 2;

void QuillaneInit(VReportRouterGetter getRouter, int flags);
void QuillaneInitProfileFactory(VProfileStoreFactoryGetter getFactory);
void QuillaneCleanupForUnload();

// The flags given to QuillaneInit.
int QuillaneGetInitFlags();
