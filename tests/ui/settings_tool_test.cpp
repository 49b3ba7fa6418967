// quillane-settings as a process: its options, and the pictures of the dialogs it draws without
// a display.
#include <gtest/gtest.h>

#include <QImage>

#include "support/test_support.h"

namespace {

qtest::RunResult Settings(const std::vector<std::string>& args, const qtest::TempDir& dir) {
  auto env = qtest::HostEnv(dir);
  env["QT_QPA_PLATFORM"] = "";  // the program chooses offscreen itself when it grabs
  return qtest::Run(QUILLANE_SETTINGS_PATH, args, env);
}

TEST(SettingsTool, GrabWritesOnePictureOfEachDialog) {
  qtest::TempDir dir;
  qtest::RunResult run = Settings({"--dialog", "all", "--grab", dir / "shots"}, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* name : {"passphrase-create", "passphrase-enter", "passphrase-change",
                           "firewall-username", "firewall-password", "firewall-new",
                           "keyword-list", "filter"}) {
    std::string path = dir / ("shots/" + std::string(name) + ".png");
    ASSERT_EQ(qtest::ReadFile(path).substr(0, 8), "\x89PNG\r\n\x1a\n") << name;
    QImage image(QString::fromStdString(path));
    EXPECT_GT(image.width(), 200) << name;
    EXPECT_GT(image.height(), 80) << name;
  }
  // French texts make a different picture of the same dialog.
  run = Settings({"--lang", "fr", "--dialog", "passphrase-change", "--grab", dir / "fr"}, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(QImage(QString::fromStdString(dir / "fr/passphrase-change.png")),
            QImage(QString::fromStdString(dir / "shots/passphrase-change.png")));
}

TEST(SettingsTool, OptionsAtFaultAreNamed) {
  qtest::TempDir dir;
  struct Case {
    std::vector<std::string> args;
    const char* named;
  } cases[] = {
      {{"--lang", "de"}, "--lang"},
      {{"--config", "a", "--xml", "b"}, "only one of"},
      {{"--registry", "HKXX"}, "--registry"},
      {{"--session", "a", "--colors"}, "only one window"},
      {{"--dialog", "nonsense", "--grab", "x"}, "nonsense"},
      {{"--dialog", "all"}, "--grab"},
      {{"--app", "Other"}, "--app"},
      {{"--grab"}, "needs a value"},
      {{"--frobnicate"}, "--frobnicate"},
  };
  for (const Case& c : cases) {
    qtest::RunResult run = Settings(c.args, dir);
    EXPECT_EQ(run.status, 2) << c.named;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
  }
  qtest::RunResult help = Settings({"--help"}, dir);
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--grab DIR"), std::string::npos);
}

}  // namespace

namespace {

TEST(SettingsTool, GlobalOptionsGrabWritesOnePictureOfEachPage) {
  qtest::TempDir dir;
  qtest::MakeDirs(dir / "config");
  qtest::RunResult run =
      Settings({"--config", dir / "config", "--global-options", "--grab", dir / "shots"}, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* page : {"general", "general-configuration-paths", "general-default-session",
                           "terminal", "terminal-appearance", "terminal-appearance-ansi-color",
                           "terminal-appearance-advanced", "terminal-tabs-tiling",
                           "terminal-printing", "terminal-web-browser", "terminal-tftp-server",
                           "terminal-advanced", "file-transfer", "file-transfer-options",
                           "file-transfer-options-advanced", "file-transfer-view",
                           "file-transfer-ftp", "file-transfer-tls", "file-transfer-sound",
                           "file-transfer-filters", "firewall"}) {
    std::string path = dir / ("shots/global-options-" + std::string(page) + ".png");
    ASSERT_EQ(qtest::ReadFile(path).substr(0, 8), "\x89PNG\r\n\x1a\n") << page;
  }
  // Nothing is saved by pictures.
  EXPECT_FALSE(qtest::Exists(dir / "config/Global.ini"));
}

}  // namespace
