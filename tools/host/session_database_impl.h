// The item database instance a host owns.
#pragma once

#include "config/database/session_database.h"

// Exported from the host program; the library looks it up by name in the main program. The
// instance uses the store factory the host registered.
extern "C" SessionDatabase* GetSessionDatabaseImpl();
