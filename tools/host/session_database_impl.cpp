#include "host/session_database_impl.h"

extern "C" __attribute__((visibility("default"))) SessionDatabase* GetSessionDatabaseImpl() {
  // Never destroyed: a search still running on another thread at exit may be using it.
  static SessionDatabase* const database = new SessionDatabase();
  return database;
}
