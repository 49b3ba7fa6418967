// A registry hive pair in a temporary folder for one test: QUILLANE_REGISTRY_ROOT points there
// for the life of the object, and the shared factory starts afresh.
#pragma once

#include <string>

#include "storage/registry/registry_shared_factory.h"
#include "support/test_support.h"

class RegistryTestEnv {
 public:
  RegistryTestEnv() { VResetRegistryStoreFactory(); }
  ~RegistryTestEnv() { VResetRegistryStoreFactory(); }
  const std::string& Root() const { return dir_.Path(); }
  std::string User(const std::string& relative = "") const {
    return relative.empty() ? dir_ / "HKCU" : dir_ / ("HKCU/" + relative);
  }
  std::string Machine(const std::string& relative = "") const {
    return relative.empty() ? dir_ / "HKLM" : dir_ / ("HKLM/" + relative);
  }

 private:
  qtest::TempDir dir_;
  qtest::ScopedEnv root_{"QUILLANE_REGISTRY_ROOT", dir_.Path()};
};
