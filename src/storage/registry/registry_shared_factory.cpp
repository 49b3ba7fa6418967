#include "storage/registry/registry_shared_factory.h"

#include <memory>
#include <mutex>

namespace {

std::mutex gMutex;
std::unique_ptr<VRegistryStoreFactory> gFactory;

}  // namespace

void VChooseRegistryRoot(VRegistryHive& hive, VUnicodeString& path) {
  struct Candidate {
    VRegistryHive hive;
    const char16_t* path;
  };
  static const Candidate kCandidates[] = {
      {VRegistryHive::CurrentUser, u"SOFTWARE\\Tolvane"},
      {VRegistryHive::LocalMachine, u"SOFTWARE\\Tolvane"},
      {VRegistryHive::CurrentUser, u"SOFTWARE\\Tol Vane Technologies"},
      {VRegistryHive::LocalMachine, u"SOFTWARE\\Tol Vane Technologies"},
  };
  for (const auto& candidate : kCandidates) {
    std::unique_ptr<VRegistryKey> key(
        VRegistryKey::Open(candidate.hive, VSplitRegistryPath(candidate.path), true));
    if (key->IsOpen()) {
      hive = candidate.hive;
      path = candidate.path;
      return;
    }
  }
  hive = VRegistryHive::CurrentUser;
  path = u"SOFTWARE\\Tolvane";
}

VRegistryStoreFactory& VGetRegistryStoreFactory() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (!gFactory) {
    VRegistryHive hive = VRegistryHive::CurrentUser;
    VUnicodeString path;
    VChooseRegistryRoot(hive, path);
    gFactory = std::make_unique<VRegistryStoreFactory>(hive, path);
  }
  return *gFactory;
}

void VResetRegistryStoreFactory() {
  std::lock_guard<std::mutex> lock(gMutex);
  gFactory.reset();
}
