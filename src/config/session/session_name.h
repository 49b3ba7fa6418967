// Whether a name may be given to a session or a folder of sessions.
#pragma once

#include "report/report_message_params.h"
#include "storage/model/profile_store.h"

// True when `proposedName` may name a session (or, with `isFolder`, a folder) in the session
// folder `folderPath` ("" for the top), where the item now has `currentName` (empty for a new
// one). Otherwise `error` says why, checked in this order: no name, an illegal character, a
// device name the platform reserves, a name that another session or folder of that folder has.
// `parent` is the window a caller shows the message over; it is not used here.
bool ValidateSessionName(const VUnicodeString& folderPath, const VUnicodeString& currentName,
                         const VUnicodeString& proposedName, bool isFolder, void* parent,
                         VReportMessageParams& error, VProfileStoreFactory* factory = nullptr);
