// A session tree in a temporary configuration folder or settings file, registered as the store
// of the process (the item database and the shared global configuration read it), with no shared
// global configuration before or after each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/global/global_config_instance.h"
#include "config/database/session_database.h"
#include "platform/app_info.h"
#include "storage/ini/ini_file_store.h"
#include "storage/xml/xml_file_store.h"
#include "support/test_support.h"

class SessionTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The user's own folders stay out of reach.
    for (std::string name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "QUILLANE_REGISTRY_ROOT"})
      env_.push_back(std::make_unique<qtest::ScopedEnv>(name.c_str(), dir_ / ("user-" + name)));
    current_ = this;
    factory_ = std::make_unique<VIniFileStoreFactory>(U8(dir_ / "cfg"));
    VSetProfileFactoryGetter(&Factory);
    VSetDerivedProductId(3);
    FreeGlobalConfig();
  }
  void TearDown() override {
    FreeGlobalConfig();
    VSetProfileFactoryGetter(nullptr);
    VSetDerivedProductId(-1);
    current_ = nullptr;
    env_.clear();
  }
  void UseXml() { factory_ = std::make_unique<VXmlFileStoreFactory>(U8(XmlPath())); }
  bool IsXml() const { return dynamic_cast<VXmlFileStoreFactory*>(factory_.get()) != nullptr; }
  std::string XmlPath() const { return dir_ / "settings.xml"; }
  std::string Cfg(const std::string& relative) const { return dir_ / ("cfg/" + relative); }

  // Makes the key at `path` (levels split by "\") below the root, with "Is Session" set when
  // `session`, and the string `values` written into it.
  void Put(const std::string& path, bool session,
           const std::vector<std::pair<std::u16string, std::u16string>>& values = {}) {
    VProfileStore store(false, factory_.get());
    std::vector<std::unique_ptr<VProfileKey>> keys;
    std::vector<VUnicodeString> levels = SessionDatabase::SplitPath(U8(path));
    for (size_t i = 0; i < levels.size(); ++i) {
      // A folder store keeps a key with values as a file only.
      bool file = !IsXml() && i + 1 == levels.size() && (session || !values.empty());
      VProfileKey& parent = keys.empty() ? *store.GetRootKey() : *keys.back();
      int flags = file ? 0 : kProfileKeyCreate;
      keys.push_back(std::make_unique<VProfileKey>(parent, levels[i].c_str(), flags));
    }
    if (session) keys.back()->WriteDword(u"Is Session", 1);
    for (const auto& [name, value] : values) keys.back()->WriteString(name.c_str(), value.c_str());
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) ASSERT_TRUE((*it)->Flush());
    ASSERT_TRUE(store.GetRootKey()->Flush());
  }
  void Session(const std::string& path) { Put("Sessions\\" + path, true); }
  void Folder(const std::string& path) { Put("Sessions\\" + path, false); }
  void SetHideDot(bool hide) {
    VProfileStore store(false, factory_.get());
    VProfileKey global(*store.GetRootKey(), u"Global");
    ASSERT_TRUE(global.WriteDword(u"Hide Dot Session Files", hide ? 1 : 0) && global.Flush());
    FreeGlobalConfig();
  }

  static VProfileStoreFactory* Factory() { return current_ ? current_->factory_.get() : nullptr; }

  qtest::TempDir dir_;
  std::vector<std::unique_ptr<qtest::ScopedEnv>> env_;
  std::unique_ptr<VProfileStoreFactory> factory_;
  static inline SessionTreeTest* current_ = nullptr;
};

inline std::vector<std::string> Names(const VStringArray& names) {
  std::vector<std::string> out;
  for (const auto& name : names) out.push_back(name.ToUtf8());
  return out;
}
using Strings = std::vector<std::string>;
