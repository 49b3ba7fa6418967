#include "config/database/session_database_instance.h"

#include <string>

#include "platform/env.h"

SessionDatabase* GetSessionDatabase() {
  static SessionDatabase* const database = []() -> SessionDatabase* {
    vfs::Env* env = vfs::Env::Default();
    void* self = env->OpenModule(std::string());
    if (!self) return nullptr;
    auto getter =
        reinterpret_cast<SessionDatabaseGetter>(env->FindSymbol(self, kSessionDatabaseExport));
    return getter ? getter() : nullptr;
  }();
  return database;
}
