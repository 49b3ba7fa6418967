// The one hook through which a protocol module may add pages of its own to the Global Options
// dialog. A module registers it while it is being loaded; the dialog calls it after its built-in
// pages with the page-tree dialog, keeps what it returns for as long as it lives, and hands that
// back to the release function when it goes away.
#pragma once

using GlobalPagesHook = void* (*)(void* treeDialog);
using GlobalPagesRelease = void (*)(void* pages);

// Replaces the registered hook (null: none). The release function may be null when the hook
// returns nothing that needs releasing.
void RegisterGlobalPagesHook(GlobalPagesHook hook, GlobalPagesRelease release);
GlobalPagesHook GetGlobalPagesHook();
GlobalPagesRelease GetGlobalPagesRelease();
