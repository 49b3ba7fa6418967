// quillane-settings --session and --default-session as a process: their pictures, drawn without
// a display, and the failures they name.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include <QImage>

#include "support/test_support.h"

namespace {

qtest::RunResult Settings(const std::vector<std::string>& args, const qtest::TempDir& dir) {
  auto env = qtest::HostEnv(dir);
  env["QT_QPA_PLATFORM"] = "";  // the program chooses offscreen itself when it grabs
  return qtest::Run(QUILLANE_SETTINGS_PATH, args, env);
}

// A PNG at least as large as a page of the dialog (or as given).
bool IsPicture(const std::string& path, int width = 300, int height = 200) {
  if (qtest::ReadFile(path).substr(0, 8) != "\x89PNG\r\n\x1a\n") return false;
  QImage image(QString::fromStdString(path));
  return image.width() > width && image.height() > height;
}

TEST(SessionWindowTool, GrabWritesOnePictureOfEachPageOfTheSessionsTree) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "config/Sessions/Lab/router1.ini",
                   "\xEF\xBB\xBF" "D:\"Is Session\"=00000001\r\n");
  const std::string before = qtest::ReadFile(dir / "config/Sessions/Lab/router1.ini");
  qtest::RunResult run = Settings(
      {"--config", dir / "config", "--session", "Lab/router1", "--grab", dir / "shots"}, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* name : {"session-options-connection", "session-options-connection-logon-actions",
                           "session-options-terminal", "session-options-terminal-emulation-modes",
                           "session-options-terminal-x-y-zmodem"})
    EXPECT_TRUE(IsPicture(dir / ("shots/" + std::string(name) + ".png"))) << name;
  // Drawing is not editing.
  EXPECT_EQ(qtest::ReadFile(dir / "config/Sessions/Lab/router1.ini"), before);

  run = Settings({"--config", dir / "config", "--default-session", "--grab", dir / "default"}, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(IsPicture(dir / "default/session-options-connection.png"));
  EXPECT_TRUE(IsPicture(dir / "default/session-options-apply-to-all.png", 300, 60));
  EXPECT_FALSE(qtest::Exists(dir / "shots/session-options-apply-to-all.png"));
  EXPECT_NE(QImage(QString::fromStdString(dir / "default/session-options-connection.png")),
            QImage(QString::fromStdString(dir / "shots/session-options-connection.png")));
}

TEST(SessionWindowTool, ASessionThatIsNotThereIsNamedAndNothingIsMade) {
  qtest::TempDir dir;
  qtest::MakeDirs(dir / "config");
  qtest::RunResult run =
      Settings({"--config", dir / "config", "--session", "Lab/none", "--grab", dir / "shots"}, dir);
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("Lab"), std::string::npos) << run.err;
  EXPECT_FALSE(qtest::Exists(dir / "config/Sessions/Lab/none.ini"));
  EXPECT_FALSE(qtest::Exists(dir / "shots/session-options-connection.png"));
}

// Installed as a pair: a copy of quillane-settings beside the transfer application (the test
// sibling carrying the family's version note) and the protocol modules, so that the start-up
// counts the terminal application it edits and finds the transfer one beside it.
std::string InstallPair(const qtest::TempDir& dir) {
  namespace fs = std::filesystem;
  const std::string folder = dir / "install";
  fs::create_directories(folder);
  fs::copy_file(QUILLANE_SETTINGS_PATH, folder + "/quillane-settings");
  fs::copy_file(std::string(QUILLANE_BINARY_DIR) + "/siblings/pair/Lumbrel", folder + "/Lumbrel");
  for (const fs::directory_entry& entry : fs::directory_iterator(QUILLANE_BINARY_DIR)) {
    const fs::path& path = entry.path();
    if (path.extension() == ".so" && path.filename() != "libquillane.so")
      fs::create_symlink(path, folder + "/" + path.filename().string());
  }
  return folder;
}

TEST(SessionWindowTool, GrabDrawsTheWholeTreeOfAnInstalledPair) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "config/Sessions/Lab/router1.ini",
                   "\xEF\xBB\xBF" "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=SSH2\r\n"
                   "S:\"Transfer Protocol Name\"=SFTP\r\n");
  qtest::WriteFile(dir / "config/Global.ini",
                   "\xEF\xBB\xBF" "D:\"Hide Session ANSI Color Page\"=00000000\r\n");
  const std::string folder = InstallPair(dir);
  auto env = qtest::HostEnv(dir);
  env["QT_QPA_PLATFORM"] = "";
  qtest::RunResult run = qtest::Run(
      folder + "/quillane-settings",
      {"--config", dir / "config", "--session", "Lab/router1", "--grab", dir / "shots"}, env);
  ASSERT_EQ(run.status, 0) << run.err;
  std::set<std::string> written;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "shots"))
    written.insert(entry.path().filename().string());
  const std::set<std::string> tree = {
      "session-options-connection.png",
      "session-options-connection-logon-actions.png",
      // the session's protocol, SSH2, hangs its own pages under Connection
      "session-options-connection-ssh2.png",
      "session-options-connection-ssh2-authentication.png",
      "session-options-terminal.png",
      "session-options-terminal-emulation.png",
      "session-options-terminal-emulation-modes.png",
      "session-options-terminal-emulation-emacs.png",
      "session-options-terminal-emulation-mapped-keys.png",
      "session-options-terminal-emulation-advanced.png",
      "session-options-terminal-appearance.png",
      "session-options-terminal-appearance-ansi-color.png",
      "session-options-terminal-appearance-window.png",
      "session-options-terminal-log-file.png",
      "session-options-terminal-printing.png",
      "session-options-terminal-x-y-zmodem.png",
      "session-options-file-transfer.png",
      "session-options-file-transfer-ftp-sftp.png",
      "session-options-file-transfer-advanced.png"};
  EXPECT_EQ(written, tree);
  // One size for every picture: the dialog is as large as its largest page from the first.
  QImage first(QString::fromStdString(dir / "shots/session-options-connection.png"));
  for (const std::string& name : tree) {
    QImage image(QString::fromStdString(dir / ("shots/" + name)));
    EXPECT_EQ(image.size(), first.size()) << name;
  }
}

}  // namespace
