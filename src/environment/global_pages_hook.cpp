#include "environment/global_pages_hook.h"

#include <atomic>

namespace {

// Registered from a module's load on whatever thread loads modules, read on the interface's.
std::atomic<GlobalPagesHook> gHook{nullptr};
std::atomic<GlobalPagesRelease> gRelease{nullptr};

}  // namespace

void RegisterGlobalPagesHook(GlobalPagesHook hook, GlobalPagesRelease release) {
  gRelease.store(release);
  gHook.store(hook);
}

GlobalPagesHook GetGlobalPagesHook() { return gHook.load(); }
GlobalPagesRelease GetGlobalPagesRelease() { return gRelease.load(); }
