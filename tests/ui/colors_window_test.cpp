// quillane-settings --colors as a process: the pictures of the colour editor drawn without a
// display, over a configuration folder that does not exist yet.
#include <gtest/gtest.h>

#include <QImage>

#include "support/test_support.h"

namespace {

TEST(ColorsWindow, GrabWritesTheEditorInItsThreeViewsAndItsPages) {
  qtest::TempDir dir;
  auto env = qtest::HostEnv(dir);
  env["QT_QPA_PLATFORM"] = "";
  qtest::RunResult run = qtest::Run(
      QUILLANE_SETTINGS_PATH, {"--config", dir / "config", "--colors", "--grab", dir / "shots"}, env);
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* name : {"color-scheme-basic", "color-scheme-advanced", "color-scheme-ansi",
                           "palette-panel", "new-color-scheme", "new-color-palette",
                           "colors-advanced", "colors-ansi-color"}) {
    QImage image(QString::fromStdString(dir / ("shots/" + std::string(name) + ".png")));
    EXPECT_GT(image.width(), 200) << name;
    EXPECT_GT(image.height(), 60) << name;
  }
  // The three views are three different pictures.
  QImage basic(QString::fromStdString(dir / "shots/color-scheme-basic.png"));
  EXPECT_NE(basic, QImage(QString::fromStdString(dir / "shots/color-scheme-advanced.png")));
  EXPECT_NE(basic, QImage(QString::fromStdString(dir / "shots/color-scheme-ansi.png")));
}

}  // namespace
