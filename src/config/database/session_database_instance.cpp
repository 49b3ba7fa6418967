#include "config/database/session_database_instance.h"

#include <dlfcn.h>

SessionDatabase* GetSessionDatabase() {
  static SessionDatabase* const database = []() -> SessionDatabase* {
    void* self = dlopen(nullptr, RTLD_NOW);
    if (!self) return nullptr;
    auto getter = reinterpret_cast<SessionDatabaseGetter>(dlsym(self, kSessionDatabaseExport));
    return getter ? getter() : nullptr;
  }();
  return database;
}
