// The one shared global configuration of the process and the functions the host calls on it.
// A library-wide lock guards the shared pointer; each object's own lock guards its save,
// commit and revert.
#pragma once

#include <string_view>
#include <vector>

#include "config/global/global_config.h"
#include "report/report_message_params.h"

// Creates the shared instance for `product` when there is none (-1: the product worked out from
// the application name), loading it from the key "Global" of a read-only store made by the
// registered factory. When `out` is not null it receives the instance with a reference the
// caller gives back with Release. True when a shared instance exists.
bool GetGlobalConfig(GlobalConfig** out, int product);
// True when the store's global key has a value file that could not be read when the shared
// instance was loaded (created here when there is none): the instance then holds defaults, not
// the user's settings, and `error` says which file and why.
bool GlobalConfigUnreadable(VReportMessageParams& error);
// The older form: the shared instance, created when there is none, without the lock and
// without a reference.
void GetGlobalConfigObsolete(GlobalConfig*& out, int product);
// Saves the shared instance (created first when there is none) into the key "Global" of a
// writable store: only changed or flagged values, or every value with `force`. True only when
// every value was accepted and the key's file was written; otherwise `error` says why.
bool SaveGlobalConfig(bool force, VReportMessageParams& error);
bool SaveGlobalConfig(bool force);
// Loads a new instance from the store and makes it the shared one; holders of the old one keep
// it, detached, until they release it. `out` (when not null) receives the new one with a
// reference.
void ReloadGlobalConfig(GlobalConfig** out);
// Lets the shared instance go.
void FreeGlobalConfig();
// Takes the settings stored under `key` into the shared instance (keeping its passphrase check
// value and change request); does not save.
void MergeGlobalConfig(const VProfileKey& key);

// The six status text colours (then background colours) in the order connected, disconnected,
// new input, inactivity, script, locked. `out` is emptied first; a null `config` leaves it empty.
void GetRectangleStatusArray(std::vector<unsigned long>& out, GlobalConfig* config);
void GetBackgroundStatusArray(std::vector<unsigned long>& out, GlobalConfig* config);
// The status icons in the same order. Until the user interface loads images these are the
// icon resource identifiers.
std::vector<int>& GetIconStatusArray();

// The setting of the shared instance stored under `keyName` (without regard to case), or null
// when there is no shared instance or no such setting.
VProfileData* FindGlobalSetting(std::u16string_view keyName);
