// A configuration folder for the Global Options dialog's tests: the shared global configuration
// loaded from it, the per-user remembered values in a folder of the test's own, and the page
// tree built for the conditions a test chooses.
#pragma once

#include <QApplication>
#include <QWidget>

#include "config/global/global_config_instance.h"
#include "config/session_test_env.h"
#include "support/test_support.h"
#include "ui/global_options/global_options_dialog.h"
#include "ui/global_options/global_pages.h"

class GlobalOptionsTest : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    GlobalOptionsDialogBase::PageStateMap().RemoveAll();
    GlobalConfigurationPathsPage::ForgetFirstOpening();
    Conditions(3, true, true);
    GlobalConfig* raw = nullptr;
    ASSERT_TRUE(GetGlobalConfig(&raw, -1));
    config_ = VRef<GlobalConfig>(raw);
  }
  void TearDown() override {
    GlobalOptionsDialogBase::SetConditionsOverride(std::nullopt);
    config_ = VRef<GlobalConfig>();
    SessionFolderTest::TearDown();
  }
  static void Conditions(int product, bool terminal, bool transfer) {
    GlobalPageConditions conditions;
    conditions.productId = product;
    conditions.terminalProtocols = terminal;
    conditions.transferProtocols = transfer;
    GlobalOptionsDialogBase::SetConditionsOverride(conditions);
  }
  GlobalConfig& Config() { return *config_.Get(); }
  // The dialog shown (offscreen), as a person would see it.
  std::unique_ptr<GlobalOptionsDialog> Open(const GlobalOptionsArguments& arguments = {}) {
    auto dialog = std::make_unique<GlobalOptionsDialog>(config_.Get(), arguments);
    dialog->show();
    QApplication::processEvents();
    return dialog;
  }
  template <class P>
  P* Show(GlobalOptionsDialog& dialog, GlobalPageId id) {
    auto* page = dynamic_cast<P*>(dialog.Page(id));
    EXPECT_NE(page, nullptr);
    if (page) {
      EXPECT_TRUE(dialog.SelectPage(page));
    }
    return page;
  }
  // The Global.ini the library writes for the shared instance.
  std::string SavedGlobal() {
    EXPECT_TRUE(SaveGlobalConfig(false));
    return folder_.Lines("Global");
  }

  qtest::TempDir registry_;
  qtest::ScopedEnv registryRoot_{"QUILLANE_REGISTRY_ROOT", registry_.Path()};
  VRef<GlobalConfig> config_;
};
