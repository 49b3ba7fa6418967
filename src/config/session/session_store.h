// Sessions in the configuration store: opening one by its path below "Sessions", saving and
// deleting it there, the template "Default", and applying the template's changes to a session.
#pragma once

#include <functional>
#include <vector>

#include "config/session/session_config.h"
#include "storage/model/profile_store.h"

// The levels of a session path ("Lab\router1"; "/" is taken as a separator too).
std::vector<VUnicodeString> SplitSessionPath(std::u16string_view path);

// Opens the session at `path` from a read-only store (`factory` null: the registered one).
// A key without "Is Session" is a folder: null with kMsgSessionIsFolder. A missing key gives
// null with kMsgSessionMissing, except "Default", which is then made of defaults and saved with
// every value into a new key, so that the template exists from its first use on. A session whose
// file is there but cannot be read gives null with kMsgSessionUnreadable rather than defaults.
// Every operation here refuses a path through "__FolderData__" (kMsgSessionNameReserved): that
// key keeps its folder's order and is never a session or a folder. The caller releases the
// session.
SessionConfig* OpenSessionByPath(const VUnicodeString& path, VReportMessageParams& error,
                                 VProfileStoreFactory* factory = nullptr);
// True when `path` names a key below "Sessions" (a session or a folder).
bool SessionKeyExists(const VUnicodeString& path, VProfileStoreFactory* factory = nullptr);
// True when the key of `path` exists and may be written.
bool IsSessionWritable(const VUnicodeString& path, VProfileStoreFactory* factory = nullptr);
// Saves `session` at `path` (folders and key created when missing) and writes the key's file
// before returning. False, with the reason, when the key may not be written or the write failed,
// or when a new session would be made below a session (kMsgSessionInsideSession).
bool SaveSessionAtPath(SessionConfig& session, const VUnicodeString& path, bool force,
                       VReportMessageParams& error, VProfileStoreFactory* factory = nullptr);
// Changes the session at `path` in place: one writable store, the key found once, its file read
// once, `change` applied to the loaded session, which is saved through the same key and written
// before returning. Missing sessions, folders and read-only keys are refused as by
// OpenSessionByPath and SaveSessionAtPath; a missing "Default" is made first. False, with the
// reason in `error` (left as `change` set it when the change was refused).
bool UpdateSessionAtPath(const VUnicodeString& path,
                         const std::function<bool(SessionConfig&, VReportMessageParams&)>& change,
                         VReportMessageParams& error, VProfileStoreFactory* factory = nullptr);
// Makes a new session at `path` from the template "Default" (which is made first when it does
// not exist): its settings, its protocols and their settings, written with every value. False
// when a key of that path exists already, a level above it is a session, or the session could
// not be written; nothing is made then.
bool CreateSessionFromDefault(const VUnicodeString& path, VReportMessageParams& error,
                              VProfileStoreFactory* factory = nullptr);
// Deletes the session at `path` with everything below it.
bool DeleteSessionAtPath(const VUnicodeString& path, VReportMessageParams& error,
                         VProfileStoreFactory* factory = nullptr);

// Every session path below `folder` ("" for all), depth first, in the store's order; keys
// without "Is Session" are folders and are walked, never opened as sessions.
std::vector<VUnicodeString> ListSessionPaths(const VUnicodeString& folder = VUnicodeString(),
                                             VProfileStoreFactory* factory = nullptr);

struct ApplyDefaultCounts {
  int total = 0;       // sessions visited
  int notUpdated = 0;  // read-only (or failing) sessions left as they were
};
// The per-session step of applying the template's changes: opens the session at `path`; when
// its key may be written, takes every setting changed in `defaultSession` (not yet committed)
// and saves the session with every value. Read-only sessions are only counted. False when the
// session could not be updated (the reason in `error`).
bool ApplyDefaultSessionChanges(const SessionConfig& defaultSession, const VUnicodeString& path,
                                ApplyDefaultCounts& counts, VReportMessageParams& error,
                                VProfileStoreFactory* factory = nullptr);
// The step for every session but "Default" itself.
void ApplyDefaultSessionChangesToAll(const SessionConfig& defaultSession,
                                     ApplyDefaultCounts& counts,
                                     VProfileStoreFactory* factory = nullptr);
// The message shown when not every session was updated ("Of your %1 sessions, %2 could not be
// updated ..."); false, `message` untouched, when all were.
bool DescribeApplyDefaultResult(const ApplyDefaultCounts& counts, VReportMessageParams& message);

// Stores the window over which the session's protocols show their prompts.
void SetConnectConfigParentWindow(ISessionConfig* session, void* parent);
