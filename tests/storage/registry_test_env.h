// A registry hive pair in a temporary folder for one test: QUILLANE_REGISTRY_ROOT points there
// for the life of the object, and the shared factory starts afresh.
#pragma once

#include <stdlib.h>

#include <string>

#include "storage/registry_shared_factory.h"
#include "support/test_support.h"

class RegistryTestEnv {
 public:
  RegistryTestEnv() {
    const char* old = getenv("QUILLANE_REGISTRY_ROOT");
    hadOld_ = old != nullptr;
    if (old) old_ = old;
    setenv("QUILLANE_REGISTRY_ROOT", dir_.Path().c_str(), 1);
    VResetRegistryStoreFactory();
  }
  ~RegistryTestEnv() {
    if (hadOld_) setenv("QUILLANE_REGISTRY_ROOT", old_.c_str(), 1);
    else unsetenv("QUILLANE_REGISTRY_ROOT");
    VResetRegistryStoreFactory();
  }
  const std::string& Root() const { return dir_.Path(); }
  std::string User(const std::string& relative = "") const {
    return relative.empty() ? dir_ / "HKCU" : dir_ / ("HKCU/" + relative);
  }
  std::string Machine(const std::string& relative = "") const {
    return relative.empty() ? dir_ / "HKLM" : dir_ / ("HKLM/" + relative);
  }

 private:
  qtest::TempDir dir_;
  std::string old_;
  bool hadOld_ = false;
};
