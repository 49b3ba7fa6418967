// The start-up of quillane-settings: a configuration that cannot be opened ends the host with
// the reason and exit status 3 (driven as a process), and a passphrase the user does not give
// ends it with status 1 (driven in this process, where the dialog can be answered).
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "config/session_test_env.h"
#include "crypto/config_passphrase.h"
#include "environment/passphrase_startup.h"
#include "host_startup.h"
#include "support/test_support.h"
#include "ui/passphrase_dialogs_qt.h"
#include "ui/registered_dialogs.h"
#include "ui_test_helpers.h"

namespace {

qtest::RunResult Settings(const std::vector<std::string>& args, const qtest::TempDir& dir) {
  auto env = qtest::HostEnv(dir);
  env["QT_QPA_PLATFORM"] = "offscreen";
  return qtest::Run(QUILLANE_SETTINGS_PATH, args, env);
}

TEST(SettingsStartup, AConfigurationThatCannotBeOpenedEndsTheHostWithItsReason) {
  qtest::TempDir dir;
  // A settings file that is not one would read as an empty configuration.
  qtest::WriteFile(dir / "broken.xml", "this is not a settings file\n");
  qtest::RunResult run = Settings({"--xml", dir / "broken.xml"}, dir);
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_NE(run.err.find("quillane-settings: "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("broken.xml"), std::string::npos) << run.err;

  // A configuration folder that is a file.
  qtest::WriteFile(dir / "Config", "plain file\n");
  run = Settings({"--config", dir / "Config"}, dir);
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_NE(run.err.find("it is a file, not a folder"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(dir / "Config"), std::string::npos) << run.err;

  // Options that contradict each other are a usage error, before anything is opened.
  run = Settings({"--registry", "HKCU", "--personal", dir / "p"}, dir);
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.err.find("--personal"), std::string::npos) << run.err;
}

TEST(SettingsStartup, GrabDrawsTheMainWindowOverATreeOfItsOwn) {
  qtest::TempDir dir;
  auto env = qtest::HostEnv(dir);
  env["QT_QPA_PLATFORM"] = "";  // the program chooses offscreen itself when it grabs
  // The user's own configuration is neither read nor changed by the pictures.
  qtest::RunResult run =
      qtest::Run(QUILLANE_SETTINGS_PATH, {"--config", dir / "mine", "--grab", dir / "shots"}, env);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(qtest::Exists(dir / "mine"));
  QImage tree(QString::fromStdString(dir / "shots/main-window.png"));
  QImage bar(QString::fromStdString(dir / "shots/main-window-connect-bar.png"));
  ASSERT_FALSE(tree.isNull());
  ASSERT_FALSE(bar.isNull());
  EXPECT_GT(tree.width(), 400);
  EXPECT_GT(tree.height(), 300);
  EXPECT_EQ(tree.size(), bar.size());
  EXPECT_NE(tree, bar);  // the suggestions are drawn over the tree
}

class SettingsStartupPassphrase : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    SetConfigPassphrase(nullptr);
    FreeGlobalConfig();
    VEncryptedString check;
    VReportMessageParams error;
    ASSERT_TRUE(MakeConfigPassphraseCheckValue(u"river", check, error));
    folder_.WriteLines("Global", "S:\"Config Passphrase\"=" + check.ToUtf8() + "\r\n");
  }
  void TearDown() override {
    CloseConfigPassphraseCache();
    SetConfigPassphraseDisabled(false);
    SessionFolderTest::TearDown();
  }
  VRegisteredDialogs dialogs_;
};

TEST_F(SettingsStartupPassphrase, AWrongPassphraseThenCancelEndsTheHostAsCancelled) {
  uitest::MessageBoxRecorder boxes;
  auto seen = uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* d) {
    QTest::keyClicks(d->PassphraseEdit(), QStringLiteral("lake"));
    d->OkButton()->click();  // refused: the dialog stays
    EXPECT_TRUE(d->isVisible());
    d->reject();
  });
  std::string error;
  int exitCode = -1;
  EXPECT_FALSE(settings::SettleHostPassphrase(true, error, exitCode));
  EXPECT_TRUE(*seen);
  EXPECT_EQ(exitCode, settings::kExitCancelled);
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(IsConfigPassphraseSettled());
  EXPECT_EQ(boxes.Shown().size(), 1u);  // the wrong passphrase was said so
}

TEST_F(SettingsStartupPassphrase, TheRightPassphraseStartsAndPicturesNeverAsk) {
  auto seen = uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* d) {
    QTest::keyClicks(d->PassphraseEdit(), QStringLiteral("river"));
    d->OkButton()->click();
  });
  std::string error;
  int exitCode = -1;
  ASSERT_TRUE(settings::SettleHostPassphrase(true, error, exitCode)) << error;
  EXPECT_TRUE(*seen);
  EXPECT_EQ(exitCode, settings::kExitOk);
  EXPECT_EQ(GetConfigPassphrase(), u"river");

  // A run that makes pictures asks nobody: the passphrase is simply not used.
  CloseConfigPassphraseCache();
  SetConfigPassphrase(nullptr);
  ASSERT_TRUE(settings::SettleHostPassphrase(false, error, exitCode)) << error;
  EXPECT_TRUE(IsConfigPassphraseDisabled());
}

}  // namespace
