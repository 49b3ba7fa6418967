// A test of moving settings between configurations: the user's folders kept inside the test's
// temporary folder, the terminal application running, and the store in use switched by setting
// `current_` (several configurations take turns in one test).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/global/global_config_instance.h"
#include "crypto/config_passphrase.h"
#include "platform/app_info.h"
#include "storage/model/profile_store.h"
#include "support/test_support.h"

namespace qtest {

class MovingConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::string name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "QUILLANE_REGISTRY_ROOT"})
      env_.push_back(std::make_unique<ScopedEnv>(name.c_str(), dir_ / ("user-" + name)));
    VSetAppName(u"Karvell");
    VSetDerivedProductId(3);
    current_ = nullptr;
    VSetProfileFactoryGetter(&Factory);
    FreeGlobalConfig();
  }
  void TearDown() override {
    FreeGlobalConfig();
    VSetProfileFactoryGetter(nullptr);
    VSetDerivedProductId(-1);
    SetConfigPassphrase(nullptr);
  }
  static VProfileStoreFactory* Factory() { return current_; }

  static inline VProfileStoreFactory* current_ = nullptr;
  TempDir dir_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
};

}  // namespace qtest
