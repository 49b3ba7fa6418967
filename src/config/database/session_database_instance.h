// The process's one item database. The host program creates it and hands it out through the
// function it exports under the name below; the library finds that function once, in the main
// program, and keeps the instance for the life of the process.
#pragma once

#include "config/database/session_database.h"

inline constexpr const char kSessionDatabaseExport[] = "GetSessionDatabaseImpl";
using SessionDatabaseGetter = SessionDatabase* (*)();

// The host's instance, or null when the host exports none.
SessionDatabase* GetSessionDatabase();
