// A configuration folder registered as the store of the process, with no shared global
// configuration before or after each test.
#pragma once

#include <gtest/gtest.h>

#include "config/global/global_config_instance.h"
#include "platform/app_info.h"
#include "storage/ini_folder.h"

class GlobalFolderTest : public ::testing::Test {
 protected:
  GlobalFolderTest() = default;
  // The folder's store works through `env` (a test's, to inject faults).
  explicit GlobalFolderTest(vfs::Env* env) : folder_(env) {}
  void SetUp() override {
    current_ = &folder_;
    VSetProfileFactoryGetter(&Factory);
    VSetDerivedProductId(3);
    FreeGlobalConfig();
  }
  void TearDown() override {
    FreeGlobalConfig();
    VSetProfileFactoryGetter(nullptr);
    VSetDerivedProductId(-1);
    current_ = nullptr;
  }
  // A fresh object for `product` loaded from the folder's "Global" key.
  VRef<GlobalConfig> LoadOwn(int product) {
    auto* config = new GlobalConfig(product);
    folder_.WithKey(u"Global", [&](VProfileKey& key) { config->LoadFromKey(&key); }, true);
    return VRef<GlobalConfig>(config);
  }
  // Saves an object into the folder's "Global" key.
  bool SaveOwn(GlobalConfig& config, bool force) {
    bool ok = false;
    folder_.WithKey(u"Global", [&](VProfileKey& key) { ok = config.Save(key, force) && key.Flush(); });
    return ok;
  }
  static VProfileStoreFactory* Factory() { return current_ ? &current_->Factory() : nullptr; }

  IniFolder folder_;
  static inline IniFolder* current_ = nullptr;
};
