// quillane-settings --session and --default-session as a process: their pictures, drawn without
// a display, and the failures they name.
#include <gtest/gtest.h>

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

}  // namespace
